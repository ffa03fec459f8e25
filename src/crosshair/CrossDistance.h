// "Crosshair Distance": the read-out beside the measurement crosshairs. One line with the
// direct distance while the pair is level or plumb, else X, Y, D and the angle.
#pragma once

#include <cstdint>

#include "crosshair/ReadoutWindow.h"

namespace tavrolin {

class Program;

class CrossDistance : public ReadoutWindow {
public:
    explicit CrossDistance(Program& program);

    void Form_Load() override;
    // Recomputes and shows the distance of the pair.
    void Update();
    // Places the window beside the pair it measures.
    void Shift(std::int32_t xOff, std::int32_t yOff);

    TextBox& Distance;
    TextBox& DistanceXYD;
    TextBox& HiddenBox;

protected:
    void DockPair() override;
    Form& NextInCycle() override;
    void Released(TextBox& box) override;
};

}  // namespace tavrolin
