#include "crosshair/CrossDistance.h"

#include "app/Program.h"
#include "control/MainWindow.h"
#include "control/MonitorScales.h"
#include "crosshair/Crosshair.h"
#include "crosshair/Docking.h"
#include "crosshair/Measure.h"
#include "platform/WindowServices.h"
#include "ruler/Ruler.h"

namespace tavrolin {

namespace {
constexpr const char* kTip =
    "Drag onto ruler to dock crosshairs.  Double click to select text.  Use Arrow keys and "
    "Shift for precise positioning.";
}  // namespace

CrossDistance::CrossDistance(Program& program)
    : ReadoutWindow(program, "CrossDistance"),
      Distance(Add<TextBox>("Distance")),
      DistanceXYD(Add<TextBox>("DistanceXYD")),
      HiddenBox(Add<TextBox>("HiddenBox")) {
    SetCaption("Crosshair Distance");
    const double tpp = program.TwipsPerPixelY();
    Move(0, 0, 1500, 20 * tpp);
    for (TextBox* box : {&Distance, &DistanceXYD}) {
        // Read-only, but the user may select the figures and copy them.
        box->SetLocked(true);
        box->SetToolTipText(kTip);
        box->Move(0, 0, 1500, 20 * tpp);
        DragBy(*box);
        box->onDblClick = [box] { box->SetFlag(true); };
    }
    DistanceXYD.SetMultiLine(true);
    DistanceXYD.SetVisible(false);
    HiddenBox.SetLocked(true);
    HiddenBox.Move(-1000, -1000, 15, 15);
}

void CrossDistance::Form_Load() { MakeTopmost(p_.platform(), *this); }

void CrossDistance::Update() {
    auto& g = p_.g();
    if (!g.CrossActive) return;
    const PairMeasure m = MeasurePair(g.CrossX[0], g.CrossY[0], g.CrossX[1], g.CrossY[1],
                                      p_.TwipsPerPixelX(),
                                      CrossUnitPixels(p_), g.UnitsCode);
    MainWindow& mw = p_.mainWindow();
    TextBox* shown = &Distance;
    TextBox* hidden = &DistanceXYD;
    if (!m.valid) {
        Distance.SetText("Invalid");
        mw.ShowDistance("Green Mark Distance = 0");
    } else if (m.full) {
        std::swap(shown, hidden);
        DistanceXYD.SetText(m.ReadoutText());
        mw.ShowDistance(m.panelText);
    } else {
        Distance.SetText(m.dText);
        mw.ShowDistance(m.panelText);
    }
    shown->SetVisible(true);
    hidden->SetVisible(false);

    // Room for a real editor's frame and margins: a multi-line editor keeps four pixels of
    // margin all round and would wrap "D: 500.0" or scroll rather than grow.
    const double tpp = p_.TwipsPerPixelY();
    const double padX = (shown == &DistanceXYD ? 16 : 6) * tpp;
    const double padY = (shown == &DistanceXYD ? 14 : 6) * tpp;
    shown->SetHeight(TextHeight(shown->Text()) + padY);
    shown->SetWidth(TextWidth(shown->Text()) + 100 + padX);
    Move(Left(), Top(), shown->Width(), shown->Height());
    Shift(0, 0);
    SetVisible(true);
}

void CrossDistance::Shift(std::int32_t xOff, std::int32_t yOff) {
    const auto& g = p_.g();
    PlaceBeside(g.CrossX, g.CrossY, p_.cross0().Width(), xOff, yOff);
}

void CrossDistance::Released(TextBox& box) {
    if (!box.Flag()) return;
    box.SetFlag(false);
    box.SetSelection(0, static_cast<int>(box.Text().size()));
}

void CrossDistance::DockPair() {
    auto& g = p_.g();
    DockCrosshairs(p_, true);
    Ruler& ruler = p_.ruler();
    ruler.SetMarker(0, g.MarkerPos[0], true);
    ruler.SetMarker(1, g.MarkerPos[1], true);
}

Form& CrossDistance::NextInCycle() { return p_.cross0(); }

}  // namespace tavrolin
