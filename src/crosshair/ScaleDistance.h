// The read-out beside the scale crosshairs: the scale-bar length, which the user may type here
// as well as in the control window, and whose pair calibrates user units.
#pragma once

#include <cstdint>

#include "crosshair/ReadoutWindow.h"

namespace tavrolin {

class Program;

class ScaleDistance : public ReadoutWindow {
public:
    explicit ScaleDistance(Program& program);

    void Form_Load() override;
    // Recalibrates user units from the pair and places the window beside it.
    void Update();
    // Places the window beside the pair it measures.
    void Shift(std::int32_t xOff, std::int32_t yOff);

    void Distance_KeyPress(int& keyAscii);
    void Distance_Change();

    // Distance is bold while the pair stands exactly level or plumb: the bar is then measured
    // along one axis only.
    TextBox& Distance;
    TextBox& HiddenBox;

protected:
    void DockPair() override;
    Form& NextInCycle() override;
    bool BoxTakesKey(int keyCode) const override;
};

}  // namespace tavrolin
