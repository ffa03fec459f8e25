#include <gtest/gtest.h>

#include "RulerFixture.h"

namespace tavrolin::testing {
namespace {

using RulerMouse = RulerTest;

TEST_F(RulerMouse, AOnePixelJitterMovesNothingAndMoreThanOnePixelMovesTheRuler) {
    StartSem();
    auto [x, y] = OnTick(G().CenterIndex);
    Press(x, y);
    MoveTo(x + 15, y - 15);
    EXPECT_EQ(TheRuler().Top(), 1500);
    EXPECT_EQ(TheRuler().Left(), 150);
    MoveTo(x + 16, y);
    EXPECT_EQ(TheRuler().Left(), 166);
    // The grip and the read-out follow the ruler.
    EXPECT_EQ(program->wexoIcon().Left(), 166);
    Release(x, y);
}

TEST_F(RulerMouse, DraggingATickSetsTheSpacingSoTheTickStaysUnderThePointer) {
    StartSem();
    const int c = G().CenterIndex;
    auto [x, y] = OnTick(c + 8);
    Press(x, y);
    EXPECT_EQ(TheRuler().GrabTick, c + 8);
    EXPECT_EQ(backend.screen().MousePointer, kPointerSizeNS);
    MoveTo(x, 3750 + 8 * 300);
    EXPECT_EQ(G().TickSpacing, 300);
    EXPECT_EQ(TickLine(c + 8).Y1(), 3750 + 8 * 300);
    Release(x, 3750 + 8 * 300);
    EXPECT_EQ(backend.screen().MousePointer, kPointerDefault);
    EXPECT_EQ(TheRuler().GrabTick, -(c + 8));
}

TEST_F(RulerMouse, TheSpacingIsPinnedAtThreePixels) {
    StartSem();
    const int c = G().CenterIndex;
    auto [x, y] = OnTick(c + 8);
    Press(x, y);
    MoveTo(x, 3750 + 8 * 20);
    EXPECT_EQ(G().TickSpacing, 45);
    Release(x, 3750 + 8 * 20);
}

TEST_F(RulerMouse, ATickOnTheOtherSideMirrorsTheGestureDownToTheMinimum) {
    StartSem();
    const int c = G().CenterIndex;
    auto [x, y] = OnTick(c - 2);
    Press(x, y);
    MoveTo(x, 3750 + 100);
    EXPECT_EQ(G().TickSpacing, G().GrabUnit);
}

TEST_F(RulerMouse, PastTheWidestSpacingTheDragTurnsIntoAMove) {
    StartSem();
    const int c = G().CenterIndex;
    auto [x, y] = OnTick(c + 1);
    Press(x, y);
    MoveTo(x, 3750 + 3700);
    EXPECT_EQ(G().TickSpacing, 3650);  // half of 7500 less 100
    EXPECT_EQ(TheRuler().GrabTick, -1);
    EXPECT_EQ(backend.screen().MousePointer, kPointerDefault);
    EXPECT_EQ(TheRuler().Top(), 1500);
    MoveTo(x + 300, y + 600);
    EXPECT_EQ(TheRuler().GrabTick, c);
    EXPECT_EQ(backend.screen().MousePointer, kPointerSizeAll);
    EXPECT_EQ(TheRuler().Left(), 450);
    EXPECT_EQ(TheRuler().Top(), 2100);
}

TEST_F(RulerMouse, ABackgroundDragMovesTheRulerWithItsDockedCrosshairs) {
    StartMeasurement();
    Crosshair& c0 = program->cross0();
    const double left = c0.Left(), top = c0.Top();
    Press(600, 4000);
    EXPECT_EQ(backend.screen().MousePointer, kPointerSizeAll);
    MoveTo(600 + 450, 4000 - 300);
    EXPECT_EQ(TheRuler().Left(), 600);
    EXPECT_EQ(TheRuler().Top(), 1200);
    EXPECT_EQ(c0.Left(), left + 450);
    EXPECT_EQ(c0.Top(), top - 300);
    EXPECT_EQ(program->distanceWindow().Left(), 600);
}

TEST_F(RulerMouse, ALockedSemRulerNeitherMovesNorRescalesButStillToggles) {
    StartWith([](Settings& s) { s.MeasureMode = -1; }, {1500, 7500, 150, 900});
    auto [x, y] = OnTick(G().CenterIndex + 8);
    Press(x, y);
    MoveTo(x + 300, y + 600);
    Release(x + 300, y + 600);
    EXPECT_EQ(G().TickSpacing, 238);
    EXPECT_EQ(TheRuler().Left(), 150);
    Press(x, y, kRightButton);
    Release(x, y, kRightButton);
    EXPECT_EQ(Main().GetWindowState(), WindowState::Minimized);
    int pickers = 0;
    backend.modalScript = [&](Form&) { ++pickers; };
    user::DblClick(TheRuler());
    EXPECT_EQ(pickers, 1);
}

TEST_F(RulerMouse, RightClickMinimisesTheControlWindowAndRestoresItWhereItWas) {
    Start();
    Main().Move(4000, 2500);
    Press(300, 300, kRightButton);
    Release(300, 300, kRightButton);
    EXPECT_EQ(Main().GetWindowState(), WindowState::Minimized);
    EXPECT_EQ(G().ControlLeft, 4000);
    EXPECT_EQ(G().ControlTop, 2500);
    Main().Move(0, 0);
    Press(300, 300, kRightButton);
    Release(300, 300, kRightButton);
    EXPECT_EQ(Main().GetWindowState(), WindowState::Normal);
    EXPECT_EQ(Main().Left(), 4000);
    EXPECT_EQ(Main().Top(), 2500);
}

TEST_F(RulerMouse, ADoubleClickEditsWhatItsOwnPressTook) {
    StartSem();
    const int c = G().CenterIndex;
    MainWindow& mw = Main();
    mw.TickColor[1]->SetBackColor(0x111111);
    mw.ColorBox.SetBackColor(0x222222);
    auto [x, y] = OnTick(c + 8);
    // A tick drag first, then a double-click on the background.
    Press(x, y);
    MoveTo(x, y + 200);
    Release(x, y + 200);
    Press(100, 200);
    Release(100, 200);
    user::DblClick(TheRuler());
    EXPECT_EQ(mw.ColorBox.BackColor(), G().ColorChoice[kRulerBackground]);
    EXPECT_EQ(mw.TickColor[1]->BackColor(), 0x111111);
    // A tick that is a multiple of both indexes edits the primary ticks.
    auto [px, py] = OnTick(c + 8);
    Press(px, py);
    Release(px, py);
    user::DblClick(TheRuler());
    EXPECT_EQ(mw.TickColor[1]->BackColor(), G().ColorChoice[kPrimaryTicks]);
}

TEST_F(RulerMouse, ShrinkingTheSpacingPastTheBuiltTicksRebuildsTheRulerAtRelease) {
    StartSem();
    const std::string before = Slurp(folder.File("Tavrolin.cfg"));
    const int c = G().CenterIndex;
    Ruler* old = &TheRuler();
    auto [x, y] = OnTick(c + 8);
    Press(x, y);
    MoveTo(x, 3750 + 8 * 200);
    EXPECT_EQ(TheRuler().Tick.size(), 41u);
    Release(x, 3750 + 8 * 200);
    EXPECT_NE(&TheRuler(), old);
    EXPECT_EQ(G().TicksBuilt, 23);  // round(7500 / 400 + 4)
    EXPECT_EQ(TheRuler().Tick.size(), 47u);
    EXPECT_TRUE(TheRuler().Visible());
    EXPECT_EQ(G().TickSpacing, 200);
    EXPECT_EQ(TheRuler().Top(), 1500);
    EXPECT_EQ(TheRuler().Width(), 900);
    // The rebuild keeps the settings in memory: only leaving the program writes the file.
    EXPECT_EQ(Slurp(folder.File("Tavrolin.cfg")), before);
    program->Exit();
    EXPECT_EQ(ConfigValue("Tavrolin.cfg", "TickSpacing"), "200");
}

TEST_F(RulerMouse, AMarkerDragMovesTheMarkerAndItsDockedCrosshair) {
    StartMeasurement();
    Ruler& r = TheRuler();
    Press(300, 1875);
    EXPECT_EQ(r.GrabMarker, 0);
    EXPECT_EQ(backend.screen().MousePointer, kPointerSizeNS);
    MoveTo(300, 1875 + 300);
    EXPECT_EQ(r.Line1[0]->Y1(), 2175);
    EXPECT_EQ(G().MarkerPos[0], 1875);  // the press position stays the reference
    // The read-outs follow the marker, not its stored place.
    EXPECT_EQ(program->distanceWindow().Distance.Text(), "230");
    EXPECT_EQ(program->mainWindow().MeasureDist.Text(), "230");
    const double crossTop = program->cross0().Top();
    MoveTo(300, 1875 + 450);
    EXPECT_EQ(program->cross0().Top(), crossTop + 150);
    Release(300, 1875 + 450);
    EXPECT_EQ(G().MarkerPos[0], 2325);
    EXPECT_EQ(program->distanceWindow().Distance.Text(), "220");
    EXPECT_EQ(r.GrabMarker, 0);
    EXPECT_EQ(TheRuler().Top(), 1500);
}

TEST_F(RulerMouse, AMarkerStaysInsideTheRuler) {
    StartMeasurement();
    Press(300, 1875);
    MoveTo(300, 20);
    EXPECT_EQ(TheRuler().Line1[0]->Y1(), 1875);
    MoveTo(300, 1875 + 7500);
    EXPECT_EQ(TheRuler().Line1[0]->Y1(), 1875);
}

TEST_F(RulerMouse, ThePointerShowsWhatAPressWouldTake) {
    StartSem();
    auto [x, y] = OnTick(G().CenterIndex);
    MoveTo(x, y, 0);
    EXPECT_EQ(backend.screen().MousePointer, kPointerSizeAll);
    auto [tx, ty] = OnTick(G().CenterIndex + 3);
    MoveTo(tx, ty, 0);
    EXPECT_EQ(backend.screen().MousePointer, kPointerSizeNS);
    MoveTo(30, ty + 119, 0);
    EXPECT_EQ(backend.screen().MousePointer, kPointerDefault);
}

TEST_F(RulerMouse, HoverOverAMarkerShowsTheSizingArrow) {
    StartMeasurement(true);
    // Horizontal, 750 thick: the short marks run from 187.5 to 375 across, hover band from 137.5.
    MoveTo(1875, 300, 0);
    EXPECT_EQ(backend.screen().MousePointer, kPointerSizeWE);
    MoveTo(1875 + 200, 300, 0);
    EXPECT_EQ(backend.screen().MousePointer, kPointerDefault);
    MoveTo(1875, 100, 0);
    EXPECT_EQ(backend.screen().MousePointer, kPointerDefault);
}

}  // namespace
}  // namespace tavrolin::testing
