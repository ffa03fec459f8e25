#include <gtest/gtest.h>

#include "RulerFixture.h"

namespace tavrolin::testing {
namespace {

using RulerKeys = RulerTest;

TEST_F(RulerKeys, ShiftAlternatesTheTwoMeasurementMarkersAndFlashesEach) {
    StartMeasurement();
    Ruler& r = TheRuler();
    Key(kKeyShift, kShiftMask);
    EXPECT_EQ(r.SelMarker, 0);
    ASSERT_EQ(platform.sleeps.size(), 1u);
    EXPECT_EQ(platform.sleeps[0], 300);
    EXPECT_GE(backend.DoEventsCount(), 1);
    EXPECT_EQ(r.Line2[0]->BorderColor(), r.MarkerColor);
    Key(kKeyShift, kShiftMask);
    EXPECT_EQ(r.SelMarker, 1);
    Key(kKeyShift, kShiftMask);
    EXPECT_EQ(r.SelMarker, 0);
}

TEST_F(RulerKeys, WithUserUnitsShiftCyclesAllFourMarkers) {
    StartMeasurement(false, 4);
    std::vector<int> seen;
    for (int i = 0; i < 5; ++i) {
        Key(kKeyShift, kShiftMask);
        seen.push_back(TheRuler().SelMarker);
    }
    EXPECT_EQ(seen, (std::vector<int>{0, 1, 2, 3, 0}));
    EXPECT_EQ(TheRuler().ScaleLine2[1]->BorderColor(), TheRuler().ScaleMarkerColor);
}

TEST_F(RulerKeys, WithTheMeasurementMarkersHiddenTheScaleMarkersAreSelected) {
    StartMeasurement(false, 4);
    TheRuler().Line2[0]->SetVisible(false);
    TheRuler().Line2[1]->SetVisible(false);
    Key(kKeyShift, kShiftMask);
    EXPECT_EQ(TheRuler().SelMarker, 2);
    EXPECT_EQ(TheRuler().GrabMarker, -2);
}

TEST_F(RulerKeys, ArrowsNudgeTheSelectedMarkerOnePixel) {
    StartMeasurement();
    Key(kKeyShift, kShiftMask);
    Key(kKeyDown);
    EXPECT_EQ(G().MarkerPos[0], 1890);
    EXPECT_EQ(TheRuler().Line1[0]->Y1(), 1890);
    Key(kKeyNumpad8);
    Key(kKeyUp);
    EXPECT_EQ(G().MarkerPos[0], 1860);
    // Across the ruler the arrows move the ruler itself.
    Key(kKeyRight);
    EXPECT_EQ(TheRuler().Left(), 165);
    EXPECT_EQ(G().MarkerPos[0], 1860);
}

TEST_F(RulerKeys, MarkersStopAtTheirBounds) {
    StartMeasurement();
    std::int32_t zero = 0;
    TheRuler().SetMarker(0, zero, false);
    G().MarkerPos[0] = 0;
    Key(kKeyShift, kShiftMask);
    Key(kKeyUp);
    EXPECT_EQ(G().MarkerPos[0], 0);
    program->Exit();
    StartMeasurement(true);
    G().MarkerPos[0] = G().GrabUnit;
    Key(kKeyShift, kShiftMask);
    Key(kKeyLeft);
    EXPECT_EQ(G().MarkerPos[0], G().GrabUnit);
}

TEST_F(RulerKeys, ShiftWithAnArrowMovesNothingWhileAMarkerIsSelected) {
    StartMeasurement();
    Key(kKeyShift, kShiftMask);
    Key(kKeyDown, kShiftMask);
    EXPECT_EQ(G().MarkerPos[0], 1875);
    EXPECT_EQ(TheRuler().Top(), 1500);
}

TEST_F(RulerKeys, WithNoMarkerSelectedTheArrowsNudgeTheRulerAndWhatFollowsIt) {
    StartMeasurement();
    const double crossLeft = program->cross0().Left();
    Key(kKeyRight, kShiftMask);
    Key(kKeyDown);
    EXPECT_EQ(TheRuler().Left(), 165);
    EXPECT_EQ(TheRuler().Top(), 1515);
    EXPECT_EQ(program->cross0().Left(), crossLeft + 15);
    EXPECT_EQ(program->wexoIcon().Top(), 1515 + 7500 + 15);
    EXPECT_EQ(program->distanceWindow().Left(), 165);
}

TEST_F(RulerKeys, InSemModeTheArrowsNudgeTheRulerAndSpaceDoesNothing) {
    StartSem();
    Key(kKeyLeft, kShiftMask);
    EXPECT_EQ(TheRuler().Left(), 135);
    Key(kKeySpace);
    EXPECT_EQ(Main().UseHRuler.Value(), 0);
}

TEST_F(RulerKeys, SpaceOrPlainTabTogglesTheOrientationBox) {
    StartMeasurement();
    Key(kKeyTab, kShiftMask);
    EXPECT_EQ(Main().UseHRuler.Value(), 0);
    Key(kKeyTab);
    EXPECT_EQ(Main().UseHRuler.Value(), 1);
    Key(kKeySpace);
    EXPECT_EQ(Main().UseHRuler.Value(), 0);
}

TEST_F(RulerKeys, EscLeavesWithoutSavingAndRemovesTheLock) {
    StartSem();
    const std::string before = Slurp(folder.File("Tavrolin.cfg"));
    Key(kKeyRight);
    G().TickSpacing = 400;
    Key(kKeyEscape);
    EXPECT_FALSE(program->Running());
    EXPECT_TRUE(backend.QuitRequested());
    EXPECT_EQ(Slurp(folder.File("Tavrolin.cfg")), before);
    EXPECT_FALSE(Exists(folder.File("Tavrolin.tmp")));
}

TEST_F(RulerKeys, EscOnAFirstRunCreatesNoFile) {
    Start();
    Key(kKeyEscape);
    EXPECT_FALSE(Exists(folder.File("Tavrolin.cfg")));
    EXPECT_FALSE(Exists(folder.File("Tavrolin.tmp")));
}

TEST_F(RulerKeys, TheControlWindowHandsKeysToTheRulerThroughGetKey) {
    StartMeasurement();
    int code = kKeyDown, shift = 0;
    TheRuler().GetKey(code, shift);
    EXPECT_EQ(TheRuler().Top(), 1515);
}

}  // namespace
}  // namespace tavrolin::testing
