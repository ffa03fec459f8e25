// One crosshair window: a small square with a black cross, in the crosshair colour. Cross0 and
// Cross1 measure; Scale0 and Scale1 calibrate user units on a scale bar.
#pragma once

#include <cstdint>

#include "forms/Form.h"

namespace tavrolin {

class Program;

class Crosshair : public Form {
public:
    enum class Kind { Cross, Scale };
    Crosshair(Program& program, Kind kind, int index);

    Kind PairKind() const { return kind_; }
    int PairIndex() const { return index_; }

    void Form_Load() override;

    // Size in pixels: 11 docked on the ruler, 25 in use.
    void SetSize(int size);
    // Moves the window by whole twips.
    void Step(std::int32_t& xOff, std::int32_t& yOff);

    Line& Line1;
    Line& Line2;
    TextBox* MyToolTip = nullptr;  // on the first window of a pair only
    TextBox* HiddenBox = nullptr;

private:
    Program& p_;
    Kind kind_;
    int index_;
};

}  // namespace tavrolin
