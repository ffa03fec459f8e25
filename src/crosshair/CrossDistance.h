// The read-out beside a pair of crosshairs.
#pragma once

#include <cstdint>

#include "forms/Form.h"

namespace tavrolin {

class Program;

class CrossDistance : public Form {
public:
    explicit CrossDistance(Program& program);

    void Form_Load() override;
    // Recomputes and shows the distance of the pair.
    void Update();
    // Places the window beside the pair it measures.
    void Shift(std::int32_t xOff, std::int32_t yOff);

    TextBox& Distance;
    TextBox& HiddenBox;

private:
    Program& p_;
};

}  // namespace tavrolin
