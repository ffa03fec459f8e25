#include "forms/LineDamage.h"

#include <algorithm>

namespace tavrolin {

PixelBox LineBox(const Line& line, const PixelScale& scale) {
    const int ax = scale.ToPixelsX(line.X1()), ay = scale.ToPixelsY(line.Y1());
    const int bx = scale.ToPixelsX(line.X2()), by = scale.ToPixelsY(line.Y2());
    const int pad = line.BorderWidth() / 2 + 1;
    return PixelBox{std::min(ax, bx) - pad, std::min(ay, by) - pad, std::max(ax, bx) + pad + 1,
                    std::max(ay, by) + pad + 1};
}

PixelBox LineFill(const Line& line, const PixelScale& scale) {
    const int ax = scale.ToPixelsX(line.X1()), ay = scale.ToPixelsY(line.Y1());
    const int bx = scale.ToPixelsX(line.X2()), by = scale.ToPixelsY(line.Y2());
    if (ax != bx && ay != by) return PixelBox{};
    const int w = line.BorderWidth();
    return PixelBox{std::min(ax, bx) - w / 2, std::min(ay, by) - w / 2,
                    std::max(ax, bx) + (w - 1) / 2 + 1, std::max(ay, by) + (w - 1) / 2 + 1};
}

PixelBox OnDesktop(const PixelBox& box, const PixelBox& desktop) {
    const PixelBox r{std::max(box.left, desktop.left), std::max(box.top, desktop.top),
                     std::min(box.right, desktop.right), std::min(box.bottom, desktop.bottom)};
    return r.Empty() ? PixelBox{} : r;
}

void LineDamage::Begin() {
    boxes_.clear();
    changed_ = 0;
    all_ = false;
}

void LineDamage::Changed(const Line& line, const PixelBox& now, bool paintedHere) {
    PixelBox& was = painted_[&line];
    if (paintedHere && !all_) {
        if (++changed_ > kMostBoxes) {
            all_ = true;
            boxes_.clear();
        } else {
            if (!was.Empty()) boxes_.push_back(was);
            if (!now.Empty()) boxes_.push_back(now);
        }
    }
    was = now;
}

void LineDamage::Clear() {
    painted_.clear();
    Begin();
}

}  // namespace tavrolin
