// Which part of a window its changed line shapes need repainted, the same for every backend:
// each line's last painted box is remembered, and a changed line damages where it was and where
// it is now. When more lines change at once than are worth a box each (a ruler rebuild, a scale
// drag), the whole window is repainted instead.
#pragma once

#include <unordered_map>
#include <vector>

#include "forms/Control.h"
#include "forms/PixelScale.h"

namespace tavrolin {

// Pixels of a window: left and top inclusive, right and bottom exclusive.
struct PixelBox {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool Empty() const { return right <= left || bottom <= top; }
};

// What a line covers: its end points, with square caps half the pen beyond each end.
PixelBox LineBox(const Line& line, const PixelScale& scale);

// The pixels a level or plumb line fills: its whole-pixel end points, the pen's width centred
// on them (the extra pixel of an even width before them), and square caps as far past the
// ends. Every line of the ruler and the crosshairs is one, and a filled box is far cheaper than
// a stroke. Empty for a slanted line, which the window system strokes with a pen instead.
PixelBox LineFill(const Line& line, const PixelScale& scale);

// The part of `box` that lies on `desktop` (both in the same window's pixels), and what lies
// beyond it. What is off every screen waits until the window brings it onto one: a ruler may
// be many screens long, and only its part on screen is worth a repaint during a drag.
PixelBox OnDesktop(const PixelBox& box, const PixelBox& desktop);

class LineDamage {
  public:
    // Starts collecting the damage of one showing of the model.
    void Begin();
    // True for a line that was never shown.
    bool IsNew(const Line& line) const { return painted_.find(&line) == painted_.end(); }
    // Notes a line that is new or changed, covering `now` (empty when hidden). A line painted by
    // something else (a frame it stands in) is only remembered.
    void Changed(const Line& line, const PixelBox& now, bool paintedHere = true);
    // The whole window needs repainting.
    bool All() const { return all_; }
    // Otherwise these boxes do.
    const std::vector<PixelBox>& Boxes() const { return boxes_; }
    // The window shows no form any more.
    void Clear();

  private:
    static constexpr int kMostBoxes = 64;
    std::unordered_map<const Line*, PixelBox> painted_;
    std::vector<PixelBox> boxes_;
    int changed_ = 0;
    bool all_ = false;
};

}  // namespace tavrolin
