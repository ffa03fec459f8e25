// The settings page of the control window: the tick fields, the length unit and the colour
// swatches that open the picker.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/Program.h"
#include "control/FieldRules.h"
#include "control/MainWindow.h"
#include "control/MonitorScales.h"
#include "forms/Backend.h"
#include "forms/PixelScale.h"
#include "picker/PickColor.h"
#include "ruler/Ruler.h"

namespace tavrolin {

namespace {

// What the page shows for field `index` holding `value` (counts, twips or pixels).
std::string FieldText(int index, int value, double unit) {
    if (KindOfField(index) == FieldKind::Length) return LengthText(value, unit);
    return std::to_string(value);
}

std::string Fixed(double v, int decimals) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    return buf;
}

}  // namespace

void MainWindow::ShowMonitors(bool fillBox) {
    const std::vector<MonitorReading> readings = MonitorReadings(p_);
    MonitorList.cellText = [readings](std::size_t row, std::size_t column) -> std::string {
        if (row >= readings.size()) return {};
        const MonitorReading& r = readings[row];
        if (column == 0) {
            return std::to_string(row + 1) + ": " + std::to_string(r.bounds.width) + "x" +
                   std::to_string(r.bounds.height);
        }
        return Fixed(r.pixelsPer100mm, 1) + (r.set ? " (set)" : " (" + Fixed(r.dpi, 0) + " dpi)");
    };
    monitorEcho_ = true;
    std::size_t chosen = 0;
    if (MonitorList.SelectedCount() > 0) {
        chosen = MonitorList.SelectedRows().front();
    } else {
        // The monitor the control window is on.
        const PixelScale s(p_.TwipsPerPixelX(), p_.TwipsPerPixelY());
        const int x = s.ToPixelsX(Left() + Width() / 2), y = s.ToPixelsY(Top() + Height() / 2);
        for (std::size_t i = 0; i < readings.size(); ++i) {
            if (readings[i].bounds.Contains(x, y)) chosen = i;
        }
    }
    MonitorList.RowsReset(readings.size());
    if (chosen < readings.size()) MonitorList.SetSelectedRows({chosen});
    if (fillBox) {
        const bool set = chosen < readings.size() && readings[chosen].set;
        MonitorBox.SetText(set ? Fixed(readings[chosen].pixelsPer100mm, 1) : "");
        MonitorBox.SetEnabled(!readings.empty());
    }
    monitorEcho_ = false;
}

void MainWindow::MonitorList_Change() {
    if (monitorEcho_) return;
    ShowMonitors();
}

void MainWindow::MonitorBox_Change() {
    if (monitorEcho_ || MonitorList.SelectedCount() == 0) return;
    const std::string& text = MonitorBox.Text();
    char* end = nullptr;
    const double v = text.empty() ? 0 : std::strtod(text.c_str(), &end);
    // Figures on their way to a value are let be; a value is taken once it makes sense.
    if (!text.empty() && (*end != '\0' || !(v >= kMinPixelsPer100mm && v <= kMaxPixelsPer100mm))) {
        return;
    }
    const std::string problem = SetMonitorScale(p_, MonitorList.SelectedRows().front(), v);
    MonitorLbl.SetForeColor(problem.empty() ? 0 : RGB(192, 0, 0));
    MonitorLbl.SetCaption(problem.empty() ? "Pixels per 100 mm:" : "Not kept in a file:");
    MonitorLbl.SetToolTipText(problem);
    // The box keeps what the user is typing.
    ShowMonitors(false);
    MeasureDist_Update(true);
}

void MainWindow::ValuesToSettings(const std::string& direction) {
    auto& g = p_.g();
    const double unit = g.ConvertLengthToDisplay;
    int* values[11] = {&g.HalfTicks,    &g.PrimaryIndex,    &g.SecondaryIndex, &g.CenterLength,
                       &g.PrimaryLength, &g.SecondaryLength, &g.TickLength,     &g.TickWidth[1],
                       &g.TickWidth[2], &g.TickWidth[3],    &g.TickWidth[4]};
    if (direction == "To") {
        // Filling the page is not the user editing it: the Settings button stays as it is.
        const bool loading = g.SettingsLoading;
        g.SettingsLoading = true;
        for (int i = 0; i < 11; ++i) {
            Text1[static_cast<std::size_t>(i)]->SetText(FieldText(i, *values[i], unit));
        }
        for (int i = 0; i < 4; ++i) {
            TickColor[static_cast<std::size_t>(i)]->SetBackColor(
                g.ColorChoice[static_cast<std::size_t>(1 + i)]);
        }
        ColorBox.SetBackColor(g.ColorChoice[kRulerBackground]);
        g.SettingsLoading = loading;
        return;
    }
    const double length = p_.ruler().Length();
    for (int i = 0; i < 11; ++i) {
        const std::string& text = Text1[static_cast<std::size_t>(i)]->Text();
        // An untouched length shows a rounded figure; reading it back would shift the twips.
        if (text == FieldText(i, *values[i], unit)) continue;
        // A field left empty or at nothing acceptable keeps the value in use.
        const auto v = FieldValue(KindOfField(i), text, unit);
        if (!v) continue;
        if (i == 0) {
            // The count follows from the length and the spacing at every load, so a count is
            // kept by setting the spacing that gives it.
            g.TickSpacing = SpacingForHalfTicks(*v, length, g.GrabUnit);
            g.HalfTicks = HalfTicksFor(length, g.TickSpacing);
        } else {
            *values[i] = *v;
        }
    }
}

void MainWindow::ShowConfigFileName() {
    const auto& g = p_.g();
    SysFile.SetCaption("Using: " + g.ConfigBaseName + ".cfg" +
                       (g.NotSavedReason.empty() ? "" : " (not saved)"));
}

void MainWindow::ShowLengthUnit() {
    Label1[9]->SetCaption(p_.g().ConvertLengthToDisplay != kInchTwips ? "Length\nMM"
                                                                        : "Length\nInches");
}

void MainWindow::ShowItemColor(int item, Color color) {
    if (item == kRulerBackground) {
        ColorBox.SetBackColor(color);
    } else if (item >= kCenterTick && item <= kOtherTicks) {
        TickColor[static_cast<std::size_t>(item - 1)]->SetBackColor(color);
    }
}

void MainWindow::Text1_KeyPress(int index, int& keyAscii) {
    if (!FieldKeyAllowed(KindOfField(index), keyAscii)) keyAscii = 0;
}

void MainWindow::Text1_Change(int index) {
    if (fieldEcho_ || index < 0 || index > 10) return;
    auto& g = p_.g();
    const auto i = static_cast<std::size_t>(index);
    TextBox& box = *Text1[i];
    // A paste can bring what the key filter would have stopped.
    if (!FieldTextPossible(KindOfField(index), box.Text(), g.ConvertLengthToDisplay)) {
        fieldEcho_ = true;
        box.SetText(LastFieldText[i]);
        fieldEcho_ = false;
        return;
    }
    LastFieldText[i] = box.Text();
    // The program filling the page is no edit of the user's.
    if (g.SettingsLoading || g.StartingUp) return;
    Settings.SetCaption("Apply");
    Settings.SetBackColor(kHighlightColor);
}

void MainWindow::Label1_Click(int index) {
    // Only the "Length" header switches the unit.
    if (index != 9) return;
    auto& g = p_.g();
    g.SettingsLoading = true;
    // Lengths typed and not yet applied are kept: they are read in the old unit first.
    ValuesToSettings("From");
    g.ConvertLengthToDisplay = g.ConvertLengthToDisplay == kMillimetreTwips ? kInchTwips
                                                                            : kMillimetreTwips;
    ShowLengthUnit();
    ValuesToSettings("To");
    g.SettingsLoading = false;
}

void MainWindow::ColorBox_Click() { PickItemColor(kRulerBackground); }

void MainWindow::TickColor_Click(int index) {
    if (index < 0 || index > 3) return;
    PickItemColor(kCenterTick + index);
}

void MainWindow::PickItemColor(int item) {
    tavrolin::PickItemColor(p_, item, [this, item](Color chosen) {
        Ruler& ruler = p_.ruler();
        if (item == kRulerBackground) {
            ShowItemColor(item, chosen);
            ruler.SetBackColor(chosen);
            // Marks that stood out on the old background may not on the new one.
            ruler.SetMarkerColors();
        } else {
            ShowItemColor(item, chosen);
            ruler.ReDrawTicks();
        }
    });
}

}  // namespace tavrolin
