#include <gtest/gtest.h>

#include "RulerFixture.h"

namespace tavrolin::testing {
namespace {

using Grip = RulerTest;

TEST_F(Grip, SitsAgainstTheFarEndOfTheRuler) {
    StartSem(false);
    WexoIcon& w = program->wexoIcon();
    EXPECT_EQ(w.Width(), 240);
    EXPECT_EQ(w.Height(), 240);
    EXPECT_EQ(w.Left(), 150);
    EXPECT_EQ(w.Top(), 1500 + 7500 + 15);
    EXPECT_TRUE(platform.topmost.count(w.hWnd()));
}

TEST_F(Grip, AndTheMarkerReadOutKeepTheirSizeToTheEyeOnDenserScreensSoTheirTextFits) {
    for (double tpp : {12.0, 10.0, 7.5}) {
        backend.screen().TwipsPerPixelX = backend.screen().TwipsPerPixelY = tpp;
        StartSem(false);
        WexoIcon& w = program->wexoIcon();
        EXPECT_EQ(w.Width(), 240) << tpp;
        EXPECT_EQ(w.Height(), 240) << tpp;
        EXPECT_EQ(program->distanceWindow().Height(), 300) << tpp;
        program->Exit();
    }
}

TEST_F(Grip, AOnePixelWiggleChangesNothing) {
    StartSem(false);
    WexoIcon& w = program->wexoIcon();
    user::Drag(w, 100, 100, 115, 115, 2);
    EXPECT_EQ(TheRuler().Height(), 7500);
    EXPECT_EQ(TheRuler().Top(), 1500);
}

TEST_F(Grip, InSemModeTheRulerGrowsSymmetricallyAroundItsCenter) {
    StartSem(false);
    WexoIcon& w = program->wexoIcon();
    const double center = TheRuler().Top() + TheRuler().Height() / 2;
    user::Drag(w, 100, 100, 100, 200, 1);
    EXPECT_EQ(TheRuler().Height(), 7700);
    EXPECT_EQ(TheRuler().Top() + TheRuler().Height() / 2, center);
    EXPECT_EQ(w.Top(), TheRuler().Top() + 7700 + 15);
    // Across the ruler the thickness changes.
    user::Drag(w, 100, 100, 40, 100, 1);
    EXPECT_EQ(TheRuler().Width(), 960);
}

TEST_F(Grip, ThePressMayLandOnTheLetterThatFillsIt) {
    StartSem(false);
    Label& letter = program->wexoIcon().Letter;
    user::MouseDown(letter, kLeftButton, 0, 100, 100);
    user::MouseMove(letter, kLeftButton, 0, 100, 200);
    user::MouseUp(letter, kLeftButton, 0, 100, 200);
    EXPECT_EQ(TheRuler().Height(), 7700);
}

TEST_F(Grip, InMeasurementModeTheFarEndGrowsAndADragAcrossMovesTheRuler) {
    StartMeasurement(false);
    WexoIcon& w = program->wexoIcon();
    user::Drag(w, 100, 100, 100, 400, 1);
    EXPECT_EQ(TheRuler().Top(), 1500);
    EXPECT_EQ(TheRuler().Height(), 7800);
    user::Drag(w, 100, 100, 400, 100, 1);
    EXPECT_EQ(TheRuler().Left(), 450);
    EXPECT_EQ(TheRuler().Width(), 750);
    EXPECT_EQ(TheRuler().Height(), 7800);
}

TEST_F(Grip, ShorteningAndLengtheningAgainKeepsTheTickSpacing) {
    StartWith([](Settings& s) {
        s.MeasureMode = 1;
        s.TickSpacing = 3000;
    }, RulerRect{1500, 7500, 150, 750});
    WexoIcon& w = program->wexoIcon();
    user::Drag(w, 100, 100, 100, 100 - 5000, 1);
    ASSERT_LT(TheRuler().Height(), 6100);
    user::Drag(w, 100, 100, 100, 100 + 5000, 1);
    program->Exit();
    EXPECT_EQ(ConfigValue("Tavrolin.cfg", "TickSpacing"), "3000");
}

TEST_F(Grip, TheLengthNeverFallsTo2000TwipsOrLess) {
    StartSem(true);
    WexoIcon& w = program->wexoIcon();
    user::Drag(w, 100, 100, 100 - 5600, 100, 1);
    EXPECT_EQ(TheRuler().Width(), 7500);
}

TEST_F(Grip, ALockedSemRulerIgnoresTheGrip) {
    StartWith([](Settings& s) { s.MeasureMode = -1; }, {1500, 7500, 150, 900});
    user::Drag(program->wexoIcon(), 100, 100, 100, 400, 1);
    EXPECT_EQ(TheRuler().Height(), 7500);
}

TEST_F(Grip, ReleasingAfterGrowingPastTheBuiltTicksRebuildsTheRuler) {
    StartSem(false);
    user::Drag(program->wexoIcon(), 100, 100, 100, 100 + 3000, 1);
    EXPECT_EQ(TheRuler().Height(), 13500);
    EXPECT_EQ(G().TicksBuilt, RoundHalfEven(13500 / 476.0 + 4));
    EXPECT_EQ(TheRuler().Tick.size(), static_cast<std::size_t>(2 * G().TicksBuilt + 1));
}

TEST_F(Grip, RightClickTogglesTheControlWindow) {
    StartSem(false);
    WexoIcon& w = program->wexoIcon();
    user::MouseDown(w, kRightButton, 0, 10, 10);
    user::MouseUp(w, kRightButton, 0, 10, 10);
    EXPECT_EQ(Main().GetWindowState(), WindowState::Minimized);
}

}  // namespace
}  // namespace tavrolin::testing
