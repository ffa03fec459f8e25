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
