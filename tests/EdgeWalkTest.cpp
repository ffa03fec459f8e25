#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "crosshair/EdgeWalk.h"
#include "forms/Form.h"
#include "forms/HeadlessBackend.h"

namespace tavrolin {

void PrintTo(const PixelPoint& p, std::ostream* os) { *os << "(" << p.x << ", " << p.y << ")"; }

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kBlack = 0x000000;
constexpr double kTpp = 15;  // twips per pixel on the screen of these tests

std::uint32_t Grey(int v) { return static_cast<std::uint32_t>(v) * 0x010101u; }

// A black bar from (left, top) to (right, bottom), both inclusive, on white.
auto Bar(int left, int top, int right, int bottom) {
    return [=](int x, int y) {
        return x >= left && x <= right && y >= top && y <= bottom ? kBlack : kWhite;
    };
}

// A window of ours at whole pixels.
void ShowWindow(Form& f, int left, int top, int width, int height) {
    f.Move(left * kTpp, top * kTpp, width * kTpp, height * kTpp);
    f.Show();
}

TEST(EdgeWalk, ASharpBarIsMetOnItsFirstPixelFromTheLeftAndOnItsLastFromTheRight) {
    HeadlessBackend backend;
    backend.screenPicture = Bar(100, 50, 199, 59);
    EXPECT_EQ(EdgeJump(backend, {94, 55}, 1, 0), (PixelPoint{100, 55}));
    EXPECT_EQ(EdgeJump(backend, {205, 55}, -1, 0), (PixelPoint{199, 55}));
    EXPECT_EQ(EdgeJump(backend, {150, 44}, 0, 1), (PixelPoint{150, 50}));
    EXPECT_EQ(EdgeJump(backend, {150, 65}, 0, -1), (PixelPoint{150, 59}));
}

TEST(EdgeWalk, ABarWhoseEndsFadeIsMetWithinOnePixelOfTheMiddleOfTheFade) {
    // Over 8 pixels each step is a clear change; over 24 no two neighbours differ by more than
    // the tolerance, yet the fade as a whole is the edge.
    for (const int fade : {8, 24}) {
        SCOPED_TRACE(fade);
        HeadlessBackend backend;
        // Black from 100 + fade to 299 - fade; each end goes to white over `fade` pixels.
        backend.screenPicture = [fade](int x, int) {
            if (x < 100 || x > 299) return kWhite;
            const int fromEnd = std::min(x - 100, 299 - x);  // 0 on the lightest pixel
            if (fromEnd >= fade) return kBlack;
            return Grey(255 - 255 * (fromEnd + 1) / (fade + 1));
        };
        const double leftMiddle = 100 + (fade - 1) / 2.0;
        const double rightMiddle = 299 - (fade - 1) / 2.0;
        const auto fromLeft = EdgeJump(backend, {80, 0}, 1, 0);
        const auto fromRight = EdgeJump(backend, {320, 0}, -1, 0);
        ASSERT_TRUE(fromLeft && fromRight);
        EXPECT_LE(std::abs(fromLeft->x - leftMiddle), 1.0) << fromLeft->x;
        EXPECT_LE(std::abs(fromRight->x - rightMiddle), 1.0) << fromRight->x;
    }
}

TEST(EdgeWalk, AnEdgeFourHundredPixelsAwayIsMetAndOneFartherIsNot) {
    HeadlessBackend backend;
    backend.screenPicture = Bar(500, 500, 599, 599);
    EXPECT_EQ(EdgeJump(backend, {100, 550}, 1, 0), (PixelPoint{500, 550}));
    EXPECT_EQ(EdgeJump(backend, {99, 550}, 1, 0), std::nullopt);
    EXPECT_EQ(EdgeJump(backend, {550, 999}, 0, -1), (PixelPoint{550, 599}));
    EXPECT_EQ(EdgeJump(backend, {550, 1000}, 0, -1), std::nullopt);
    backend.screenPicture = [](int, int) { return kWhite; };
    EXPECT_EQ(EdgeJump(backend, {100, 550}, 1, 0), std::nullopt);
}

TEST(EdgeWalk, AWalkThatMeetsOneOfOurShownWindowsDoesNotMove) {
    HeadlessBackend backend;
    backend.screenPicture = Bar(300, 0, 399, 99);
    Form readout(backend, "Readout");
    ShowWindow(readout, 150, 40, 30, 20);
    EXPECT_EQ(EdgeJump(backend, {100, 50}, 1, 0), std::nullopt);
    EXPECT_EQ(EdgeJump(backend, {100, 30}, 1, 0), (PixelPoint{300, 30}));  // above the window
    readout.Hide();
    EXPECT_EQ(EdgeJump(backend, {100, 50}, 1, 0), (PixelPoint{300, 50}));

    // The crosshair that jumps covers its own start; it is passed over only when its shape
    // leaves its row and column open.
    Form cross(backend, "Cross");
    ShowWindow(cross, 88, 38, 25, 25);
    EXPECT_EQ(EdgeJump(backend, {100, 50}, 1, 0), std::nullopt);
    cross.SetShape({{0, 0, 10 * kTpp, 10 * kTpp}, {13 * kTpp, 13 * kTpp, 12 * kTpp, 12 * kTpp}});
    EXPECT_EQ(EdgeJump(backend, {100, 50}, 1, 0), (PixelPoint{300, 50}));
    EXPECT_EQ(EdgeJump(backend, {100, 55}, 1, 0), std::nullopt);  // across a part
}

TEST(EdgeWalk, AWalkOffEveryMonitorDoesNotMove) {
    HeadlessBackend backend;
    // 1920 x 1080 with a 1280 x 1024 monitor on its right; a bar on the right one.
    backend.screen().Monitors = {{0, 0, 1920 * kTpp, 1080 * kTpp},
                                 {1920 * kTpp, 0, 1280 * kTpp, 1024 * kTpp}};
    backend.screenPicture = Bar(2000, 0, 2099, 1079);
    EXPECT_EQ(EdgeJump(backend, {1900, 500}, 1, 0), (PixelPoint{2000, 500}));
    // Below the right monitor the screen reads black, which is not the bar.
    EXPECT_EQ(EdgeJump(backend, {1900, 1050}, 1, 0), std::nullopt);
    EXPECT_EQ(EdgeJump(backend, {3150, 500}, 1, 0), std::nullopt);
    EXPECT_EQ(EdgeJump(backend, {100, 100}, 0, -1), std::nullopt);
}

TEST(EdgeWalk, ColourDifferencesAtTheChannelLimitsDoNotOverflow) {
    EXPECT_EQ(ColourDistance(kBlack, kWhite), 765);
    EXPECT_EQ(ColourDistance(kWhite, kBlack), 765);
    EXPECT_EQ(ColourDistance(0xFF0000, 0x00FFFF), 765);
    EXPECT_EQ(ColourDistance(0xFF000000u, kBlack), 0);  // only red, green and blue count

    // Black to white passes even the widest tolerance; it is met on its first pixel.
    ScreenPixels row;
    row.width = 6;
    row.height = 1;
    row.rgb = {kBlack, kBlack, kBlack, kWhite, kWhite, kWhite};
    const PixelMask none{0, 0, 6, 1, std::vector<std::uint8_t>(6, 0)};
    EXPECT_EQ(FindEdge(row, none, {0, 0}, 1, 0, 764), (PixelPoint{3, 0}));
    EXPECT_EQ(FindEdge(row, none, {5, 0}, -1, 0, 764), (PixelPoint{2, 0}));
    EXPECT_EQ(FindEdge(row, none, {0, 0}, 1, 0, 765), std::nullopt);
}

TEST(EdgeWalk, OurShownWindowsAndWhatLiesBeyondEveryMonitorAreNotTheImage) {
    HeadlessBackend backend;
    backend.screen().Monitors = {{0, 0, 100 * kTpp, 100 * kTpp}};
    Form grip(backend, "Grip");
    ShowWindow(grip, 92, 96, 3, 2);
    Form hidden(backend, "Hidden");
    hidden.Move(90 * kTpp, 95 * kTpp, 5 * kTpp, 5 * kTpp);
    hidden.Load();
    // A loupe's rectangle across the monitor's bottom right corner.
    const PixelMask mask = OwnPixels(backend, 90, 95, 12, 6);
    std::string picture;
    for (int y = mask.top; y < mask.top + mask.height; ++y) {
        for (int x = mask.left; x < mask.left + mask.width; ++x) {
            picture += mask.Covered(x, y) ? '#' : '.';
        }
        picture += '\n';
    }
    EXPECT_EQ(picture,
              "..........##\n"
              "..###.....##\n"
              "..###.....##\n"
              "..........##\n"
              "..........##\n"
              "############\n");
}

TEST(HeadlessScreen, ReadsThePictureOnTheMonitorsZeroBeyondAndSaysWhyWithoutAPicture) {
    HeadlessBackend backend;
    ScreenPixels unread = backend.ReadScreen(10, 20, 4, 4);
    EXPECT_FALSE(unread.Read());
    EXPECT_FALSE(unread.problem.empty());
    EXPECT_EQ(unread.left, 10);
    EXPECT_EQ(unread.top, 20);

    backend.screen().Monitors = {{0, 0, 100 * kTpp, 100 * kTpp}};
    backend.screenPicture = [](int x, int y) {
        return 0xAB000000u | static_cast<std::uint32_t>(x * 256 + y);
    };
    const ScreenPixels read = backend.ReadScreen(98, 98, 3, 3);
    ASSERT_TRUE(read.Read());
    EXPECT_TRUE(read.problem.empty());
    EXPECT_EQ(read.rgb,
              (std::vector<std::uint32_t>{0x6262, 0x6362, 0, 0x6263, 0x6363, 0, 0, 0, 0}));
    EXPECT_EQ(read.At(99, 98), 0x6362u);
}

}  // namespace
}  // namespace tavrolin
