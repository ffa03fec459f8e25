// Moving the tick settings between the settings and the control window's settings page.
#include <string>

#include "app/Program.h"
#include "control/FieldRules.h"
#include "control/MainWindow.h"
#include "ruler/Ruler.h"

namespace tavrolin {

namespace {

// What the page shows for field `index` holding `value` (counts, twips or pixels).
std::string FieldText(int index, int value, double unit) {
    if (KindOfField(index) == FieldKind::Length) return LengthText(value, unit);
    return std::to_string(value);
}

}  // namespace

void Ruler::ValuesToSettings(const std::string& direction) {
    auto& g = p_.g();
    MainWindow& mw = p_.mainWindow();
    const double unit = g.ConvertLengthToDisplay;
    int* values[11] = {&g.HalfTicks,    &g.PrimaryIndex,    &g.SecondaryIndex, &g.CenterLength,
                       &g.PrimaryLength, &g.SecondaryLength, &g.TickLength,     &g.TickWidth[1],
                       &g.TickWidth[2], &g.TickWidth[3],    &g.TickWidth[4]};
    if (direction == "To") {
        // Filling the page is not the user editing it: the Settings button stays as it is.
        const bool loading = g.SettingsLoading;
        g.SettingsLoading = true;
        for (int i = 0; i < 11; ++i) {
            mw.Text1[static_cast<std::size_t>(i)]->SetText(FieldText(i, *values[i], unit));
        }
        for (int i = 0; i < 4; ++i) {
            mw.TickColor[static_cast<std::size_t>(i)]->SetBackColor(
                g.ColorChoice[static_cast<std::size_t>(1 + i)]);
        }
        mw.ColorBox.SetBackColor(g.ColorChoice[kRulerBackground]);
        g.SettingsLoading = loading;
        return;
    }
    for (int i = 0; i < 11; ++i) {
        const std::string& text = mw.Text1[static_cast<std::size_t>(i)]->Text();
        // An untouched length shows a rounded figure; reading it back would shift the twips.
        if (text == FieldText(i, *values[i], unit)) continue;
        // A field left empty or at nothing acceptable keeps the value in use.
        const auto v = FieldValue(KindOfField(i), text, unit);
        if (!v) continue;
        if (i == 0) {
            // The count follows from the length and the spacing at every load, so a count is
            // kept by setting the spacing that gives it.
            g.TickSpacing = SpacingForHalfTicks(*v, Length(), g.GrabUnit);
            g.HalfTicks = HalfTicksFor(Length(), g.TickSpacing);
        } else {
            *values[i] = *v;
        }
    }
}

}  // namespace tavrolin
