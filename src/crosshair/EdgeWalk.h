// A crosshair's jump to the next edge of the image: the walk over the screen's pixels from its
// centre, and which screen pixels are not the image's (our own windows, beyond every monitor).
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "forms/Backend.h"

namespace tavrolin {

class Form;

// Two colours are alike to an edge walk while their red, green and blue differ by this much or
// less, summed.
inline constexpr int kEdgeTolerance = 48;
// The farthest an edge jump goes, pixels.
inline constexpr int kEdgeJumpLimit = 400;

// A physical pixel of the desktop.
struct PixelPoint {
    int x = 0;
    int y = 0;
    bool operator==(const PixelPoint&) const = default;
};

// |dR| + |dG| + |dB| of two 0xRRGGBB colours (the top byte is ignored): 0 to 765.
[[nodiscard]] int ColourDistance(std::uint32_t a, std::uint32_t b);

// For each pixel of a rectangle of the desktop, row by row: whether it does not show the image.
struct PixelMask {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> covered;
    // False outside the rectangle.
    bool Covered(int x, int y) const {
        if (x < left || y < top || x >= left + width || y >= top + height) return false;
        return covered[static_cast<std::size_t>(y - top) * static_cast<std::size_t>(width) +
                       static_cast<std::size_t>(x - left)] != 0;
    }
};

// The pixels of the `width` x `height` rectangle at (`left`, `top`), desktop pixels, that a
// read of the screen cannot show as the image: those under one of the program's shown windows
// (where the window system gives our own colours back; only its parts for a shaped window) and
// those beyond every monitor (none when no monitor is known). A loupe paints them hatched; an
// edge walk stops at them.
[[nodiscard]] PixelMask OwnPixels(const Backend& backend, int left, int top, int width,
                                  int height);

// Where a walk from `start` in the direction (`dx`, `dy`) (one of them 0, the other -1 or 1),
// at most `limit` pixels, meets the next edge of the image in `pixels`: past the first pixel
// whose colour differs from the start's by more than `tolerance` (ColourDistance), the first
// pixel that has gone at least half-way to the steady colour beyond the edge. So a sharp edge
// is met on its first pixel, and an edge blurred over several pixels near its middle.
// No edge within the limit or within `pixels`, or a pixel the walk reads that `own` covers (a
// window of ours, beyond every monitor): no move (nullopt).
[[nodiscard]] std::optional<PixelPoint> FindEdge(const ScreenPixels& pixels, const PixelMask& own,
                                                 PixelPoint start, int dx, int dy,
                                                 int tolerance = kEdgeTolerance,
                                                 int limit = kEdgeJumpLimit);

// The edge jump from `start` in the direction (`dx`, `dy`) over what the screen shows: reads
// the strip of kEdgeJumpLimit pixels beyond `start` through the backend and walks it (FindEdge).
// The crosshair that jumps must leave its centre's row and column open (its shape). The screen
// unread: no move.
[[nodiscard]] std::optional<PixelPoint> EdgeJump(Backend& backend, PixelPoint start, int dx, int dy,
                                                 int tolerance = kEdgeTolerance);

}  // namespace tavrolin
