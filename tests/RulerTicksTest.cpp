#include <gtest/gtest.h>

#include <iterator>
#include <set>

#include "RulerFixture.h"

namespace tavrolin::testing {
namespace {

TEST_F(RulerTest, DefaultSettingsGiveFortyOneTicksWithTheCenterInTheMiddle) {
    Start();
    EXPECT_EQ(G().HalfTicks, 20);
    EXPECT_EQ(G().CenterIndex, 20);
    EXPECT_EQ(G().LastTick, 40);
    ASSERT_EQ(TheRuler().Tick.size(), 41u);
    EXPECT_EQ(TheRuler().Tick[40]->Name(), "Tick40");
    EXPECT_EQ(TheRuler().Find("Tick7"), TheRuler().Tick[7]);
}

TEST(TickCount, AnyCountAskedForGivesTheNearestCountAWholeSpacingCanGive) {
    // From the shortest ruler to the longest, through lengths where the counts a twip of spacing
    // apart step by more than one.
    for (const double length : {2000.0, 7500.0, 28800.0, 400000.0}) {
        const std::int32_t minSpacing = 45;
        const std::int32_t widest = RoundHalfEven(length / 2 - 100);
        std::set<int> reachable;
        for (std::int32_t s = minSpacing; s <= widest; ++s) reachable.insert(HalfTicksFor(length, s));
        for (int asked = 1; asked <= 2000; ++asked) {
            const std::int32_t spacing = SpacingForHalfTicks(asked, length, minSpacing);
            ASSERT_GE(spacing, minSpacing);
            ASSERT_LE(spacing, widest);
            const auto above = reachable.lower_bound(asked);
            int nearest = above == reachable.end() ? *reachable.rbegin() : *above;
            if (above != reachable.begin() &&
                (above == reachable.end() || asked - *std::prev(above) < *above - asked)) {
                nearest = *std::prev(above);
            }
            ASSERT_EQ(std::abs(HalfTicksFor(length, spacing) - asked), std::abs(nearest - asked))
                << "length " << length << ", " << asked << " asked, spacing " << spacing;
        }
    }
}

TEST_F(RulerTest, TickClassesAreTestedCenterPrimarySecondaryOther) {
    Start();
    const int c = G().CenterIndex;
    EXPECT_EQ(TheRuler().TickClass(c), 1);
    EXPECT_EQ(TheRuler().TickClass(c + 8), 2);   // a multiple of both indexes is primary
    EXPECT_EQ(TheRuler().TickClass(c - 16), 2);
    EXPECT_EQ(TheRuler().TickClass(c + 4), 3);
    EXPECT_EQ(TheRuler().TickClass(c - 3), 4);
}

TEST_F(RulerTest, AVerticalRulerHasItsTicksStandOutFromTheRightEdge) {
    StartSem(false);
    Ruler& r = TheRuler();
    const double half = 3750;
    Line& center = TickLine(20);
    EXPECT_EQ(center.Y1(), half);
    EXPECT_EQ(center.Y2(), half);
    EXPECT_EQ(center.X2(), r.Width());
    EXPECT_EQ(center.X1(), r.Width() - G().CenterLength);
    EXPECT_EQ(center.BorderColor(), G().ColorChoice[kCenterTick]);
    EXPECT_EQ(center.BorderWidth(), 3);
    EXPECT_EQ(TickLine(21).Y1(), half + 238);
    EXPECT_EQ(TickLine(21).X1(), r.Width() - G().TickLength);
    EXPECT_EQ(TickLine(21).BorderWidth(), 1);
    EXPECT_EQ(TickLine(12).X1(), r.Width() - G().PrimaryLength);
    EXPECT_EQ(TickLine(0).Y1(), half - 20 * 238);
}

TEST_F(RulerTest, AHorizontalRulerHangsItsTicksFromTheLowerEdge) {
    StartSem(true);
    Ruler& r = TheRuler();
    Line& center = TickLine(G().CenterIndex);
    EXPECT_EQ(center.X1(), 3750);
    EXPECT_EQ(center.Y2(), r.Height());
    EXPECT_EQ(center.Y1(), r.Height() - G().CenterLength);
    EXPECT_EQ(TickLine(G().CenterIndex + 4).Y1(), r.Height() - G().SecondaryLength);
}

TEST_F(RulerTest, MeasurementModeHidesTheTicksAndSemModeHidesTheMarkers) {
    Start();
    Ruler& r = TheRuler();
    for (Line* t : r.Tick) EXPECT_FALSE(t->Visible());
    EXPECT_TRUE(r.Line1[0]->Visible());
    EXPECT_TRUE(r.Line2[1]->Visible());
    EXPECT_FALSE(r.ScaleLine1[0]->Visible());  // not User Units
    r.ShowTicks(false);
    for (Line* t : r.Tick) EXPECT_TRUE(t->Visible());
    for (auto* pair : {&r.Line1, &r.Line2, &r.ScaleLine1, &r.ScaleLine2}) {
        for (Line* l : *pair) EXPECT_FALSE(l->Visible());
    }
    G().SettingsLoading = true;
    r.ShowTicks(true);
    EXPECT_TRUE(r.Tick[0]->Visible());
}

TEST_F(RulerTest, UserUnitsShowTheScaleMarkersAndTheirCrosshairs) {
    StartMeasurement(false, 4);
    Ruler& r = TheRuler();
    EXPECT_TRUE(r.ScaleLine1[0]->Visible());
    EXPECT_TRUE(r.ScaleLine2[1]->Visible());
    EXPECT_TRUE(program->scale0().Visible());
    EXPECT_TRUE(program->scale1().Visible());
}

TEST_F(RulerTest, ResizingClampsTheThicknessAndTheLength) {
    StartSem(false);
    Ruler& r = TheRuler();
    r.SetWidth(5000);
    EXPECT_EQ(r.Width(), 1.2 * G().CenterLength);
    r.SetWidth(30);
    EXPECT_EQ(r.Width(), 75);  // five pixels
    r.SetHeight(900);
    EXPECT_EQ(r.Height(), 2000);
    // Off the virtual screen: back to its edge.
    r.SetTop(20000);
    r.SetHeight(3000);
    EXPECT_EQ(r.Top(), 0);
}

TEST_F(RulerTest, ShorteningTheRulerPullsTheMarkerPairBackTogether) {
    StartMeasurement(false, 3);
    Ruler& r = TheRuler();
    G().MarkerPos[0] = 1500;
    G().MarkerPos[1] = 6000;
    r.SetHeight(4500);
    // Limit 4500 - 75: marker 1 loses 1575 twips, and marker 0 with it.
    EXPECT_EQ(G().MarkerPos[1], 4425);
    EXPECT_EQ(G().MarkerPos[0], 0);  // 1500 - 1575 < 0, then cleared at the start
}

TEST_F(RulerTest, MarkersSnapToWholePixels) {
    Start();
    std::int32_t pos = 1500 + 7;
    TheRuler().SetMarker(0, pos, false);
    EXPECT_EQ(pos, 1500);
    pos = 1500 + 8;
    TheRuler().SetMarker(0, pos, false);
    EXPECT_EQ(pos, 1515);
    EXPECT_EQ(TheRuler().Line1[0]->Y1(), 1515);
    EXPECT_EQ(TheRuler().Line2[0]->X1(), 750 - 3 * 750 / 4.0);
    EXPECT_EQ(TheRuler().Line2[0]->X2(), 750 - 750 / 2.0);
}

TEST_F(RulerTest, DockedCrosshairsFollowTheirMarkerAndActiveOnesStay) {
    Start();
    Ruler& r = TheRuler();
    Crosshair& c = program->cross0();
    std::int32_t pos = 3000;
    r.SetMarker(0, pos, false);
    EXPECT_EQ(c.Left(), r.Left() + r.Width() + 120);
    EXPECT_EQ(c.Top(), r.Top() + 3000 - (c.Height() - 15) / 2);
    EXPECT_EQ(G().CrossY[0], static_cast<std::int32_t>(c.Top()));
    G().CrossActive = true;
    const double top = c.Top();
    pos = 4500;
    r.SetMarker(0, pos, false);
    EXPECT_EQ(c.Top(), top);
    r.SetMarker(0, pos, true);
    EXPECT_NE(c.Top(), top);
}

TEST_F(RulerTest, MarkerColoursStandOutOnTheBackground) {
    Start();
    Ruler& r = TheRuler();
    EXPECT_EQ(r.Line1[0]->BorderColor(), 0);
    EXPECT_EQ(r.Line2[1]->BorderColor(), 0);
    EXPECT_EQ(r.ScaleLine2[0]->BorderColor(), RGB(0, 100, 0));
    EXPECT_EQ(Main().Label3.Caption(), "Distance (Black Marks)");
    G().ColorChoice[kRulerBackground] = 0x202020;
    r.SetMarkerColors();
    EXPECT_EQ(r.Line1[0]->BorderColor(), RGB(180, 180, 180));
    EXPECT_EQ(r.ScaleLine1[1]->BorderColor(), RGB(180, 180, 180));
    EXPECT_EQ(r.Line2[0]->BorderColor(), RGB(80, 80, 120));
    EXPECT_EQ(r.ScaleLine2[1]->BorderColor(), RGB(0, 200, 0));
    EXPECT_EQ(r.MarkerColor, RGB(80, 80, 120));
    EXPECT_EQ(Main().Label3.Caption(), "Distance (Gray Marks)");
}

TEST_F(RulerTest, GetMarkerReadsTheFullLineBack) {
    Start();
    std::int32_t pos = 0;
    TheRuler().GetMarker(1, pos);
    EXPECT_EQ(pos, 5625);
}

TEST_F(RulerTest, MarkersAreLeftAloneOutsideMeasurementMode) {
    StartSem();
    std::int32_t pos = 7;
    TheRuler().GetMarker(1, pos);
    EXPECT_EQ(pos, 7);
    TheRuler().SetMarker(1, pos, false);
    EXPECT_EQ(pos, 7);
}

}  // namespace
}  // namespace tavrolin::testing
