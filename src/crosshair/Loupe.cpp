#include "crosshair/Loupe.h"

#include <algorithm>
#include <cstddef>

namespace tavrolin {

namespace {

// Rounds towards minus infinity: picture pixels left of the centre block belong to screen
// pixels left of the centre, -1 and not 0.
int FloorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

// For each picture column (or row): which screen pixel it shows, relative to the centre, and
// how far into that pixel's block it lies.
struct Axis {
    int origin = 0;  // the centre block's first picture pixel
    int half = 0;    // screen pixels read on each side of the centre
    std::vector<int> pixel;
    std::vector<int> offset;
};

Axis MakeAxis(int size, int zoom) {
    Axis a;
    a.origin = (size - zoom) / 2;
    // Enough screen pixels on each side to fill the picture's edge on that side; the same on
    // both so that the centre pixel is the middle one of those read.
    a.half = std::max({0, -FloorDiv(-a.origin, zoom), FloorDiv(size - 1 - a.origin, zoom)});
    a.pixel.resize(static_cast<std::size_t>(size));
    a.offset.resize(static_cast<std::size_t>(size));
    for (int p = 0; p < size; ++p) {
        const int k = FloorDiv(p - a.origin, zoom);
        a.pixel[static_cast<std::size_t>(p)] = k;
        a.offset[static_cast<std::size_t>(p)] = p - a.origin - k * zoom;
    }
    return a;
}

std::string Channels(std::uint32_t c) {
    return std::to_string((c >> 16) & 0xFFu) + ", " + std::to_string((c >> 8) & 0xFFu) + ", " +
           std::to_string(c & 0xFFu);
}

}  // namespace

int ClampZoom(int zoom) { return std::clamp(zoom, kLoupeZoomMin, kLoupeZoomMax); }

std::uint32_t LoupeGridColour(std::uint32_t c) {
    // Per channel (c + 0x80) / 2: the halves of two bytes never carry into the next channel.
    return ((c & 0xFEFEFEu) >> 1) + 0x404040u;
}

LoupePicture PaintLoupe(Backend& backend, PixelPoint centre, int zoom, int width, int height) {
    zoom = ClampZoom(zoom);
    LoupePicture picture;
    picture.width = std::max(0, width);
    picture.height = std::max(0, height);
    const Axis cols = MakeAxis(picture.width, zoom);
    const Axis rows = MakeAxis(picture.height, zoom);
    const int left = centre.x - cols.half, top = centre.y - rows.half;
    const int readWidth = 2 * cols.half + 1, readHeight = 2 * rows.half + 1;
    const ScreenPixels read = backend.ReadScreen(left, top, readWidth, readHeight);
    if (!read.Read()) {
        picture.caption = read.problem.empty() ? "The screen cannot be read." : read.problem;
        return picture;
    }
    const PixelMask own = OwnPixels(backend, left, top, readWidth, readHeight);

    const bool grid = zoom >= kLoupeGridFromZoom;
    picture.rgb.resize(static_cast<std::size_t>(picture.width) *
                       static_cast<std::size_t>(picture.height));
    std::size_t i = 0;
    for (int py = 0; py < picture.height; ++py) {
        const int dy = rows.pixel[static_cast<std::size_t>(py)];
        const bool gridRow = grid && rows.offset[static_cast<std::size_t>(py)] == 0;
        const int y = centre.y + dy;
        for (int px = 0; px < picture.width; ++px, ++i) {
            const int dx = cols.pixel[static_cast<std::size_t>(px)];
            const int x = centre.x + dx;
            std::uint32_t c;
            if (own.Covered(x, y)) {
                c = ((px + py) / kLoupeHatchStripe) % 2 != 0 ? kLoupeHatchLight : kLoupeHatchDark;
            } else {
                c = read.At(x, y);
            }
            // The centre's block keeps its colour whole; its outline stands for its grid lines.
            if ((gridRow || (grid && cols.offset[static_cast<std::size_t>(px)] == 0)) &&
                (dx != 0 || dy != 0)) {
                c = LoupeGridColour(c);
            }
            picture.rgb[i] = c;
        }
    }

    // The outline: rings 1 and 2 pixels outside the centre's block, on its neighbours' edges.
    auto set = [&](int px, int py, std::uint32_t c) {
        if (px < 0 || py < 0 || px >= picture.width || py >= picture.height) return;
        picture.rgb[static_cast<std::size_t>(py) * static_cast<std::size_t>(picture.width) +
                    static_cast<std::size_t>(px)] = c;
    };
    for (int ring = 1; ring <= 2; ++ring) {
        const std::uint32_t c = ring == 1 ? kLoupeOutlineInner : kLoupeOutlineOuter;
        const int x0 = cols.origin - ring, x1 = cols.origin + zoom - 1 + ring;
        const int y0 = rows.origin - ring, y1 = rows.origin + zoom - 1 + ring;
        for (int px = x0; px <= x1; ++px) {
            set(px, y0, c);
            set(px, y1, c);
        }
        for (int py = y0 + 1; py < y1; ++py) {
            set(x0, py, c);
            set(x1, py, c);
        }
    }

    picture.caption = std::to_string(centre.x) + ", " + std::to_string(centre.y) + "  ";
    picture.caption += own.Covered(centre.x, centre.y)
                           ? std::string("not the image")
                           : "RGB " + Channels(read.At(centre.x, centre.y));
    return picture;
}

}  // namespace tavrolin
