#include <gtest/gtest.h>

#include "RulerFixture.h"
#include "forms/PixelScale.h"
#include "crosshair/CrossDistance.h"
#include "crosshair/Crosshair.h"
#include "crosshair/Docking.h"
#include "crosshair/ScaleDistance.h"
#include "picker/PickColor.h"

namespace tavrolin::testing {
namespace {

class Crosshairs : public RulerTest {
protected:
    Crosshair& C0() { return program->cross0(); }
    Crosshair& C1() { return program->cross1(); }
    Crosshair& S0() { return program->scale0(); }
    Crosshair& S1() { return program->scale1(); }
    // A press and release in the middle of a docked crosshair, as a click activates its pair.
    void Click(Crosshair& c) {
        user::MouseDown(c, kLeftButton, 0, 75, 75);
        user::MouseUp(c, kLeftButton, 0, 75, 75);
    }
};

TEST_F(Crosshairs, StartDockedSmallOnTheBlackMarkersBesideTheRuler) {
    StartMeasurement();
    EXPECT_FALSE(G().CrossActive);
    EXPECT_EQ(C0().Width(), 165);
    EXPECT_EQ(C0().Height(), 165);
    EXPECT_TRUE(C0().Visible());
    // Vertical ruler at left 150, 750 wide, top 1500; markers at 1875 and 5625.
    EXPECT_EQ(C0().Left(), 150 + 750 + 120);
    EXPECT_EQ(C0().Top(), 1500 + 1875 - 75);
    EXPECT_EQ(G().CrossY[1], 1500 + 5625 - 75);
    EXPECT_EQ(C0().MousePointer, kPointerSizePointer);
    EXPECT_FALSE(program->crossDistance().Visible());
    EXPECT_TRUE(platform.topmost.count(C0().hWnd()));
    EXPECT_EQ(platform.alpha[C0().hWnd()], 100);
}

TEST_F(Crosshairs, TheyDrawTwoBlackBarsThroughThePixelLeftOfTheMiddle) {
    StartMeasurement();
    C0().SetSize(25);
    EXPECT_EQ(C0().Line1.Y1(), 180);
    EXPECT_EQ(C0().Line1.X2(), 375);
    EXPECT_EQ(C0().Line2.X1(), 180);
    EXPECT_EQ(C0().Line2.Y2(), 375);
    EXPECT_EQ(C0().Line1.BorderColor(), 0);
    EXPECT_EQ(C0().BackColor(), G().ColorChoice[kMeasurementCrosshairs]);
    EXPECT_EQ(S0().BackColor(), G().ColorChoice[kScaleCrosshairs]);
}

TEST_F(Crosshairs, TheTipCornerShowsOnlyOnTheLargeFirstCrosshair) {
    StartMeasurement();
    ASSERT_NE(C0().MyToolTip, nullptr);
    EXPECT_EQ(C1().MyToolTip, nullptr);
    EXPECT_FALSE(C0().MyToolTip->Visible());
    C0().SetSize(25);
    TextBox& tip = *C0().MyToolTip;
    EXPECT_TRUE(tip.Visible());
    EXPECT_EQ(tip.Left(), 375 - 150);
    EXPECT_EQ(tip.Top(), 375 - 150);
    EXPECT_EQ(tip.Text(), "  ");
    EXPECT_EQ(tip.BackColor(), C0().BackColor());
    EXPECT_EQ(tip.ToolTipText(),
              "Use Arrow keys for precise positioning.  Use Shift to select other crosshair.");
    C0().SetSize(11);
    EXPECT_FALSE(tip.Visible());
}

TEST_F(Crosshairs, PressingADockedCrosshairActivatesThePairAndKeepsEachCentre) {
    StartMeasurement();
    const double left0 = C0().Left(), top0 = C0().Top();
    const double left1 = C1().Left(), top1 = C1().Top();
    user::MouseDown(C0(), kLeftButton, 0, 75, 75);
    EXPECT_TRUE(G().CrossActive);
    EXPECT_EQ(G().StepOffset, -105);
    for (Crosshair* c : {&C0(), &C1()}) {
        EXPECT_EQ(c->Width(), 375);
        EXPECT_EQ(c->MousePointer, kPointerDefault);
    }
    // The bar moved from left + 5 pixels to (left - 7) + 12 pixels: the same place.
    EXPECT_EQ(C0().Left(), left0 - 105);
    EXPECT_EQ(C0().Top(), top0 - 105);
    EXPECT_EQ(C1().Left(), left1 - 105);
    EXPECT_EQ(C1().Top(), top1 - 105);
    EXPECT_EQ(G().CrossX[0], left0 - 105);
    EXPECT_EQ(G().CrossY[1], top1 - 105);
    EXPECT_TRUE(program->crossDistance().Visible());
    EXPECT_FALSE(Main().Uncertainty.Enabled());
    EXPECT_EQ(Main().Label3.Caption(), "Distance (Crosshairs)");
    // A second press on an active pair changes nothing.
    user::MouseDown(C1(), kLeftButton, 0, 75, 75);
    EXPECT_EQ(C1().Left(), left1 - 105);
}

TEST_F(Crosshairs, PressAndDragFromDockedKeepsTheCrossUnderThePointer) {
    StartMeasurement();
    const double left0 = C0().Left(), top0 = C0().Top();
    user::Drag(C0(), 75, 75, 75 + 1500, 75 + 3000, 3);
    EXPECT_EQ(C0().Left(), left0 - 105 + 1500);
    EXPECT_EQ(C0().Top(), top0 - 105 + 3000);
}

TEST_F(Crosshairs, ADragOfOnePixelOrLessIsNoDrag) {
    StartMeasurement();
    Click(C0());
    const double left = C0().Left(), top = C0().Top();
    user::MouseDown(C0(), kLeftButton, 0, 100, 100);
    user::MouseMove(C0(), kLeftButton, 0, 115, 85);
    EXPECT_EQ(C0().Left(), left);
    EXPECT_EQ(C0().Top(), top);
    user::MouseMove(C0(), kLeftButton, 0, 100, 116);
    EXPECT_EQ(C0().Left(), left);
    EXPECT_EQ(C0().Top(), top + 16);
    // Without the left button the pointer only passes over.
    user::MouseMove(C0(), 0, 0, 400, 400);
    EXPECT_EQ(C0().Top(), top + 16);
}

TEST_F(Crosshairs, DraggingOneCrosshairUpdatesItsCornerAndTheReadout) {
    StartMeasurement();
    Click(C0());
    const std::int32_t x1 = G().CrossX[1], y1 = G().CrossY[1];
    user::Drag(C0(), 100, 100, 100 + 4500, 100 + 6000, 5);
    EXPECT_EQ(G().CrossX[0], RoundHalfEven(C0().Left()));
    EXPECT_EQ(G().CrossY[0], RoundHalfEven(C0().Top()));
    EXPECT_EQ(G().CrossX[1], x1);
    EXPECT_EQ(G().CrossY[1], y1);
    EXPECT_TRUE(program->crossDistance().DistanceXYD.Visible());
    EXPECT_EQ(program->backend().screen().MousePointer, kPointerDefault);
}

TEST_F(Crosshairs, ArrowKeysAndTheKeypadNudgeByOnePixel) {
    StartMeasurement();
    Click(C0());
    const double left = C0().Left(), top = C0().Top();
    user::KeyDown(C0(), kKeyRight, 0);
    user::KeyDown(C0(), kKeyNumpad6, 0);
    user::KeyDown(C0(), kKeyDown, 0);
    EXPECT_EQ(C0().Left(), left + 30);
    EXPECT_EQ(C0().Top(), top + 15);
    user::KeyDown(C0(), kKeyLeft, 0);
    user::KeyDown(C0(), kKeyNumpad8, 0);
    user::KeyDown(C0(), kKeyUp, 0);
    user::KeyDown(C0(), kKeyNumpad4, 0);
    user::KeyDown(C0(), kKeyNumpad2, 0);
    EXPECT_EQ(C0().Left(), left);
    EXPECT_EQ(C0().Top(), top);
    EXPECT_EQ(G().CrossX[0], left);
    user::KeyDown(C1(), kKeyUp, 0);
    EXPECT_EQ(G().CrossY[1], RoundHalfEven(C1().Top()));
}

TEST_F(Crosshairs, EachArrowPressIsOneScreenPixelAtEveryDensity) {
    // At 192 dpi a pixel is 7.5 twips: a step of whole twips must still land on each pixel.
    for (double tpp : {15.0, 10.0, 7.5}) {
        backend.screen().TwipsPerPixelX = backend.screen().TwipsPerPixelY = tpp;
        StartMeasurement();
        const PixelScale s(tpp, tpp);
        auto pixelsOf = [&](Form& f) {
            return std::pair{s.ToPixelsX(f.Left()), s.ToPixelsY(f.Top())};
        };
        Click(C0());
        const auto [x0, y0] = pixelsOf(C0());
        for (int i = 1; i <= 9; ++i) {
            user::KeyDown(C0(), kKeyRight, 0);
            user::KeyDown(C0(), kKeyUp, 0);
            EXPECT_EQ(pixelsOf(C0()), std::pair(x0 + i, y0 - i)) << tpp << " press " << i;
        }
        // The ruler with no marker chosen, and a marker along it.
        const auto [rx, ry] = pixelsOf(TheRuler());
        for (int i = 1; i <= 9; ++i) user::KeyDown(TheRuler(), kKeyRight, 0);
        EXPECT_EQ(pixelsOf(TheRuler()), std::pair(rx + 9, ry)) << tpp;
        user::KeyDown(TheRuler(), kKeyShift, kShiftMask);
        const int marker = s.ToPixelsY(G().MarkerPos[0]);
        for (int i = 1; i <= 9; ++i) {
            user::KeyDown(TheRuler(), kKeyDown, 0);
            EXPECT_EQ(s.ToPixelsY(G().MarkerPos[0]), marker + i) << tpp << " press " << i;
        }
        program->Exit();
    }
}

TEST_F(Crosshairs, ShiftAloneBlinksTheNextWindowAndHandsItTheFocus) {
    StartMeasurement(false, 4);
    Click(C0());
    platform.sleeps.clear();
    const int events = backend.DoEventsCount();
    user::KeyDown(C0(), kKeyShift, kShiftMask);
    EXPECT_EQ(platform.sleeps, std::vector<int>{200});
    EXPECT_EQ(backend.DoEventsCount(), events + 2);
    EXPECT_TRUE(C1().Visible());
    EXPECT_EQ(backend.FocusForm(), &C1());
    user::KeyDown(C1(), kKeyShift, kShiftMask);
    EXPECT_EQ(backend.FocusForm(), &program->crossDistance());
    user::KeyDown(program->crossDistance(), kKeyShift, kShiftMask);
    EXPECT_EQ(backend.FocusForm(), &C0());
    EXPECT_EQ(backend.FocusControl(), C0().HiddenBox);
    EXPECT_EQ(platform.sleeps, (std::vector<int>{200, 100, 200}));

    Click(S0());
    platform.sleeps.clear();
    user::KeyDown(S0(), kKeyShift, kShiftMask);
    user::KeyDown(S1(), kKeyShift, kShiftMask);
    EXPECT_EQ(backend.FocusForm(), &program->scaleDistance());
    user::KeyDown(program->scaleDistance(), kKeyShift, kShiftMask);
    EXPECT_EQ(backend.FocusForm(), &S0());
    EXPECT_EQ(platform.sleeps, (std::vector<int>{200, 200, 200}));
}

TEST_F(Crosshairs, ShiftWithAnotherModifierSwitchesNothing) {
    StartMeasurement();
    Click(C0());
    platform.sleeps.clear();
    user::KeyDown(C0(), kKeyShift, kShiftMask | kCtrlMask);
    user::KeyDown(C0(), kKeyShift, kShiftMask | kAltMask);
    user::KeyDown(C0(), kKeyControl, kShiftMask | kCtrlMask);
    EXPECT_TRUE(platform.sleeps.empty());
    EXPECT_EQ(backend.FocusForm(), &C0());
}

TEST_F(Crosshairs, ADoubleClickRecoloursOnlyThatCrosshair) {
    StartMeasurement();
    Click(C0());
    int item = -1;
    backend.modalScript = [&](Form& f) {
        item = -2;
        if (&f == &program->pickColor()) G().ColorChoice[kMeasurementCrosshairs] = RGB(1, 2, 3);
        f.Hide();
    };
    const Color before = C1().BackColor();
    user::DblClick(C0());
    EXPECT_EQ(item, -2);
    EXPECT_EQ(C0().BackColor(), RGB(1, 2, 3));
    EXPECT_EQ(C0().MyToolTip->BackColor(), RGB(1, 2, 3));
    EXPECT_EQ(C1().BackColor(), before);
    EXPECT_FALSE(program->pickColor().Loaded());
}

TEST_F(Crosshairs, DockingShrinksThePairAndGivesTheMeasuringBackToTheMarkers) {
    StartMeasurement();
    const double left0 = C0().Left();
    Click(C0());
    DockCrosshairs(*program, true);
    EXPECT_FALSE(G().CrossActive);
    EXPECT_EQ(C0().Width(), 165);
    EXPECT_EQ(C0().MousePointer, kPointerSizePointer);
    EXPECT_FALSE(program->crossDistance().Visible());
    EXPECT_TRUE(program->distanceWindow().Visible());
    EXPECT_TRUE(TheRuler().Line1[0]->Visible());
    EXPECT_TRUE(TheRuler().Line2[1]->Visible());
    EXPECT_EQ(Main().Label3.Caption(), "Distance (Black Marks)");
    // Docking again, or activating twice, changes nothing.
    DockCrosshairs(*program, true);
    EXPECT_EQ(C0().Left(), left0 - 105);
}

TEST_F(Crosshairs, TheModeSwitchLeavesThePanelAsDockingDoes) {
    // User units on a black ruler, where the marks are grey and the label says so.
    StartWith([](Settings& s) {
        s.MeasureMode = 1;
        s.MeasUnitsIndex = 4;
        s.ActiveFrame = 4;
        s.ColorChoice[kRulerBackground] = RGB(0, 0, 0);
    });
    MainWindow& mw = Main();
    Click(C0());
    DockCrosshairs(*program, true);
    const std::string docked = mw.Label3.Caption();
    EXPECT_EQ(docked, "Distance (Gray Marks)");
    EXPECT_TRUE(mw.Uncertainty.Enabled());

    // Both pairs off the ruler, then Measurement Mode off and on again.
    Click(C0());
    Click(S1());
    EXPECT_EQ(mw.Label3.Caption(), "Distance (Crosshairs)");
    EXPECT_FALSE(mw.Uncertainty.Enabled());
    user::Click(mw.MeasureMode);
    user::Click(mw.MeasureMode);
    EXPECT_FALSE(G().CrossActive);
    EXPECT_FALSE(G().ScaleCrossActive);
    EXPECT_EQ(mw.Label3.Caption(), docked);
    EXPECT_TRUE(mw.Uncertainty.Enabled());
    // The value measured on the marks carries the scale bar's uncertainty, as the box allows.
    EXPECT_NE(mw.MeasureDist.Text().find("\xC2\xB1"), std::string::npos) << mw.MeasureDist.Text();
}

TEST_F(Crosshairs, NothingDocksOrActivatesOutsideMeasurementMode) {
    StartSem();
    DockCrosshairs(*program, false);
    DockScaleCrosshairs(*program, false);
    EXPECT_FALSE(G().CrossActive);
    EXPECT_FALSE(G().ScaleCrossActive);
}

TEST_F(Crosshairs, TheScalePairHidesTheGreenMarksWhileActive) {
    StartMeasurement(false, 4);
    EXPECT_TRUE(S0().Visible());
    Click(S1());
    EXPECT_TRUE(G().ScaleCrossActive);
    EXPECT_FALSE(G().CrossActive);
    EXPECT_EQ(S0().Width(), 375);
    EXPECT_FALSE(TheRuler().ScaleLine1[0]->Visible());
    EXPECT_FALSE(TheRuler().ScaleLine2[1]->Visible());
    EXPECT_TRUE(program->scaleDistance().Visible());
    EXPECT_TRUE(program->distanceWindow().Visible());
    DockScaleCrosshairs(*program, true);
    EXPECT_TRUE(TheRuler().ScaleLine1[1]->Visible());
    EXPECT_FALSE(program->scaleDistance().Visible());
    EXPECT_TRUE(Main().Uncertainty.Enabled());
}

}  // namespace
}  // namespace tavrolin::testing
