#include "crosshair/ScaleDistance.h"

#include "app/Program.h"
#include "control/Calibrations.h"
#include "control/MainWindow.h"
#include "crosshair/Crosshair.h"
#include "crosshair/Docking.h"
#include "crosshair/Measure.h"
#include "platform/WindowServices.h"
#include "ruler/Ruler.h"
#include "settings/NumberText.h"

namespace tavrolin {

ScaleDistance::ScaleDistance(Program& program)
    : ReadoutWindow(program, "ScaleDistance"),
      Distance(Add<TextBox>("Distance")),
      HiddenBox(Add<TextBox>("HiddenBox")) {
    SetCaption("Scale Distance");
    const double tpp = program.TwipsPerPixelY();
    Move(0, 0, 1500, 20 * tpp);
    Distance.Move(0, 0, 1500, 20 * tpp);
    Distance.SetToolTipText(
        "Drag onto ruler to dock crosshairs.  Use Arrow keys and Shift for precise positioning.");
    Distance.onKeyPress = [this](int& k) { Distance_KeyPress(k); };
    Distance.onChange = [this] { Distance_Change(); };
    DragBy(Distance);
    HiddenBox.SetLocked(true);
    HiddenBox.Move(-1000, -1000, 15, 15);
}

void ScaleDistance::Form_Load() { MakeTopmost(p_.platform(), *this); }

void ScaleDistance::Distance_KeyPress(int& keyAscii) {
    const bool digit = keyAscii >= '0' && keyAscii <= '9';
    if (!digit && keyAscii != '.' && keyAscii != kKeyBack) keyAscii = 0;
}

void ScaleDistance::Distance_Change() {
    std::string text = Distance.Text();
    if (!text.empty() && text.front() == ' ') {
        text.erase(0, 1);
        Distance.SetText(text);  // runs this handler again with the blank gone
        return;
    }
    p_.mainWindow().ShowScaleDistance(text);
    const double w = TextWidth(Distance.Text()) + 100 + p_.TwipsPerPixelY() * 6;
    Distance.SetWidth(w);
    SetWidth(w);
}

bool ScaleDistance::BoxTakesKey(int keyCode) const {
    // Keypad digits type the scale length here; only the arrow keys nudge the window.
    return keyCode >= 96 && keyCode <= 105;
}

void ScaleDistance::Update() {
    auto& g = p_.g();
    Distance.SetVisible(true);
    if (!g.ScaleCrossActive || g.MeasUnitsIndex != 4) return;
    DockScaleCrosshairs(p_, false);
    const double dx = static_cast<double>(std::int64_t{g.ScaleX[0]} - g.ScaleX[1]);
    const double dy = static_cast<double>(std::int64_t{g.ScaleY[0]} - g.ScaleY[1]);
    Distance.SetFontBold(dx * dx < 1e-07 || dy * dy < 1e-07);
    if (!NamedCalibrationHolds(p_)) {
        g.PixelsPerUnit = CalibrateUnits(g.ScaleX[0], g.ScaleY[0], g.ScaleX[1], g.ScaleY[1],
                                         p_.TwipsPerPixelX(), g.ScaleBarLength);
    }
    Shift(0, 0);
    p_.mainWindow().MeasureDist_Update(true);
}

void ScaleDistance::Shift(std::int32_t xOff, std::int32_t yOff) {
    const auto& g = p_.g();
    PlaceBeside(g.ScaleX, g.ScaleY, p_.scale0().Width(), xOff, yOff);
}

void ScaleDistance::DockPair() {
    auto& g = p_.g();
    DockScaleCrosshairs(p_, true);
    Ruler& ruler = p_.ruler();
    ruler.SetMarker(2, g.MarkerPos[2], true);
    ruler.SetMarker(3, g.MarkerPos[3], true);
}

Form& ScaleDistance::NextInCycle() { return p_.scale0(); }

}  // namespace tavrolin
