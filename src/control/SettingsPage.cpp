// The settings page of the control window: the tick fields, the length unit and the colour
// swatches that open the picker.
#include "app/Program.h"
#include "control/FieldRules.h"
#include "control/MainWindow.h"
#include "picker/PickColor.h"
#include "ruler/Ruler.h"

namespace tavrolin {

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
    Ruler& ruler = p_.ruler();
    g.SettingsLoading = true;
    // Lengths typed and not yet applied are kept: they are read in the old unit first.
    ruler.ValuesToSettings("From");
    g.ConvertLengthToDisplay = g.ConvertLengthToDisplay == kMillimetreTwips ? kInchTwips
                                                                            : kMillimetreTwips;
    Label1[9]->SetCaption(g.ConvertLengthToDisplay == kMillimetreTwips ? "Length\nMM"
                                                                        : "Length\nInches");
    ruler.ValuesToSettings("To");
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
            ColorBox.SetBackColor(chosen);
            ruler.SetBackColor(chosen);
            // Marks that stood out on the old background may not on the new one.
            ruler.SetMarkerColors();
        } else {
            TickColor[static_cast<std::size_t>(item - 1)]->SetBackColor(chosen);
            ruler.ReDrawTicks();
        }
    });
}

}  // namespace tavrolin
