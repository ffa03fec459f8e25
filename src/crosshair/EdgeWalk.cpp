#include "crosshair/EdgeWalk.h"

#include <algorithm>
#include <cstdlib>

#include "forms/Form.h"
#include "forms/PixelScale.h"

namespace tavrolin {

namespace {

int Channel(std::uint32_t colour, int shift) { return static_cast<int>((colour >> shift) & 0xFFu); }

// Marks the part of a rectangle (desktop pixels, right and bottom exclusive) that lies in the
// mask.
void Mark(PixelMask& mask, int left, int top, int right, int bottom, std::uint8_t value) {
    const int x0 = std::max(left, mask.left), x1 = std::min(right, mask.left + mask.width);
    const int y0 = std::max(top, mask.top), y1 = std::min(bottom, mask.top + mask.height);
    for (int y = y0; y < y1; ++y) {
        const auto row =
            static_cast<std::size_t>(y - mask.top) * static_cast<std::size_t>(mask.width);
        for (int x = x0; x < x1; ++x) {
            mask.covered[row + static_cast<std::size_t>(x - mask.left)] = value;
        }
    }
}

}  // namespace

int ColourDistance(std::uint32_t a, std::uint32_t b) {
    // Each channel as an int before subtracting: 0 - 255 in bytes would wrap to 1.
    return std::abs(Channel(a, 16) - Channel(b, 16)) + std::abs(Channel(a, 8) - Channel(b, 8)) +
           std::abs(Channel(a, 0) - Channel(b, 0));
}

PixelMask OwnPixels(const Backend& backend, int left, int top, int width, int height) {
    PixelMask mask;
    mask.left = left;
    mask.top = top;
    mask.width = std::max(0, width);
    mask.height = std::max(0, height);
    const Screen& screen = backend.screen();
    // Monitors and windows in pixels as the window systems place them (a window at least one
    // pixel wide and high).
    const PixelScale s(screen.TwipsPerPixelX, screen.TwipsPerPixelY);
    mask.covered.assign(
        static_cast<std::size_t>(mask.width) * static_cast<std::size_t>(mask.height),
        screen.Monitors.empty() ? 0 : 1);
    for (const PixelBounds& m : MonitorsInPixels(screen)) {
        Mark(mask, m.left, m.top, m.left + m.width, m.top + m.height, 0);
    }
    for (const Form* f : backend.StackingOrder()) {
        const int x = s.ToPixelsX(f->Left()), y = s.ToPixelsY(f->Top());
        if (f->Shape().empty()) {
            Mark(mask, x, y, x + std::max(1, s.ToPixelsX(f->Width())),
                 y + std::max(1, s.ToPixelsY(f->Height())), 1);
            continue;
        }
        // A shaped window covers only its parts, placed as the window systems place them.
        for (const ScreenRect& part : f->Shape()) {
            const int px = x + s.ToPixelsX(part.Left), py = y + s.ToPixelsY(part.Top);
            Mark(mask, px, py, px + s.ToPixelsX(part.Width), py + s.ToPixelsY(part.Height), 1);
        }
    }
    return mask;
}

std::optional<PixelPoint> FindEdge(const ScreenPixels& pixels, const PixelMask& own,
                                   PixelPoint start, int dx, int dy, int tolerance, int limit) {
    if (std::abs(dx) + std::abs(dy) != 1 || !pixels.Read()) return std::nullopt;
    auto at = [&](int step) { return PixelPoint{start.x + step * dx, start.y + step * dy}; };
    auto inside = [&](PixelPoint p) {
        return p.x >= pixels.left && p.y >= pixels.top && p.x < pixels.left + pixels.width &&
               p.y < pixels.top + pixels.height;
    };
    if (!inside(start) || own.Covered(start.x, start.y)) return std::nullopt;
    const std::uint32_t from = pixels.At(start.x, start.y);
    // How far the pixel `step` pixels on is from the start colour; -1 where the walk cannot
    // know (beyond what was read), -2 where what was read is not the image.
    auto distance = [&](int step) {
        const PixelPoint p = at(step);
        if (!inside(p)) return -1;
        if (own.Covered(p.x, p.y)) return -2;
        return ColourDistance(from, pixels.At(p.x, p.y));
    };

    int edge = 0;
    for (int step = 1; step <= limit && edge == 0; ++step) {
        const int d = distance(step);
        if (d < 0) return std::nullopt;
        if (d > tolerance) edge = step;
    }
    if (edge == 0) return std::nullopt;

    // The steady colour beyond the edge is where the colour stops moving away from the start
    // colour. Waiting instead for two neighbours to agree within the tolerance would stop on the
    // first pixel of a gentle fade, whose neighbours each differ by less than the tolerance
    // though together they make the edge; a thin line at the edge (a dark outline before a grey
    // area) is itself the steady colour, as it is farthest from the start's.
    int steady = edge;
    int steadyDistance = distance(edge);
    while (steady < limit) {
        const int d = distance(steady + 1);
        if (d == -2) return std::nullopt;
        if (d <= steadyDistance) break;  // also the end of what was read
        ++steady;
        steadyDistance = d;
    }

    // Half-way as a whole, not per channel: the same sum of channel differences as the
    // tolerance, so one rule decides both, and a channel that hardly changes (or only by the
    // image's noise) cannot hold the stop back or push it on. The distances only rise from the
    // edge to the steady colour, so the first pixel at half of it or more is the middle of a
    // blur, and the edge's first pixel when it is sharp.
    for (int step = edge; step < steady; ++step) {
        if (2 * distance(step) >= steadyDistance) return at(step);
    }
    return at(steady);
}

std::optional<PixelPoint> EdgeJump(Backend& backend, PixelPoint start, int dx, int dy,
                                   int tolerance) {
    if (std::abs(dx) + std::abs(dy) != 1) return std::nullopt;
    // The start pixel and the kEdgeJumpLimit pixels beyond it, in one strip.
    const int left = dx < 0 ? start.x - kEdgeJumpLimit : start.x;
    const int top = dy < 0 ? start.y - kEdgeJumpLimit : start.y;
    const int width = dx != 0 ? kEdgeJumpLimit + 1 : 1;
    const int height = dy != 0 ? kEdgeJumpLimit + 1 : 1;
    const ScreenPixels strip = backend.ReadScreen(left, top, width, height);
    return FindEdge(strip, OwnPixels(backend, left, top, width, height), start, dx, dy,
                    tolerance, kEdgeJumpLimit);
}

}  // namespace tavrolin
