#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "RulerFixture.h"
#include "control/Calibrations.h"
#include "control/KeepDialog.h"
#include "control/MeasurementLog.h"
#include "control/MonitorScales.h"
#include "crosshair/CrossDistance.h"
#include "crosshair/Crosshair.h"
#include "crosshair/Docking.h"
#include "crosshair/ScaleDistance.h"

namespace tavrolin::testing {
namespace {

class Readouts : public RulerTest {
protected:
    Crosshair& C0() { return program->cross0(); }
    Crosshair& C1() { return program->cross1(); }
    Crosshair& S0() { return program->scale0(); }
    Crosshair& S1() { return program->scale1(); }
    CrossDistance& CD() { return program->crossDistance(); }
    ScaleDistance& SD() { return program->scaleDistance(); }
    void Click(Crosshair& c) {
        user::MouseDown(c, kLeftButton, 0, 75, 75);
        user::MouseUp(c, kLeftButton, 0, 75, 75);
    }
    // Puts crosshair 1 of the measurement pair at an offset in pixels from crosshair 0.
    void Apart(double dxPx, double dyPx) {
        C1().Move(C0().Left() + dxPx * 15, C0().Top() + dyPx * 15);
        user::KeyDown(C1(), kKeyRight, 0);
        user::KeyDown(C1(), kKeyLeft, 0);
    }
    void Pixels() {
        G().MeasUnitsIndex = 3;
        G().UnitsCode = 0;
        G().PixelsPerUnit = 1;
    }
    static bool Overlap(const Form& a, const Form& b) {
        return a.Left() < b.Left() + b.Width() && b.Left() < a.Left() + a.Width() &&
               a.Top() < b.Top() + b.Height() && b.Top() < a.Top() + a.Height();
    }
};

TEST_F(Readouts, ASkewPairShowsFourLinesAndTheWindowFitsThem) {
    StartMeasurement();
    Pixels();
    Click(C0());
    Apart(300, 400);
    EXPECT_TRUE(CD().Visible());
    EXPECT_TRUE(CD().DistanceXYD.Visible());
    EXPECT_FALSE(CD().Distance.Visible());
    EXPECT_EQ(CD().DistanceXYD.Text(), "  X: 300\r\n  Y: 400\r\n  D: 500.0\r\n  A: 53.13");
    EXPECT_EQ(Main().MeasureDist.Text(), "500.0");
    EXPECT_EQ(CD().Height(), CD().DistanceXYD.Height());
    EXPECT_EQ(CD().Width(), CD().DistanceXYD.Width());
    EXPECT_GE(CD().Width(), CD().TextWidth("  D: 500.0") + 100);
    EXPECT_GE(CD().Height(), 4 * 16 * 15);
}

TEST_F(Readouts, APairLevelWithinHalfAPixelShowsOneLineAndTheWindowShrinks) {
    StartMeasurement();
    Pixels();
    Click(C0());
    Apart(300, 400);
    const double tall = CD().Height();
    C1().Move(C0().Left() + 1500, C0().Top() + 6);  // 0.4 pixel lower, 100 pixels across
    user::KeyDown(C1(), kKeyShift, kCtrlMask);      // any key stores the corner and updates
    EXPECT_TRUE(CD().Distance.Visible());
    EXPECT_FALSE(CD().DistanceXYD.Visible());
    EXPECT_EQ(CD().Distance.Text(), "100");
    EXPECT_EQ(Main().MeasureDist.Text(), "100");
    EXPECT_LT(CD().Height(), tall);
    EXPECT_EQ(CD().Height(), CD().Distance.Height());
}

TEST_F(Readouts, AZeroUnitFactorShowsInvalid) {
    StartMeasurement(false, 4);
    Click(C0());
    G().UnitsCode = 4;
    G().PixelsPerUnit = 0;
    Apart(300, 400);
    EXPECT_TRUE(CD().Distance.Visible());
    EXPECT_FALSE(CD().DistanceXYD.Visible());
    EXPECT_EQ(CD().Distance.Text(), "Invalid");
    EXPECT_EQ(Main().MeasureDist.Text(), "Green Mark Distance = 0");
}

TEST_F(Readouts, TheReadoutSitsBesideThePairAndClearOfBothCrosshairs) {
    StartMeasurement();
    Pixels();
    Click(C0());
    for (auto [dx, dy] : {std::pair{300.0, 400.0}, {30.0, 0.0}, {0.0, 20.0}, {0.0, 0.0},
                          {-250.0, 10.0}}) {
        Apart(dx, dy);
        EXPECT_FALSE(Overlap(CD(), C0())) << dx << "," << dy;
        EXPECT_FALSE(Overlap(CD(), C1())) << dx << "," << dy;
        // Next to the pair: its centre within the pair's span and a window's size of it.
        const double cx = CD().Left() + CD().Width() / 2;
        const double lo = std::min(C0().Left(), C1().Left()) - CD().Width();
        const double hi = std::max(C0().Left(), C1().Left()) + 375 + CD().Width();
        EXPECT_TRUE(lo <= cx && cx <= hi) << dx << "," << dy;
    }
}

TEST_F(Readouts, TheReadoutTextIsSelectableAfterADoubleClick) {
    StartMeasurement();
    Pixels();
    Click(C0());
    Apart(300, 400);
    TextBox& box = CD().DistanceXYD;
    EXPECT_TRUE(box.Locked());
    user::DblClick(box);
    user::MouseDown(box, kLeftButton, 0, 30, 30);
    user::MouseUp(box, kLeftButton, 0, 30, 30);
    EXPECT_EQ(box.SelStart(), 0);
    EXPECT_EQ(box.SelLength(), static_cast<int>(box.Text().size()));
    EXPECT_FALSE(box.Flag());
    EXPECT_EQ(box.ToolTipText(),
              "Drag onto ruler to dock crosshairs.  Double click to select text.  Use Arrow keys "
              "and Shift for precise positioning.");
    EXPECT_EQ(CD().Caption(), "Crosshair Distance");
}

TEST_F(Readouts, DraggingTheReadoutMovesItAndArrowsNudgeIt) {
    StartMeasurement();
    Pixels();
    Click(C0());
    Apart(300, 400);
    const double left = CD().Left(), top = CD().Top();
    TextBox& box = CD().DistanceXYD;
    user::MouseDown(box, kLeftButton, 0, 30, 30);
    EXPECT_EQ(backend.screen().MousePointer, kPointerSizePointer);
    user::MouseMove(box, kLeftButton, 0, 45, 45);  // one pixel: nothing
    EXPECT_EQ(CD().Left(), left);
    user::MouseMove(box, kLeftButton, 0, 330, 230);
    user::MouseUp(box, kLeftButton, 0, 30, 30);
    EXPECT_EQ(CD().Left(), left + 300);
    EXPECT_EQ(CD().Top(), top + 200);
    EXPECT_EQ(backend.screen().MousePointer, kPointerDefault);
    EXPECT_TRUE(G().CrossActive);
    user::KeyDown(CD(), kKeyLeft, 0);
    user::KeyDown(CD(), kKeyNumpad2, 0);
    EXPECT_EQ(CD().Left(), left + 285);
    EXPECT_EQ(CD().Top(), top + 215);
}

TEST_F(Readouts, DroppingTheReadoutOnTheRulerDocksThePairOnTheMarkers) {
    StartMeasurement();
    Pixels();
    const double dockedLeft = C0().Left(), dockedTop1 = C1().Top();
    Click(C0());
    Apart(300, 400);
    TextBox& box = CD().DistanceXYD;
    // Drag the read-out so that its centre lands on the ruler (left 150, 750 wide).
    const double toX = TheRuler().Left() + 375 - (CD().Left() + CD().Width() / 2);
    const double toY = TheRuler().Top() + 3000 - (CD().Top() + CD().Height() / 2);
    user::MouseDown(box, kLeftButton, 0, 30, 30);
    user::MouseMove(box, kLeftButton, 0, 30 + toX, 30 + toY);
    user::MouseUp(box, kLeftButton, 0, 30, 30);
    EXPECT_FALSE(G().CrossActive);
    EXPECT_FALSE(CD().Visible());
    EXPECT_TRUE(program->distanceWindow().Visible());
    EXPECT_EQ(C0().Width(), 165);
    EXPECT_EQ(C0().Left(), dockedLeft);
    EXPECT_EQ(C1().Left(), dockedLeft);
    EXPECT_EQ(C1().Top(), dockedTop1);
    EXPECT_EQ(G().CrossY[1], dockedTop1);
}

TEST_F(Readouts, ADropBesideTheRulerDocksNothing) {
    StartMeasurement();
    Pixels();
    Click(C0());
    Apart(300, 400);
    TextBox& box = CD().DistanceXYD;
    user::MouseDown(box, kLeftButton, 0, 30, 30);
    user::MouseMove(box, kLeftButton, 0, 3000, 30);
    user::MouseUp(box, kLeftButton, 0, 30, 30);
    EXPECT_TRUE(G().CrossActive);
}

TEST_F(Readouts, TheScaleBoxTakesOnlyDigitsPointAndBackspaceAndFeedsTheControlWindow) {
    StartMeasurement(false, 4);
    Click(S0());
    TextBox& box = SD().Distance;
    box.SetText("");
    user::Type(box, "1a2-.,5x");
    EXPECT_EQ(box.Text(), "12.5");
    user::Type(box, "\b");
    EXPECT_EQ(box.Text(), "12.");
    user::Edit(box, " 40");
    EXPECT_EQ(box.Text(), "40");
    EXPECT_EQ(Main().ScaleDist.Text(), "40");
    EXPECT_EQ(SD().Width(), box.Width());
    EXPECT_GE(box.Width(), SD().TextWidth("40") + 100);
    // Keypad digits type into the box instead of nudging the window.
    const double left = SD().Left();
    user::KeyDown(box, 96 + 7, 0);
    EXPECT_EQ(box.Text(), "407");
    EXPECT_EQ(SD().Left(), left);
    user::KeyDown(box, kKeyRight, 0);
    EXPECT_EQ(SD().Left(), left + 15);
}

TEST_F(Readouts, ScaleCrosshairsCalibrateUserUnitsForTheMeasuringPair) {
    StartMeasurement(false, 4);
    G().UnitsCode = 4;
    Main().ScaleDist.SetText("50");
    Click(S0());
    // Scale crosshairs 200 pixels apart, level.
    S1().Move(S0().Left() + 3000, S0().Top());
    user::KeyDown(S1(), kKeyShift, kCtrlMask);
    EXPECT_DOUBLE_EQ(G().PixelsPerUnit, 4);
    EXPECT_TRUE(SD().Distance.FontBold());
    user::KeyDown(S1(), kKeyDown, 0);
    EXPECT_FALSE(SD().Distance.FontBold());
    user::KeyDown(S1(), kKeyUp, 0);
    // A 100-pixel measurement reads 25.
    Click(C0());
    Apart(100, 0);
    EXPECT_EQ(CD().Distance.Text(), "25.0");
    EXPECT_EQ(Main().MeasureDist.Text(), "25.0");
}

TEST_F(Readouts, AZeroScaleDistanceNeverDividesAndShowsInvalid) {
    StartMeasurement(false, 4);
    G().UnitsCode = 4;
    // The control window refuses a zero itself; this is the read-out's own guard behind it.
    auto refuse = std::move(Main().ScaleDist.onChange);
    Main().ScaleDist.onChange = nullptr;
    Main().ScaleDist.SetText("0");
    Main().ScaleDist.onChange = std::move(refuse);
    // The number the windows calibrate on, which the silenced handler would have taken.
    G().ScaleBarLength = 0;
    Click(S0());
    EXPECT_EQ(G().PixelsPerUnit, 0);
    Click(C0());
    Apart(100, 50);
    EXPECT_EQ(CD().Distance.Text(), "Invalid");
    EXPECT_EQ(Main().MeasureDist.Text(), "Green Mark Distance = 0");
}

TEST_F(Readouts, DroppingTheScaleReadoutOnTheRulerDocksTheScalePair) {
    StartMeasurement(false, 4);
    const double dockedTop = S0().Top();
    Click(S0());
    TextBox& box = SD().Distance;
    const double toX = TheRuler().Left() + 375 - (SD().Left() + SD().Width() / 2);
    const double toY = TheRuler().Top() + 3000 - (SD().Top() + SD().Height() / 2);
    user::MouseDown(box, kLeftButton, 0, 30, 30);
    user::MouseMove(box, kLeftButton, 0, 30 + toX, 30 + toY);
    user::MouseUp(box, kLeftButton, 0, 30, 30);
    EXPECT_FALSE(G().ScaleCrossActive);
    EXPECT_EQ(S0().Width(), 165);
    EXPECT_EQ(S0().Top(), dockedTop);
    EXPECT_TRUE(TheRuler().ScaleLine1[0]->Visible());
    EXPECT_FALSE(SD().Visible());
}

TEST_F(Readouts, TheMarkerReadoutFitsItsTextAndSitsAboveTheRuler) {
    StartMeasurement();
    DistanceWindow& dw = program->distanceWindow();
    dw.Update("123.4");
    EXPECT_EQ(dw.Distance.Text(), "123.4");
    EXPECT_EQ(dw.Width(), dw.TextWidth("123.4") + 100);
    EXPECT_EQ(dw.Distance.Width(), dw.Width());
    dw.Shift();
    EXPECT_EQ(dw.Left(), TheRuler().Left());
    EXPECT_EQ(dw.Top(), TheRuler().Top() - dw.Height() - 100);
    EXPECT_EQ(dw.Caption(), "Marker Distance");
}

TEST_F(Readouts, EnterRecordsTheReadingShownOnTheRulerOrOnACrosshairInUse) {
    StartMeasurement(false, 4);
    G().UncertaintyPct = 3;
    Main().MeasureDist_Update(true);
    // The black marks in user units, with the scale bar's uncertainty carried in.
    user::KeyDown(TheRuler(), kKeyReturn, 0);
    const auto& rows = program->log().Rows();
    ASSERT_EQ(rows.size(), 1u);
    const LogRow& marks = rows[0];
    EXPECT_EQ(marks.number, 1);
    EXPECT_EQ(marks.date, "2026-12-08");
    EXPECT_EQ(marks.time, "14:05:09");
    EXPECT_EQ(marks.instance, "Tavrolin");
    EXPECT_FALSE(marks.crosshairs);
    EXPECT_EQ(Main().MeasureDist.Text(), marks.distance + "  ( \xC2\xB1 " + marks.uncertainty +
                                             " = " + marks.uncertaintyPercent + "% )");
    EXPECT_EQ(marks.uncertaintyPercent, "3.0");
    EXPECT_EQ(marks.x, "0");  // along a vertical ruler
    EXPECT_EQ(marks.y, marks.distance);
    EXPECT_EQ(marks.units, "user units");

    // The crosshairs in pixels: X, Y, the distance and the angle as the read-out shows them.
    Pixels();
    Click(C0());
    Apart(300, 400);
    user::KeyDown(C0(), kKeyReturn, 0);
    Apart(0, 250);
    user::KeyDown(C1(), kKeyReturn, 0);
    user::KeyDown(CD(), kKeyReturn, 0);  // the read-out records nothing
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_TRUE(rows[1].crosshairs);
    EXPECT_EQ(rows[1].number, 2);
    EXPECT_EQ(rows[1].x + " " + rows[1].y + " " + rows[1].distance + " " + rows[1].angle,
              "300 400 500.0 53.13");
    EXPECT_EQ(rows[1].units, "px");
    EXPECT_EQ(rows[1].uncertainty, "");
    EXPECT_EQ(rows[2].distance, CD().Distance.Text());
    EXPECT_EQ(rows[2].x, "0");
    EXPECT_EQ(rows[2].y, rows[2].distance);
    EXPECT_EQ(rows[2].angle, "");

    // Deleted rows keep their numbers; the next row goes on from the highest.
    program->log().Remove({0, 0, 7});
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].number, 2);
    user::KeyDown(C0(), kKeyReturn, 0);
    EXPECT_EQ(rows.back().number, 4);
}

TEST_F(Readouts, KeptCalibrationsComeBackWithCtrlAndADigitUntilTheScaleBarIsMeasuredAgain) {
    StartMeasurement(false, 4);
    // Two scale bars of 10 \xC2\xB5m, 212 and 106 pixels long, measured by the green pair.
    Main().ScaleDist.SetText("10");
    Click(S0());
    const std::string um = "\xC2\xB5m";
    S1().Move(S0().Left() + 212 * 15, S0().Top());
    user::KeyDown(S1(), kKeyShift, kCtrlMask);
    EXPECT_EQ(KeepCalibration(*program, CalibrationNow(*program, "x5000", um)), "");
    // The second through Ctrl+S and its dialog: a name kept already is refused there, with the
    // dialog still open; then another name and Enter.
    S1().Move(S0().Left() + 106 * 15, S0().Top());
    user::KeyDown(S1(), kKeyShift, kCtrlMask);
    std::string said;
    backend.modalScript = [&](Form& form) {
        auto& dialog = dynamic_cast<KeepDialog&>(form);
        EXPECT_EQ(dialog.Caption(), "Keep Calibration");
        EXPECT_EQ(dialog.FocusedControl(), &dialog.NameBox);
        EXPECT_EQ(dialog.Info.Caption(), "The scale bar: 10 units = 106.0 pixels, uncertainty 3 %.");
        user::Type(dialog.NameBox, "x5000");
        user::Type(dialog.UnitBox, um);
        user::KeyDown(dialog.NameBox, kKeyReturn, 0);
        said = dialog.Info.Caption();
        EXPECT_TRUE(dialog.Visible());
        user::Edit(dialog.NameBox, "x10000");
        user::KeyDown(dialog.NameBox, kKeyReturn, 0);
    };
    user::KeyDown(TheRuler(), 'S', kCtrlMask);
    EXPECT_EQ(said, "A calibration named x5000 is kept already.");
    EXPECT_EQ(Main().Frame4.Caption(), "Measurement Units: x10000 (" + um + ")");
    // Refused: a name kept already, a unit with a tab, a length of zero.
    EXPECT_NE(KeepCalibration(*program, CalibrationNow(*program, "x5000", "nm")), "");
    EXPECT_NE(KeepCalibration(*program, CalibrationNow(*program, "x2", "n\tm")), "");
    Calibration zero = CalibrationNow(*program, "zero", "nm");
    zero.length = 0;
    EXPECT_NE(KeepCalibration(*program, zero), "");
    const std::string file = folder.File("Tavrolin-calibrations.txt");
    EXPECT_EQ(Slurp(file), CalibrationHeader() + "x5000\t10\t" + um + "\t212\t3\r\nx10000\t10\t" +
                               um + "\t106\t3\r\n");

    // A crosshair distance of 100 pixels reads by the calibration brought back.
    Click(C0());
    Apart(100, 0);
    user::KeyDown(C0(), '1', kCtrlMask);
    EXPECT_EQ(CD().Distance.Text(), "4.717");
    EXPECT_EQ(Main().Frame4.Caption(), "Measurement Units: x5000 (" + um + ")");
    user::KeyDown(TheRuler(), '2', kCtrlMask);
    EXPECT_EQ(CD().Distance.Text(), "9.434");
    user::KeyDown(C0(), kKeyReturn, 0);
    EXPECT_EQ(program->log().Rows().back().calibration, "x10000");
    EXPECT_EQ(program->log().Rows().back().units, um);
    user::KeyDown(C0(), '3', kCtrlMask);  // no third calibration: nothing changes
    EXPECT_EQ(CD().Distance.Text(), "9.434");

    // A damaged line is passed over and kept; after a restart both are still there.
    program->Exit();
    {
        std::ofstream out(file, std::ios::binary | std::ios::app);
        out << "a line a person broke\r\n";
    }
    ::testing::internal::CaptureStderr();
    Start();  // the panel lists the library at start
    EXPECT_EQ(LoadCalibrations(*program).items.size(), 2u);
    EXPECT_EQ(LoadCalibrations(*program).damagedLines, 1);
    const std::string told = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(told.begin(), told.end(), '\n'), 1) << told;  // said once a run
    EXPECT_NE(Main().CalibList.ToolTipText().find("1 line of Tavrolin-calibrations.txt"),
              std::string::npos);
    Click(C0());
    Apart(100, 0);
    user::KeyDown(C0(), '1', kCtrlMask);
    EXPECT_EQ(CD().Distance.Text(), "4.717");
    // The panel lists both, the one in use chosen; choosing the other brings it back.
    ASSERT_EQ(Main().CalibList.RowCount(), 2u);
    EXPECT_EQ(Main().CalibList.Cell(1, 1), "x10000");
    EXPECT_EQ(Main().CalibList.Cell(1, 2), "10 " + um + " = 106.0 px");
    EXPECT_EQ(Main().CalibList.SelectedRows(), std::vector<std::size_t>{0});
    user::SelectRows(Main().CalibList, {1});
    EXPECT_EQ(CD().Distance.Text(), "9.434");
    EXPECT_EQ(Main().Frame4.Caption(), "Measurement Units: x10000 (" + um + ")");
    // The green pair measures again: a new calibration, without a name.
    Click(S0());
    EXPECT_EQ(Main().Frame4.Caption(), "Measurement Units");
    EXPECT_EQ(Main().CalibList.SelectedCount(), 0u);
    EXPECT_NE(Slurp(file).find("a line a person broke\r\n"), std::string::npos);
}

TEST_F(Readouts, MillimetresFollowTheDensityOfTheMonitorTheCrosshairsAreOn) {
    // A monitor of 96 dpi and, to its right, one of 144.
    backend.screen().Monitors = {{0, 0, 1920 * 15, 1080 * 15}, {1920 * 15, 0, 1280 * 15, 1024 * 15}};
    backend.screen().MonitorDpi = {96, 144};
    StartMeasurement(false, 1);
    Click(C0());
    Apart(100, 0);
    EXPECT_EQ(CD().Distance.Text(), "26.46");  // as it has always been on the main monitor
    auto onSecond = [&] {
        Click(C0());
        C0().Move(2400 * 15, C0().Top());
        user::KeyDown(C0(), kKeyRight, 0);
        Apart(100, 0);
        return CD().Distance.Text();
    };
    EXPECT_EQ(onSecond(), "17.64");
    // The settings page, outside Measurement Mode, tells both; 500 pixels per 100 mm set for
    // the second are kept apart from the settings file.
    MainWindow& mw = Main();
    user::Click(mw.Settings);
    user::Click(mw.MeasureMode);
    ASSERT_EQ(mw.MonitorList.RowCount(), 2u);
    EXPECT_EQ(mw.MonitorList.Cell(0, 1), "377.9 (96 dpi)");
    EXPECT_EQ(mw.MonitorList.Cell(1, 1), "566.9 (144 dpi)");
    user::SelectRows(mw.MonitorList, {1});
    user::Type(mw.MonitorBox, "5");  // on its way to a value: nothing is taken yet
    EXPECT_EQ(mw.MonitorList.Cell(1, 1), "566.9 (144 dpi)");
    user::Type(mw.MonitorBox, "00");
    EXPECT_EQ(mw.MonitorList.Cell(1, 1), "500.0 (set)");
    const std::string file = Slurp(folder.File("Tavrolin-monitors.txt"));
    EXPECT_EQ(file.substr(0, 1), "#");
    EXPECT_NE(file.find("\n1280x1024+1920+0\t500.00\n"), std::string::npos) << file;
    user::Click(mw.MeasureMode);
    EXPECT_EQ(onSecond(), "20.0");
    user::KeyDown(C0(), kKeyReturn, 0);
    EXPECT_EQ(program->log().Rows().back().distance, "20.0");
    const std::string settings = Slurp(folder.File("Tavrolin.cfg"));
    program->Exit();
    EXPECT_EQ(Slurp(folder.File("Tavrolin.cfg")).find("500"), settings.find("500"));
    Start();
    EXPECT_EQ(onSecond(), "20.0");
    // Emptied: the window system's density again.
    user::Click(Main().MeasureMode);
    user::SelectRows(Main().MonitorList, {1});
    EXPECT_EQ(Main().MonitorBox.Text(), "500.0");
    user::Edit(Main().MonitorBox, "");
    // A file that cannot be written: the value holds for this run, and the page says so.
    std::filesystem::remove(folder.File("Tavrolin-monitors.txt"));
    std::filesystem::create_directory(folder.File("Tavrolin-monitors.txt"));
    user::Type(Main().MonitorBox, "500");
    EXPECT_EQ(Main().MonitorLbl.Caption(), "Not kept in a file:");
    EXPECT_NE(Main().MonitorLbl.ToolTipText().find("Tavrolin-monitors.txt"), std::string::npos);
    user::Click(Main().MeasureMode);
    EXPECT_EQ(onSecond(), "20.0");
    user::Click(Main().MeasureMode);
    user::Edit(Main().MonitorBox, "");
    user::Click(Main().MeasureMode);
    EXPECT_EQ(onSecond(), "17.64");
}

TEST(MeasurementLogText, CsvQuotesWhatNeedsItAndTheClipboardTakesTheLocalesDecimalSeparator) {
    EXPECT_EQ(CsvRecord({"1", "a,b", "say \"hi\"", " x", "two\nlines", "", "5.5"}),
              "1,\"a,b\",\"say \"\"hi\"\"\",\" x\",\"two\nlines\",,5.5\r\n");
    LogRow row;
    row.number = 12;
    row.date = "2026-12-08";
    row.time = "14:05:09";
    row.instance = "TavrolinAB";
    row.crosshairs = true;
    row.x = "300";
    row.y = "400.5";
    row.distance = "500.0";
    row.angle = "53.13";
    row.units = "\xC2\xB5m";
    row.uncertainty = "15.0";
    row.uncertaintyPercent = "3.0";
    row.calibration = "x5000\tnew.1";
    const std::string header =
        "No\tDate\tTime\tInstance\tMeasured\tX\tY\tDistance\tAngle\tUnits\tUncertainty\t"
        "Uncertainty %\tCalibration\r\n";
    EXPECT_EQ(ClipboardRows({row}, ','),
              header + "12\t2026-12-08\t14:05:09\tTavrolinAB\tCrosshairs\t300\t400,5\t500,0\t53,13\t"
                       "\xC2\xB5m\t15,0\t3,0\tx5000 new.1\r\n");
    EXPECT_EQ(ClipboardRows({row}, '.').substr(header.size()),
              "12\t2026-12-08\t14:05:09\tTavrolinAB\tCrosshairs\t300\t400.5\t500.0\t53.13\t"
              "\xC2\xB5m\t15.0\t3.0\tx5000 new.1\r\n");
    EXPECT_EQ(CsvRecord(LogFields(row)),
              "12,2026-12-08,14:05:09,TavrolinAB,Crosshairs,300,400.5,500.0,53.13,\xC2\xB5m,15.0,3.0,"
              "x5000\tnew.1\r\n");
}

}  // namespace
}  // namespace tavrolin::testing
