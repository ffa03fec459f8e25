#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>

#include "crosshair/Loupe.h"
#include "forms/Form.h"
#include "forms/HeadlessBackend.h"

namespace tavrolin {
namespace {

constexpr double kTpp = 15;  // twips per pixel on the screen of these tests
constexpr int kMiddle = (kLoupePictureWidth - kLoupeZoomDefault) / 2;  // the centre block's corner

// Every screen pixel a colour of its own: red from x, green from y.
std::uint32_t Tell(int x, int y) {
    return static_cast<std::uint32_t>((x & 0xFF) << 16 | (y & 0xFF) << 8 | 0x40);
}

std::uint32_t At(const LoupePicture& p, int x, int y) {
    return p.rgb[static_cast<std::size_t>(y) * static_cast<std::size_t>(p.width) +
                 static_cast<std::size_t>(x)];
}

// The colours of the block of the screen pixel (dx, dy) from the centre, at `zoom`.
std::set<std::uint32_t> Block(const LoupePicture& p, int zoom, int dx, int dy) {
    const int x0 = (p.width - zoom) / 2 + dx * zoom, y0 = (p.height - zoom) / 2 + dy * zoom;
    std::set<std::uint32_t> colours;
    for (int y = y0; y < y0 + zoom; ++y) {
        for (int x = x0; x < x0 + zoom; ++x) colours.insert(At(p, x, y));
    }
    return colours;
}

bool Hatched(const std::set<std::uint32_t>& block) {
    return block.count(kLoupeHatchLight) != 0 && block.count(kLoupeHatchDark) != 0;
}

TEST(Loupe, TheCentrePixelIsTheOutlinedMiddleBlockAndItsNeighboursHoldTheirColours) {
    HeadlessBackend backend;
    backend.screenPicture = Tell;
    const LoupePicture p = PaintLoupe(backend, {812, 440}, kLoupeZoomDefault);
    ASSERT_EQ(p.width, kLoupePictureWidth);
    ASSERT_EQ(p.height, kLoupePictureHeight);
    ASSERT_EQ(p.rgb.size(), static_cast<std::size_t>(p.width * p.height));
    EXPECT_EQ(Block(p, 8, 0, 0), std::set<std::uint32_t>{Tell(812, 440)});
    // The picture's middle lies in the centre block.
    EXPECT_EQ(At(p, p.width / 2, p.height / 2), Tell(812, 440));
    // A black ring and a white one around it, all round.
    for (const int d : {0, 3, 7}) {
        EXPECT_EQ(At(p, kMiddle - 1, kMiddle + d), kLoupeOutlineInner);
        EXPECT_EQ(At(p, kMiddle + 8, kMiddle + d), kLoupeOutlineInner);
        EXPECT_EQ(At(p, kMiddle + d, kMiddle - 1), kLoupeOutlineInner);
        EXPECT_EQ(At(p, kMiddle + d, kMiddle + 8), kLoupeOutlineInner);
        EXPECT_EQ(At(p, kMiddle - 2, kMiddle + d), kLoupeOutlineOuter);
        EXPECT_EQ(At(p, kMiddle + 9, kMiddle + d), kLoupeOutlineOuter);
    }
    // Neighbours, inside their blocks, away from the grid and the outline.
    EXPECT_EQ(At(p, kMiddle - 8 + 4, kMiddle + 4), Tell(811, 440));
    EXPECT_EQ(At(p, kMiddle + 16 + 4, kMiddle + 4), Tell(814, 440));
    EXPECT_EQ(At(p, kMiddle + 4, kMiddle - 24 + 4), Tell(812, 437));
    // The picture's corners show the farthest pixels read, not nothing: 9 and a half pixels
    // left of the centre block's corner at 8x.
    EXPECT_EQ(At(p, 1, 1), Tell(812 - 10, 440 - 10));
    EXPECT_EQ(At(p, p.width - 1, p.height - 1), Tell(812 + 10, 440 + 10));
    EXPECT_EQ(p.caption, "812, 440  RGB 44, 184, 64");
}

TEST(Loupe, AGridRunsBetweenPixelsFromSixTimesUp) {
    HeadlessBackend backend;
    backend.screenPicture = [](int x, int) { return x % 2 != 0 ? 0xFFFFFFu : 0x000000u; };
    for (const int zoom : {2, 4, 5, 6, 8, 16}) {
        SCOPED_TRACE(zoom);
        const LoupePicture p = PaintLoupe(backend, {100, 100}, zoom);
        // Three pixels right of the centre: white (101 + 2), its block's first column and row
        // are the grid's from 6x up.
        const int x0 = (p.width - zoom) / 2 + 3 * zoom, y0 = (p.height - zoom) / 2 + 3 * zoom;
        const std::uint32_t edge = zoom >= 6 ? LoupeGridColour(0xFFFFFF) : 0xFFFFFFu;
        EXPECT_EQ(At(p, x0, y0 + 1), edge);
        EXPECT_EQ(At(p, x0 + 1, y0), edge);
        EXPECT_EQ(At(p, x0 + 1, y0 + 1), 0xFFFFFFu);
        EXPECT_EQ(At(p, x0 - 1, y0 + 1), 0x000000u);
        EXPECT_EQ(At(p, x0 - zoom, y0 + 1), zoom >= 6 ? LoupeGridColour(0) : 0u);
    }
    // The grid shows on black and on white alike.
    EXPECT_NE(LoupeGridColour(0x000000), 0x000000u);
    EXPECT_NE(LoupeGridColour(0xFFFFFF), 0xFFFFFFu);
    EXPECT_EQ(LoupeGridColour(0xFF0000), 0xBF4040u);
}

TEST(Loupe, OurShownWindowsAndWhatLiesBeyondEveryMonitorAreHatchedNotColoured) {
    HeadlessBackend backend;
    backend.screen().Monitors = {{0, 0, 1920 * kTpp, 1080 * kTpp}};
    backend.screenPicture = [](int, int) { return 0xFF0000u; };
    // A window of ours 3 to 5 pixels right of the centre, the centre's row through it.
    Form readout(backend, "Readout");
    readout.Move(1903 * kTpp, 430 * kTpp, 3 * kTpp, 20 * kTpp);
    readout.Show();
    const LoupePicture p = PaintLoupe(backend, {1900, 440}, 8);
    EXPECT_EQ(Block(p, 8, 2, 0).count(0xFF0000), 1u);
    for (const int dx : {3, 4, 5}) {
        SCOPED_TRACE(dx);
        const auto block = Block(p, 8, dx, 0);
        EXPECT_TRUE(Hatched(block));
        EXPECT_EQ(block.count(0xFF0000), 0u);
        EXPECT_EQ(block.count(LoupeGridColour(0xFF0000)), 0u);
    }
    EXPECT_EQ(Block(p, 8, 6, 0).count(0xFF0000), 1u);
    EXPECT_FALSE(Hatched(Block(p, 8, 6, 0)));
    readout.Hide();
    EXPECT_FALSE(Hatched(Block(PaintLoupe(backend, {1900, 440}, 8), 8, 4, 0)));

    // At the monitor's right edge: 1919 is the image, 1920 on is beyond.
    const LoupePicture edge = PaintLoupe(backend, {1915, 1075}, 8);
    EXPECT_EQ(Block(edge, 8, 4, 4),
              (std::set<std::uint32_t>{0xFF0000u, LoupeGridColour(0xFF0000)}));
    EXPECT_TRUE(Hatched(Block(edge, 8, 5, 0)));
    EXPECT_TRUE(Hatched(Block(edge, 8, 0, 5)));
    EXPECT_EQ(Block(edge, 8, 5, 0).count(0), 0u);  // not the black the screen reads there

    // A centre that is not the image has no colour to tell.
    EXPECT_EQ(PaintLoupe(backend, {1925, 500}, 8).caption, "1925, 500  not the image");
    EXPECT_TRUE(Hatched(Block(PaintLoupe(backend, {1925, 500}, 8), 8, 0, 0)));
}

TEST(Loupe, TheZoomIsKeptBetweenTwoAndSixteen) {
    EXPECT_EQ(ClampZoom(0), 2);
    EXPECT_EQ(ClampZoom(1), 2);
    EXPECT_EQ(ClampZoom(-5), 2);
    EXPECT_EQ(ClampZoom(2), 2);
    EXPECT_EQ(ClampZoom(8), 8);
    EXPECT_EQ(ClampZoom(16), 16);
    EXPECT_EQ(ClampZoom(17), 16);
    HeadlessBackend backend;
    backend.screenPicture = Tell;
    // Asked for 40x, the picture is drawn at 16x: the right neighbour starts 16 pixels on.
    const LoupePicture p = PaintLoupe(backend, {50, 60}, 40);
    const int x0 = (p.width - 16) / 2;
    EXPECT_EQ(At(p, x0 + 16 + 8, x0 + 8), Tell(51, 60));
    EXPECT_EQ(At(p, x0 + 32 + 8, x0 + 8), Tell(52, 60));
}

TEST(Loupe, AScreenThatCannotBeReadGivesItsProblemAndNoPicture) {
    HeadlessBackend backend;  // no picture: the screen cannot be read
    const std::string problem = backend.ReadScreen(0, 0, 1, 1).problem;
    ASSERT_FALSE(problem.empty());
    const LoupePicture p = PaintLoupe(backend, {812, 440}, 8);
    EXPECT_EQ(p.caption, problem);
    EXPECT_TRUE(p.rgb.empty());
    EXPECT_EQ(p.caption.find('\n'), std::string::npos);
}

}  // namespace
}  // namespace tavrolin
