// What the two crosshair read-outs share: they sit beside their pair, move with a drag on their
// text or with the arrow keys, pass the focus on with Shift, and dock their pair when dropped
// on the ruler.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "forms/Form.h"

namespace tavrolin {

class Program;

class ReadoutWindow : public Form {
public:
    void Form_KeyDown(int& keyCode, int& shift) override;

    std::int32_t StartX = 0;  // press position on a box, whole twips
    std::int32_t StartY = 0;

protected:
    ReadoutWindow(Program& program, const std::string& name);

    // Makes `box` the handle the window is dragged by.
    void DragBy(TextBox& box);
    // Centres the window between two crosshairs of side `size` (corners in twips), moves it
    // clear of them, then by the offset.
    void PlaceBeside(const std::array<std::int32_t, 2>& xs, const std::array<std::int32_t, 2>& ys,
                     double size, std::int32_t xOff, std::int32_t yOff);
    // Docks the pair and lays it back onto its markers on the ruler.
    virtual void DockPair() = 0;
    virtual Form& NextInCycle() = 0;
    // True where a key is the box's own, not a nudge of the window.
    virtual bool BoxTakesKey(int /*keyCode*/) const { return false; }
    // A released drag may have asked for the whole text to be selected.
    virtual void Released(TextBox& /*box*/) {}

    Program& p_;

private:
    bool OverRuler() const;
};

}  // namespace tavrolin
