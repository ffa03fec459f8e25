#include "crosshair/ReadoutWindow.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "app/Program.h"
#include "crosshair/Docking.h"
#include "forms/Backend.h"
#include "platform/WindowServices.h"
#include "ruler/Ruler.h"
#include "settings/NumberText.h"

namespace tavrolin {

ReadoutWindow::ReadoutWindow(Program& program, const std::string& name)
    : Form(program.backend(), name), p_(program) {
    // Borderless: a title bar would let the window manager drag the window, and a drop there
    // could never dock the pair. Every drag goes through the text boxes instead.
    SetBorder(BorderStyle::None);
    SetBackColor(0xFFFFFF);
    SetKeyPreview(true);
}

void ReadoutWindow::DragBy(TextBox& box) {
    box.onMouseDown = [this](int, int, double x, double y) {
        StartX = RoundHalfEven(x);
        StartY = RoundHalfEven(y);
        p_.backend().SetMousePointer(kPointerSizePointer);
    };
    box.onMouseMove = [this](int button, int, double x, double y) {
        if ((button & kLeftButton) == 0) return;
        const std::int32_t dragX = RoundHalfEven(x) - StartX;
        const std::int32_t dragY = RoundHalfEven(y) - StartY;
        const double tpp = p_.TwipsPerPixelX();
        if (std::abs(dragX) > tpp || std::abs(dragY) > tpp) {
            SetTop(RoundHalfEven(Top() + dragY));
            SetLeft(RoundHalfEven(Left() + dragX));
        }
    };
    box.onMouseUp = [this, &box](int, int, double, double) {
        p_.backend().SetMousePointer(kPointerDefault);
        Released(box);
        if (OverRuler()) DockPair();
    };
}

bool ReadoutWindow::OverRuler() const {
    Ruler& ruler = p_.ruler();
    if (!ruler.Loaded() || !ruler.Visible()) return false;
    const double cx = Left() + Width() / 2;
    const double cy = Top() + Height() / 2;
    return cx >= ruler.Left() && cx < ruler.Left() + ruler.Width() && cy >= ruler.Top() &&
           cy < ruler.Top() + ruler.Height();
}

void ReadoutWindow::PlaceBeside(const std::array<std::int32_t, 2>& xs,
                                const std::array<std::int32_t, 2>& ys, double size,
                                std::int32_t xOff, std::int32_t yOff) {
    const double tpp = p_.TwipsPerPixelX();
    const double w = Width(), h = Height();
    // Centred on the midpoint of the pair.
    double left = (static_cast<double>(xs[0]) + xs[1] + size) / 2 - w / 2;
    double top = (static_cast<double>(ys[0]) + ys[1] + size) / 2 - h / 2;

    // Clear of both crosshairs by a few pixels: on a short or level pair the midpoint lies on
    // or between them, so the window goes below the lower one, or above the upper one where
    // the screen ends first.
    const double gap = 4 * tpp;
    auto overlaps = [&](double l, double t) {
        for (std::size_t k = 0; k < 2; ++k) {
            if (l < xs[k] + size + gap && xs[k] - gap < l + w && t < ys[k] + size + gap &&
                ys[k] - gap < t + h) {
                return true;
            }
        }
        return false;
    };
    if (overlaps(left, top)) {
        const double below = std::max(ys[0], ys[1]) + size + gap;
        const double above = std::min(ys[0], ys[1]) - gap - h;
        const auto& g = p_.g();
        const bool room = g.VirtualScreenHeight <= 0 || below + h <= g.VirtualScreenHeight;
        top = (room || above < 0) ? below : above;
    }
    Move(RoundHalfEven(left + xOff), RoundHalfEven(top + yOff));
}

void ReadoutWindow::Form_KeyDown(int& keyCode, int& shift) {
    if (BoxTakesKey(keyCode)) return;
    std::int32_t dx = 0, dy = 0;
    ArrowOffset(keyCode, Left(), Top(), p_.TwipsPerPixelX(), dx, dy);
    if (dx != 0 || dy != 0) {
        Move(RoundHalfEven(Left() + dx), RoundHalfEven(Top() + dy));
        keyCode = 0;  // a nudge, not a caret move in the box
    } else if (ShiftAlone(keyCode, shift)) {
        BlinkAndFocus(p_, NextInCycle(), 200);
    }
}

}  // namespace tavrolin
