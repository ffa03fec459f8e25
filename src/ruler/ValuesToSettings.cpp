// Moving the tick settings between the settings and the control window's settings page.
#include <cmath>

#include "app/Program.h"
#include "control/MainWindow.h"
#include "ruler/Ruler.h"
#include "settings/NumberText.h"

namespace tavrolin {

void Ruler::ValuesToSettings(const std::string& direction) {
    auto& g = p_.g();
    MainWindow& mw = p_.mainWindow();
    const double unit = g.ConvertLengthToDisplay;
    int* counts[3] = {&g.HalfTicks, &g.PrimaryIndex, &g.SecondaryIndex};
    int* lengths[4] = {&g.CenterLength, &g.PrimaryLength, &g.SecondaryLength, &g.TickLength};
    if (direction == "To") {
        for (int i = 0; i < 3; ++i) mw.Text1[static_cast<std::size_t>(i)]->SetText(std::to_string(*counts[i]));
        for (int i = 0; i < 4; ++i) {
            mw.Text1[static_cast<std::size_t>(3 + i)]->SetText(ShortestDecimal(
                std::round(*lengths[i] / unit * 100) / 100));
            mw.Text1[static_cast<std::size_t>(7 + i)]->SetText(
                std::to_string(g.TickWidth[static_cast<std::size_t>(1 + i)]));
            mw.TickColor[static_cast<std::size_t>(i)]->SetBackColor(
                g.ColorChoice[static_cast<std::size_t>(1 + i)]);
        }
        mw.ColorBox.SetBackColor(g.ColorChoice[kRulerBackground]);
        return;
    }
    for (int i = 0; i < 3; ++i) {
        const double v = Val(mw.Text1[static_cast<std::size_t>(i)]->Text());
        if (v >= 1 && v <= 32767) *counts[i] = RoundHalfEven(v);
    }
    for (int i = 0; i < 4; ++i) {
        const double v = Val(mw.Text1[static_cast<std::size_t>(3 + i)]->Text()) * unit;
        if (v >= 0 && v <= 32767) *lengths[i] = RoundHalfEven(v);
        const double w = Val(mw.Text1[static_cast<std::size_t>(7 + i)]->Text());
        if (w >= 1 && w <= 100) g.TickWidth[static_cast<std::size_t>(1 + i)] = RoundHalfEven(w);
    }
}

}  // namespace tavrolin
