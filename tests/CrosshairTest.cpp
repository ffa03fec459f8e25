#include <gtest/gtest.h>

#include "RulerFixture.h"
#include "forms/PixelScale.h"
#include "crosshair/CrossDistance.h"
#include "crosshair/Crosshair.h"
#include "crosshair/Docking.h"
#include "crosshair/Loupe.h"
#include "crosshair/LoupeWindow.h"
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

    // A screen of 1920 x 1080 pixels, white with a black bar right of the control window; the
    // bar's ends fade over `fade` pixels.
    static constexpr int kBarLeft = 1000, kBarRight = 1099, kBarTop = 300, kBarBottom = 309;
    void ShowBar(int fade = 0) {
        backend.screen().Monitors = {{0, 0, 1920 * 15, 1080 * 15}};
        backend.screenPicture = [fade](int x, int y) -> std::uint32_t {
            if (y < kBarTop || y > kBarBottom) return 0xFFFFFF;
            const int in = std::min(x - kBarLeft, kBarRight - x);  // 0 on the bar's end pixels
            if (in >= 0) return 0;
            if (-in > fade) return 0xFFFFFF;
            const auto level = static_cast<std::uint32_t>(255 * -in / (fade + 1));
            return level * 0x010101u;
        };
    }
    static PixelPoint CentreOf(const Crosshair& c) {
        return {RoundHalfEven(c.Left() / 15) + 12, RoundHalfEven(c.Top() / 15) + 12};
    }
    // Drags an active crosshair so that its centre lies on the pixel (x, y).
    void DragCentreTo(Crosshair& c, int x, int y) {
        const PixelPoint at = CentreOf(c);
        user::Drag(c, 100, 100, 100 + (x - at.x) * 15.0, 100 + (y - at.y) * 15.0, 3);
        ASSERT_EQ(CentreOf(c), (PixelPoint{x, y}));
    }
    LoupeWindow& Loupe() { return program->loupe(); }
    // Ticks "Loupe" on the control window's measurement panel.
    void TurnLoupeOn() {
        user::Click(Main().Settings);
        user::Click(Main().LoupeCheck);
        ASSERT_EQ(G().LoupeOn, 1);
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

TEST_F(Crosshairs, WithTheLoupeOffNothingReadsTheScreenAndCtrlArrowStillNudges) {
    ShowBar();
    StartMeasurement(false, 4);
    Click(C0());
    Click(S0());
    const double left = C0().Left();
    user::KeyDown(C0(), kKeyRight, kCtrlMask);
    user::KeyDown(C0(), 'L' + 0, kShiftMask);  // not the loupe's key with Shift
    EXPECT_EQ(C0().Left(), left + 15);
    EXPECT_EQ(G().LoupeOn, 0);
    EXPECT_TRUE(C0().Shape().empty());
    EXPECT_EQ(backend.ScreenReads(), 0);
    EXPECT_EQ(backend.TimerCount(), 0u);
    program->Exit();
    EXPECT_EQ(ConfigValue("Tavrolin.cfg", "Loupe"), "0");
}

TEST_F(Crosshairs, TheLoupeShowsTheImageAroundTheActiveCentreFromBesideIt) {
    ShowBar();
    StartMeasurement(false, 4);
    TurnLoupeOn();
    // Nothing to magnify while both pairs are docked.
    EXPECT_EQ(backend.ScreenReads(), 0);
    Click(C0());
    DragCentreTo(C0(), 1050, 200);
    LoupeWindow& loupe = Loupe();
    ASSERT_TRUE(loupe.Visible());
    EXPECT_EQ(loupe.Caption(), "Loupe");
    EXPECT_FALSE(loupe.TakesFocus());
    EXPECT_TRUE(platform.topmost.count(loupe.hWnd()));
    // Diagonally beside the crosshair, clear of it and of its centre's row and column.
    EXPECT_EQ(loupe.Left(), (1050 + 12 + 1 + kLoupeGap) * 15);
    EXPECT_EQ(loupe.Top(), (200 + 12 + 1 + kLoupeGap) * 15);
    EXPECT_EQ(loupe.Width(), 160 * 15);
    EXPECT_EQ(loupe.Height(), 180 * 15);
    EXPECT_EQ(loupe.Info.Caption(), "1050, 200  RGB 255, 255, 255");
    // The crosshair in use is four corner brackets; the loupe sees through the rest.
    EXPECT_EQ(C0().Shape().size(), 8u);
    EXPECT_EQ(C1().Shape().size(), 8u);
    EXPECT_TRUE(S0().Shape().empty());  // docked
    const auto& rgb = loupe.View.Rgb();
    ASSERT_EQ(rgb.size(), 160u * 160u);
    auto at = [&](int px, int py) { return rgb[static_cast<std::size_t>(py * 160 + px)]; };
    // At 8x the centre's block starts at (76, 76). The bar's first row is 100 rows below the
    // centre, outside. Five pixels left, within the crosshair's window, the image shows.
    EXPECT_EQ(at(80, 80), 0xFFFFFFu);
    EXPECT_EQ(at(80 - 5 * 8, 80), 0xFFFFFFu);
    // At 4x a bracket's pixel 11 left of and above the centre is hatched, never yellow.
    user::Wheel(loupe, -4);
    const std::uint32_t bracket = at(78 - 11 * 4 + 1, 78 - 11 * 4 + 1);
    EXPECT_TRUE(bracket == kLoupeHatchLight || bracket == kLoupeHatchDark) << std::hex << bracket;
    user::Wheel(loupe, 4);

    // It follows every move at once, and refreshes on its timer while nothing moves.
    DragCentreTo(C0(), 1050, 305);
    EXPECT_EQ(loupe.Info.Caption(), "1050, 305  RGB 0, 0, 0");
    EXPECT_EQ(at(80, 80), 0u);
    const int reads = backend.ScreenReads();
    ASSERT_EQ(backend.TimerCount(), 1u);
    backend.RunTimers();
    EXPECT_EQ(backend.ScreenReads(), reads + 1);

    // Shift hands the focus, and the loupe, to the other crosshair.
    user::KeyDown(C0(), kKeyShift, kShiftMask);
    EXPECT_EQ(loupe.Info.Caption(), std::to_string(CentreOf(C1()).x) + ", " +
                                        std::to_string(CentreOf(C1()).y) + "  RGB 255, 255, 255");

    // Docking the pair takes the loupe away and stops the reading.
    DockCrosshairs(*program, true);
    EXPECT_FALSE(loupe.Visible());
    EXPECT_EQ(backend.TimerCount(), 0u);
    EXPECT_TRUE(C0().Shape().empty());
    program->Exit();
    EXPECT_EQ(ConfigValue("Tavrolin.cfg", "Loupe"), "1");
}

TEST_F(Crosshairs, CtrlArrowJumpsBothPairsOntoTheEndsOfABar) {
    ShowBar();
    StartMeasurement(false, 4);
    TurnLoupeOn();
    Click(C0());
    DragCentreTo(C0(), kBarLeft - 6, 305);
    user::KeyDown(C0(), kKeyRight, kCtrlMask);
    EXPECT_EQ(CentreOf(C0()), (PixelPoint{kBarLeft, 305}));
    DragCentreTo(C1(), kBarRight + 6, 305);
    user::KeyDown(C1(), kKeyLeft, kCtrlMask);
    EXPECT_EQ(CentreOf(C1()), (PixelPoint{kBarRight, 305}));
    EXPECT_EQ(G().CrossX[1] - G().CrossX[0], 99 * 15);

    // The green pair, up and down across the bar's rows, clear of the yellow pair's read-out.
    Click(S0());
    DragCentreTo(S0(), 1082, kBarTop - 6);
    user::KeyDown(S0(), kKeyDown, kCtrlMask);
    EXPECT_EQ(CentreOf(S0()), (PixelPoint{1082, kBarTop}));
    DragCentreTo(S1(), 1082, kBarBottom + 6);
    user::KeyDown(S1(), kKeyNumpad8, kCtrlMask);
    EXPECT_EQ(CentreOf(S1()), (PixelPoint{1082, kBarBottom}));
    EXPECT_EQ(G().ScaleY[1] - G().ScaleY[0], 9 * 15);
    EXPECT_EQ(program->scaleDistance().Distance.Text(), "100");  // the bar's length, typed

    // Only white for 400 pixels: no move. The L key turns the loupe off, and Ctrl+arrow
    // nudges again.
    DragCentreTo(S0(), 1500, 200);
    user::KeyDown(S0(), kKeyLeft, kCtrlMask);
    EXPECT_EQ(CentreOf(S0()), (PixelPoint{1500, 200}));
    user::KeyDown(S0(), 'L', 0);
    EXPECT_EQ(G().LoupeOn, 0);
    EXPECT_EQ(Main().LoupeCheck.Value(), 0);
    EXPECT_TRUE(S0().Shape().empty());
    EXPECT_FALSE(Loupe().Visible());
    user::KeyDown(S0(), kKeyLeft, kCtrlMask);
    EXPECT_EQ(CentreOf(S0()), (PixelPoint{1499, 200}));

    // In pixels, the yellow pair's read-out shows the bar's length less one, exactly.
    user::Click(Main().Option3);
    EXPECT_EQ(program->crossDistance().Distance.Text(), "99");
}

TEST_F(Crosshairs, AnEdgeFadedOverEightPixelsIsMetNearItsMiddle) {
    ShowBar(8);
    StartMeasurement();
    TurnLoupeOn();
    Click(C0());
    DragCentreTo(C0(), kBarLeft - 20, 305);
    user::KeyDown(C0(), kKeyRight, kCtrlMask);
    // The fade runs over x = 992 (light) to 999 (dark); its middle lies between 995 and 996.
    EXPECT_NEAR(CentreOf(C0()).x, kBarLeft - 4.5, 1.0);
}

TEST_F(Crosshairs, TheLoupeZoomsWithinItsLimitsAndKeepsWhereTheUserPutIt) {
    ShowBar();
    StartMeasurement();
    TurnLoupeOn();
    Click(C0());
    DragCentreTo(C0(), 1050, 305);
    LoupeWindow& loupe = Loupe();
    user::Wheel(loupe, 1);
    EXPECT_EQ(G().LoupeZoom, 9);
    for (int i = 0; i < 20; ++i) user::Wheel(loupe, -1);
    EXPECT_EQ(G().LoupeZoom, kLoupeZoomMin);
    // + and - reach it through the crosshair, which keeps the focus.
    for (int i = 0; i < 20; ++i) user::Type(*C0().HiddenBox, "+");
    EXPECT_EQ(G().LoupeZoom, kLoupeZoomMax);
    user::Type(*C0().HiddenBox, "-");
    EXPECT_EQ(G().LoupeZoom, kLoupeZoomMax - 1);
    EXPECT_EQ(C0().HiddenBox->Text(), "");

    // Dropped over the crosshair's row, it goes beside the crosshair on the side the user
    // chose, and keeps its place beside it as the crosshair moves.
    EXPECT_EQ(loupe.Left(), (1050 + 21) * 15);
    EXPECT_EQ(loupe.Top(), (305 + 21) * 15);
    user::Drag(loupe, 300, 300, 300 - 250 * 15, 300 - 150 * 15, 3);
    EXPECT_EQ(loupe.Left(), (1050 + 21 - 250) * 15);  // clear of the crosshair: where dropped
    EXPECT_EQ(loupe.Top(), (305 - 12 - kLoupeGap - 180) * 15);  // was over its row: above it
    user::KeyDown(C0(), kKeyRight, 0);
    EXPECT_EQ(loupe.Left(), (1050 + 21 - 250 + 1) * 15);

    // Near the monitor's right edge it goes over to the left.
    DragCentreTo(C0(), 1900, 500);
    EXPECT_LE(loupe.Left() + loupe.Width(), 1900 * 15);
    program->Exit();
    EXPECT_EQ(ConfigValue("Tavrolin.cfg", "LoupeZoom"), "15");
}

}  // namespace
}  // namespace tavrolin::testing
