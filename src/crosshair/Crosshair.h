// One crosshair window: a small square with a black cross, in the crosshair colour. Cross0 and
// Cross1 measure; Scale0 and Scale1 calibrate user units on a scale bar.
#pragma once

#include <cstdint>

#include "crosshair/EdgeWalk.h"
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
    void Form_MouseDown(int button, int shift, double x, double y) override;
    void Form_MouseMove(int button, int shift, double x, double y) override;
    void Form_MouseUp(int button, int shift, double x, double y) override;
    void Form_DblClick() override;
    void Form_KeyDown(int& keyCode, int& shift) override;
    void Form_KeyPress(int& keyAscii) override;
    void Form_Activate() override;

    // Size in pixels: 11 docked on the ruler, 25 in use.
    void SetSize(int size);
    // Moves the window by whole twips.
    void Step(std::int32_t& xOff, std::int32_t& yOff);
    // While the loupe is on and the pair is in use, only four corner brackets of the window
    // are there: its centre, and the row and the column through it, show the image beneath.
    void ShowShape();
    // The desktop pixel the cross marks: the bars stand on the pixel left of and above the
    // window's middle.
    PixelPoint CentrePixel() const;

    Line& Line1;
    Line& Line2;
    TextBox* MyToolTip = nullptr;  // on the first window of a pair only
    TextBox* HiddenBox = nullptr;

    // The pointer shown over this window: size-all while docked, the arrow while in use.
    int MousePointer = kPointerSizePointer;

    // The press position and the displacement of the running drag, whole twips.
    std::int32_t StartX = 0;
    std::int32_t StartY = 0;
    std::int32_t DragX = 0;
    std::int32_t DragY = 0;

private:
    // Stores the window's corner for the arithmetic and refreshes the pair's read-out.
    void Moved();
    void DockSwitch(bool flag);
    bool InUse() const;
    // Ctrl with an arrow while the loupe is on: to the next edge of the image in the direction
    // of (dx, dy), whose signs are the arrow's.
    void JumpToEdge(std::int32_t dx, std::int32_t dy);
    Form& NextInCycle();

    Program& p_;
    Kind kind_;
    int index_;
};

}  // namespace tavrolin
