// The loupe's picture: the screen's pixels around a crosshair's centre, magnified, with a grid
// between pixels, the centre pixel outlined, the pixels that are not the image hatched, and a
// line of text with the centre's position and colour.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "crosshair/EdgeWalk.h"
#include "forms/Backend.h"

namespace tavrolin {

class Form;

// How many picture pixels wide and high one screen pixel is drawn.
inline constexpr int kLoupeZoomMin = 2;
inline constexpr int kLoupeZoomMax = 16;
inline constexpr int kLoupeZoomDefault = 8;
// From this zoom up a line of the grid runs between neighbouring screen pixels.
inline constexpr int kLoupeGridFromZoom = 6;
// The picture, pixels: the loupe window (160 x 180) without the line of text under it.
inline constexpr int kLoupePictureWidth = 160;
inline constexpr int kLoupePictureHeight = 160;
// The two greys of the diagonal stripes over a pixel that is not the image, and the width of
// each stripe in picture pixels.
inline constexpr std::uint32_t kLoupeHatchLight = 0xB4B4B4;
inline constexpr std::uint32_t kLoupeHatchDark = 0x5A5A5A;
inline constexpr int kLoupeHatchStripe = 3;
// The centre pixel's outline: a black ring around its block and a white ring around that, so
// one of the two stands out on any image.
inline constexpr std::uint32_t kLoupeOutlineInner = 0x000000;
inline constexpr std::uint32_t kLoupeOutlineOuter = 0xFFFFFF;

// A zoom from the user or the settings file within kLoupeZoomMin to kLoupeZoomMax.
[[nodiscard]] int ClampZoom(int zoom);

// A grid line over a pixel of colour `c`: half `c`, half mid grey, so it shows on black, on
// white and on every colour between.
[[nodiscard]] std::uint32_t LoupeGridColour(std::uint32_t c);

struct LoupePicture {
    int width = 0;
    int height = 0;
    // 0xRRGGBB, row by row from the top left; empty when the screen could not be read (the
    // picture is then blank, never black as if the screen were).
    std::vector<std::uint32_t> rgb;
    // The line under the picture: "812, 440  RGB 255, 255, 255", or why the screen could not
    // be read.
    std::string caption;
};

// The loupe's picture of `width` x `height` pixels around the desktop pixel `centre` at `zoom`
// (clamped): an odd number of screen pixels each way, read through the backend, with the
// centre pixel's block in the middle (its top-left corner at ((width - zoom) / 2,
// (height - zoom) / 2)). Our own windows' pixels are hatched (OwnPixels).
[[nodiscard]] LoupePicture PaintLoupe(Backend& backend, PixelPoint centre, int zoom,
                                      int width = kLoupePictureWidth,
                                      int height = kLoupePictureHeight);

}  // namespace tavrolin
