// The control window: its pages, the mode and orientation switches, Hide/Show, the Shift key,
// the saved position, the settings fields and the manual link.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "RulerFixture.h"
#include "control/FieldRules.h"
#include "crosshair/CrossDistance.h"
#include "crosshair/ScaleDistance.h"
#include "picker/PickColor.h"

namespace tavrolin::testing {
namespace {

class ControlWindow : public RulerTest {
protected:
    void StartOnPage(int page, int measureMode) {
        StartWith([&](Settings& s) {
            s.ActiveFrame = page;
            s.MeasureMode = measureMode;
        });
    }
    // A horizontal ruler `length` twips long (the screen is 28800 x 16200 twips).
    void StartHorizontal(int length, int measureMode = 0) {
        StartWith(
            [&](Settings& s) {
                s.IsHorizontal = 1;
                s.MeasureMode = measureMode;
                s.ActiveFrame = 1;
            },
            RulerRect{1500, 900, 150, static_cast<double>(length)});
    }
    void Deactivate() {
        backend.Deliver([&] { Main().Form_Deactivate(); });
    }
    TextBox& Field(int i) { return *Main().Text1[static_cast<std::size_t>(i)]; }
};

TEST_F(ControlWindow, AboutThreeTimesCyclesModeHelpThenGeneralHelpThenAbout) {
    for (int mode : {0, 1}) {
        StartOnPage(1, mode);
        MainWindow& mw = Main();
        EXPECT_EQ(mw.Caption(), "Tavrolin");
        EXPECT_TRUE(mw.Frame1.Visible());

        user::Click(mw.About);
        EXPECT_EQ(mw.HelpInfo.Caption(), G().HelpText[static_cast<std::size_t>(mode)]);
        EXPECT_EQ(mw.Caption(), "Tavrolin Info");
        EXPECT_EQ(mw.About.Caption(), "More");
        EXPECT_TRUE(mw.Frame2.Visible());
        EXPECT_FALSE(mw.Frame1.Visible());
        EXPECT_EQ(G().ActiveFrame, 2);

        user::Click(mw.About);
        EXPECT_EQ(mw.HelpInfo.Caption(), G().HelpText[2]);
        EXPECT_EQ(mw.About.Caption(), "About");
        EXPECT_EQ(G().ActiveFrame, 2);

        user::Click(mw.About);
        EXPECT_TRUE(mw.Frame3.Visible());
        EXPECT_FALSE(mw.Frame2.Visible());
        EXPECT_FALSE(mw.PosLock.Visible());
        EXPECT_EQ(mw.Caption(), "Tavrolin About");
        EXPECT_EQ(mw.About.Caption(), "Info");
        EXPECT_EQ(G().ActiveFrame, 3);

        user::Click(mw.Settings);
        EXPECT_EQ(mw.Caption(), "Tavrolin");
        EXPECT_EQ(G().ActiveFrame, mode == 1 ? 4 : 1);
        EXPECT_EQ(mw.Frame4.Visible(), mode == 1);
        EXPECT_EQ(mw.PosLock.Visible(), mode == 0);
        program->Exit();
    }
}

TEST_F(ControlWindow, TheHelpAndAboutTextsAreTheProgramsOwn) {
    const auto help = MainWindow::HelpTexts();
    EXPECT_EQ(help[1].substr(0, 25), "For Measurement Mode:  \n\n");
    // "&&" is how a caption writes one "&".
    EXPECT_NE(help[1].find("Use Shift && Arrow Keys to fine tune the position of the marks \n"),
              std::string::npos);
    const std::string end = "\n\nClick Ruler and hit Esc to exit without\n saving any changes.\n";
    EXPECT_EQ(help[0].substr(help[0].size() - end.size()), end);
    EXPECT_EQ(help[2].back(), '\n');
    const std::string about = MainWindow::AboutText();
    EXPECT_EQ(about.substr(0, 26), "Two modes are available:\n\n");
    EXPECT_NE(about.find("\n\nSEM Optimization Mode: Displays a ruler"), std::string::npos);
    StartOnPage(3, 1);
    EXPECT_EQ(Main().VelbrinLbl.Caption(), "Tavrolin project");
    EXPECT_EQ(Main().RulerLbl.Caption().rfind("Tavrolin.exe v", 0), 0u);
}

TEST_F(ControlWindow, TheSavedPageComesBackAtStart) {
    StartOnPage(2, 1);
    EXPECT_TRUE(Main().Frame2.Visible());
    EXPECT_EQ(Main().HelpInfo.Caption(), G().HelpText[1]);
    EXPECT_EQ(Main().About.Caption(), "More");
    program->Exit();

    StartOnPage(3, 0);
    EXPECT_TRUE(Main().Frame3.Visible());
    EXPECT_FALSE(Main().Frame1.Visible());
    EXPECT_EQ(Main().Caption(), "Tavrolin About");
    program->Exit();

    // A settings page that does not match the saved mode follows the mode.
    StartOnPage(1, 1);
    EXPECT_TRUE(Main().Frame4.Visible());
    EXPECT_FALSE(Field(0).Visible());
    EXPECT_EQ(G().ActiveFrame, 4);
    EXPECT_EQ(Main().MeasureMode.BackColor(), kHighlightColor);
}

TEST_F(ControlWindow, ApplyWithAnUnchangedTickCountOnlyRedrawsTheTicks) {
    StartOnPage(1, 0);
    Ruler* before = &TheRuler();
    EXPECT_EQ(Main().Settings.Caption(), "Settings");
    Field(3).SetSelection(0, static_cast<int>(Field(3).Text().size()));
    user::Type(Field(3), "10");
    EXPECT_EQ(Main().Settings.Caption(), "Apply");
    EXPECT_EQ(Main().Settings.BackColor(), kHighlightColor);
    EXPECT_EQ(G().CenterLength, 1134);  // nothing is taken before Apply

    user::Click(Main().Settings);
    EXPECT_EQ(G().CenterLength, 567);  // 10 mm
    EXPECT_EQ(&TheRuler(), before);
    const Line& centre = TickLine(G().CenterIndex);
    EXPECT_DOUBLE_EQ(centre.X2() - centre.X1(), 567);
    EXPECT_EQ(Main().Settings.Caption(), "Settings");
    EXPECT_EQ(Main().Settings.BackColor(), kButtonFaceColor);
}

TEST_F(ControlWindow, ATypedNumberOfTicksSetsTheSpacingThatGivesIt) {
    StartOnPage(1, 0);  // a vertical ruler 7500 twips long, 20 ticks a side at 238 twips
    Ruler* before = &TheRuler();
    Field(0).SetSelection(0, static_cast<int>(Field(0).Text().size()));
    user::Type(Field(0), "10");
    user::Click(Main().Settings);
    EXPECT_NE(&TheRuler(), before);
    EXPECT_TRUE(TheRuler().Visible());
    // Six ticks fill each half of the ruler, four more lie beyond its ends.
    EXPECT_EQ(G().TickSpacing, 625);
    EXPECT_EQ(G().HalfTicks, 10);
    EXPECT_EQ(TheRuler().Tick.size(), 21u);
    EXPECT_EQ(Field(0).Text(), "10");
    EXPECT_EQ(Main().Settings.Caption(), "Settings");
    EXPECT_DOUBLE_EQ(TickLine(G().CenterIndex + 1).Y1() - TickLine(G().CenterIndex).Y1(), 625);

    user::Edit(Field(0), "30");
    user::Click(Main().Settings);
    EXPECT_EQ(G().TickSpacing, 144);
    EXPECT_EQ(TheRuler().Tick.size(), 61u);
    EXPECT_EQ(Field(0).Text(), "30");

    // Counts the ruler cannot have at its length give the nearest it can: the widest spacing a
    // drag allows, or ticks three pixels apart.
    user::Edit(Field(0), "2");
    user::Click(Main().Settings);
    EXPECT_EQ(G().TickSpacing, 3650);
    EXPECT_EQ(Field(0).Text(), "5");
    user::Edit(Field(0), "2000");
    user::Click(Main().Settings);
    EXPECT_EQ(G().TickSpacing, 45);
    EXPECT_EQ(Field(0).Text(), "87");
    EXPECT_EQ(TheRuler().Tick.size(), 175u);

    // A length applied alone leaves the spacing as it is.
    user::Edit(Field(3), "10");
    user::Click(Main().Settings);
    EXPECT_EQ(G().TickSpacing, 45);
    EXPECT_EQ(Field(0).Text(), "87");
}

TEST_F(ControlWindow, ATypedNumberOfTicksCountsTheRulerAtItsPresentLength) {
    StartHorizontal(15000);
    user::Edit(Field(0), "14");
    user::Click(Main().Settings);
    EXPECT_EQ(G().TickSpacing, 750);
    EXPECT_EQ(Field(0).Text(), "14");
    // A number typed before the ruler is turned is counted on the turned ruler.
    user::Edit(Field(0), "24");
    user::Click(Main().UseHRuler);
    EXPECT_EQ(TheRuler().Height(), 15000);
    EXPECT_EQ(G().TickSpacing, 375);
    user::Click(Main().Settings);
    EXPECT_EQ(TheRuler().Tick.size(), 49u);
    EXPECT_EQ(Field(0).Text(), "24");
}

TEST_F(ControlWindow, FieldsTakeOnlyWhatMakesSenseForThem) {
    StartOnPage(1, 0);
    TextBox& count = Field(0);
    user::Type(count, "a.-");
    EXPECT_EQ(count.Text(), "20");
    EXPECT_EQ(Main().Settings.Caption(), "Settings");
    user::Edit(count, "99999");  // an edit beyond any sane count
    EXPECT_EQ(count.Text(), "20");
    count.SetSelection(0, 2);
    user::Paste(count, "3 x\n0");  // pasted text is filtered as typed text
    EXPECT_EQ(count.Text(), "30");
    EXPECT_EQ(Main().Settings.Caption(), "Apply");
    user::Paste(count, "9999");
    EXPECT_EQ(count.Text(), "309") << "each pasted digit met the change rule as a typed one";
    user::Edit(count, "20");
    user::Edit(Field(1), "0");  // an index of 0 would divide by zero: kept out at Apply
    user::Edit(Field(7), "");
    user::Type(Field(4), ".5");
    EXPECT_EQ(Field(4).Text(), "10.5");
    user::Edit(Field(5), "1.2.3");
    EXPECT_EQ(Field(5).Text(), "5");
    user::Click(Main().Settings);
    EXPECT_EQ(G().PrimaryIndex, 8);
    EXPECT_EQ(G().TickWidth[1], 3);
    EXPECT_EQ(G().PrimaryLength, RoundHalfEven(10.5 * 56.69));
    // The fields that held nothing acceptable show the value in use again.
    EXPECT_EQ(Field(1).Text(), "8");
    EXPECT_EQ(Field(7).Text(), "3");
}

TEST_F(ControlWindow, ATypedLengthComesBackAsTypedInEitherUnit) {
    StartOnPage(1, 0);
    EXPECT_EQ(Field(6).Text(), "2");  // the default other tick, 113 twips
    for (const char* typed : {"5", "99", "12.3", "0.1"}) {
        user::Edit(Field(4), typed);
        user::Click(Main().Settings);
        EXPECT_EQ(Field(4).Text(), typed);
    }
    EXPECT_EQ(G().PrimaryLength, 6);  // still whole twips
    user::Click(*Main().Label1[9]);
    for (const char* typed : {"0.5", "0.123", "1.001", "0.001"}) {
        user::Edit(Field(4), typed);
        user::Click(Main().Settings);
        EXPECT_EQ(Field(4).Text(), typed);
    }
    EXPECT_EQ(G().PrimaryLength, 1);
}

TEST_F(ControlWindow, TheLengthHeaderSwitchesUnitsWithoutShiftingTheLengths) {
    StartOnPage(1, 0);
    Label& header = *Main().Label1[9];
    EXPECT_EQ(Field(3).Text(), "20");
    user::Click(header);
    EXPECT_EQ(header.Caption(), "Length\nInches");
    EXPECT_EQ(G().ConvertLengthToDisplay, 1440);
    EXPECT_EQ(Field(3).Text(), "0.788");
    EXPECT_EQ(Main().Settings.Caption(), "Settings");
    user::Click(header);
    EXPECT_EQ(header.Caption(), "Length\nMM");
    EXPECT_EQ(G().CenterLength, 1134);
    user::Click(*Main().Label1[10]);  // the other headers do nothing
    EXPECT_EQ(header.Caption(), "Length\nMM");
}

TEST_F(ControlWindow, TheOrientationBoxTurnsTheRulerKeepingItsLengthAndThickness) {
    StartHorizontal(9000);
    TheRuler().Move(3000, 4500, 9600, 900);  // moved and lengthened since the start
    user::Click(Main().UseHRuler);
    EXPECT_EQ(G().IsHorizontal, 0);
    EXPECT_EQ(TheRuler().Width(), 900);
    EXPECT_EQ(TheRuler().Height(), 9600);
    EXPECT_EQ(TheRuler().Left(), 3000);
    EXPECT_EQ(G().RulerStartHeight, 9600);
    EXPECT_EQ(backend.FocusForm(), &TheRuler());
    // Ticks now stand out from the right edge.
    const Line& centre = TickLine(G().CenterIndex);
    EXPECT_EQ(centre.Y1(), centre.Y2());
    EXPECT_EQ(centre.X2(), 900);
}

TEST_F(ControlWindow, TurningARulerLongerThanTheScreenFitsItToEightyPercent) {
    StartHorizontal(33000);
    const double grip = program->wexoIcon().Height();
    user::Click(Main().UseHRuler);
    EXPECT_EQ(TheRuler().Top(), 1620);
    EXPECT_EQ(TheRuler().Height(), 0.8 * 16200 - grip);
    EXPECT_EQ(TheRuler().Width(), 900);

    // And back: 12720 fits across a 28800-twip screen, so the length stays.
    user::Click(Main().UseHRuler);
    EXPECT_EQ(G().IsHorizontal, 1);
    EXPECT_EQ(TheRuler().Width(), 0.8 * 16200 - grip);
    EXPECT_EQ(TheRuler().Height(), 900);
}

TEST_F(ControlWindow, ATurnedRulerNearTheScreenEdgeIsPulledBackOnScreen) {
    StartWith(
        [](Settings& s) {
            s.MeasureMode = 0;
            s.ActiveFrame = 1;
        },
        RulerRect{1500, 12000, 22000, 900});
    user::Click(Main().UseHRuler);
    const double grip = program->wexoIcon().Width();
    EXPECT_EQ(TheRuler().Width(), 12000);
    EXPECT_EQ(TheRuler().Left(), 28800 - 12000 - grip);
}

TEST_F(ControlWindow, TheCheckBoxesDoNothingWhileTheSettingsLoad) {
    StartHorizontal(9000, 1);
    const double width = TheRuler().Width();
    G().SettingsLoading = true;
    user::Click(Main().UseHRuler);
    user::Click(Main().MeasureMode);
    G().SettingsLoading = false;
    EXPECT_EQ(G().IsHorizontal, 1);
    EXPECT_EQ(TheRuler().Width(), width);
    EXPECT_TRUE(program->cross0().Visible());
    EXPECT_TRUE(program->distanceWindow().Visible());
    // A saved horizontal ruler in Measurement Mode starts as it was left.
    EXPECT_EQ(TheRuler().Left(), 150);
}

TEST_F(ControlWindow, TheLockHoldsWhenTheRulerRebuildsItself) {
    StartOnPage(1, 0);
    user::Click(Main().PosLock);
    user::Edit(Field(0), "10");
    Ruler* before = &TheRuler();
    user::Click(Main().Settings);
    ASSERT_NE(&TheRuler(), before);  // the settings came back through a load
    EXPECT_EQ(Main().PosLock.Value(), 1);
    EXPECT_EQ(Main().MeasureMode.Value(), 0);
    const double height = TheRuler().Height();
    user::Drag(program->wexoIcon(), 100, 100, 100, 400, 1);
    EXPECT_EQ(TheRuler().Height(), height);
    program->Exit();
    EXPECT_EQ(ConfigValue("Tavrolin.cfg", "MeasureMode Locked"), "-1");
}

TEST_F(ControlWindow, TheModeSwitchShowsTheWindowsOfTheNewMode) {
    StartWith([](Settings& s) {
        s.MeasureMode = 1;
        s.MeasUnitsIndex = 4;
        s.ActiveFrame = 4;
    });
    MainWindow& mw = Main();
    user::Click(mw.MeasureMode);
    EXPECT_EQ(G().ActiveFrame, 1);
    EXPECT_TRUE(mw.PosLock.Visible());
    EXPECT_FALSE(mw.Frame4.Visible());
    EXPECT_TRUE(Field(0).Visible());
    EXPECT_EQ(mw.MeasureMode.BackColor(), kButtonFaceColor);
    for (Form* f : {static_cast<Form*>(&program->distanceWindow()), static_cast<Form*>(&program->cross0()),
                    static_cast<Form*>(&program->cross1()), static_cast<Form*>(&program->scale0()),
                    static_cast<Form*>(&program->scale1())}) {
        EXPECT_FALSE(f->Visible()) << f->Name();
    }
    EXPECT_TRUE(TickLine(0).Visible());
    EXPECT_FALSE(TheRuler().Line1[0]->Visible());

    user::Click(mw.MeasureMode);
    EXPECT_EQ(G().ActiveFrame, 4);
    EXPECT_TRUE(mw.Frame4.Visible());
    EXPECT_FALSE(mw.PosLock.Visible());
    EXPECT_EQ(mw.MeasureMode.BackColor(), kHighlightColor);
    EXPECT_TRUE(program->distanceWindow().Visible());
    EXPECT_TRUE(program->cross0().Visible());
    EXPECT_TRUE(program->scale1().Visible());
    EXPECT_FALSE(program->crossDistance().Visible());
    EXPECT_FALSE(TickLine(0).Visible());
    EXPECT_TRUE(TheRuler().Line1[0]->Visible());
    // The crosshairs stand docked on their markers again.
    EXPECT_EQ(G().CrossY[0], 1500 + G().MarkerPos[0] - 75);
}

TEST_F(ControlWindow, HideAndShowTakeTheRulerAndItsWindowsAwayAndBack) {
    StartWith([](Settings& s) {
        s.MeasureMode = 1;
        s.MeasUnitsIndex = 4;
    });
    user::Click(Main().HideBtn);
    EXPECT_EQ(Main().HideBtn.Caption(), "Show");
    for (Form* f : backend.Forms()) {
        if (f != &Main()) {
            EXPECT_FALSE(f->Visible()) << f->Name();
        }
    }
    user::Click(Main().HideBtn);
    EXPECT_EQ(Main().HideBtn.Caption(), "Hide");
    for (Form* f : {static_cast<Form*>(&TheRuler()), static_cast<Form*>(&program->wexoIcon()),
                    static_cast<Form*>(&program->distanceWindow()), static_cast<Form*>(&program->cross0()),
                    static_cast<Form*>(&program->cross1()), static_cast<Form*>(&program->scale0()),
                    static_cast<Form*>(&program->scale1())}) {
        EXPECT_TRUE(f->Visible()) << f->Name();
    }
    EXPECT_FALSE(program->crossDistance().Visible());
}

TEST_F(ControlWindow, ShiftInTheControlWindowHandsTheKeysToTheRulerOnlyInMeasurementMode) {
    StartOnPage(1, 0);
    user::Click(Main().HideBtn);
    user::KeyDown(Main(), kKeyShift, kShiftMask);
    EXPECT_FALSE(TheRuler().Visible());
    EXPECT_EQ(Main().HideBtn.Caption(), "Show");
    program->Exit();

    StartOnPage(4, 1);
    user::Click(Main().HideBtn);
    user::KeyDown(Main(), kKeyShift, kShiftMask);
    EXPECT_TRUE(TheRuler().Visible());
    EXPECT_TRUE(program->cross0().Visible());
    EXPECT_EQ(Main().HideBtn.Caption(), "Hide");
    EXPECT_EQ(backend.FocusForm(), &TheRuler());
    // Shift with Ctrl held is a chord, not the Shift key alone.
    user::Click(Main().HideBtn);
    user::KeyDown(Main(), kKeyShift, kShiftMask | kCtrlMask);
    EXPECT_FALSE(TheRuler().Visible());
}

TEST_F(ControlWindow, TheSavedPositionIsNotOverwrittenWhileMinimised) {
    StartOnPage(1, 0);
    Main().Move(3000, 2400);
    Deactivate();
    EXPECT_EQ(G().ControlLeft, 3000);
    EXPECT_EQ(G().ControlTop, 2400);

    Main().WindowSystemState(WindowState::Minimized);
    Main().WindowSystemMoved(4500, 600);
    Deactivate();
    EXPECT_EQ(G().ControlLeft, 3000);
    Main().WindowSystemState(WindowState::Normal);
    Main().WindowSystemMoved(-480000, 900);  // where another window system parks it
    Deactivate();
    EXPECT_EQ(G().ControlLeft, 3000);
    EXPECT_EQ(G().ControlTop, 900);
}

TEST_F(ControlWindow, WindowsSavedBeyondEveryMonitorComeOntoTheNearestAtStart) {
    // Two monitors side by side, the right one shorter; a third once right of them is gone.
    platform.virtualScreenWidthPx = 3200;
    backend.screen().Monitors = {{0, 0, 28800, 16200}, {28800, 0, 19200, 10800}};
    StartWith([](Settings& s) {
        s.MeasureMode = 1;
        s.ControlLeft = 60000;
        s.ControlTop = 1500;
    }, RulerRect{12000, 7500, 35000, 750});  // under the right monitor, beside the left one
    EXPECT_EQ(Main().Left() + Main().Width(), 28800 + 19200);
    EXPECT_EQ(Main().Top(), 1500);
    // With the read-out above it and the grip below it, all on the monitor, and the docked
    // crosshairs along.
    WexoIcon& grip = program->wexoIcon();
    EXPECT_EQ(TheRuler().Left(), 35000);
    EXPECT_EQ(grip.Top() + grip.Height(), 10800);
    EXPECT_GE(program->distanceWindow().Top(), 0);
    const double top = TheRuler().Top();
    EXPECT_GE(program->cross0().Top(), top);
    EXPECT_LE(program->cross1().Top(), top + 7500);
    program->Exit();
    EXPECT_EQ(ConfigValue("Tavrolin.cfg", "ControlLeft"), std::to_string(48000 - static_cast<int>(Main().Width())));
    EXPECT_EQ(ConfigValue("Tavrolin.cfg", "RulerStartTop"), std::to_string(static_cast<int>(top)));

    // Partly on a monitor (past the desktop's right edge, past the left one's foot): each stays
    // where it was.
    StartWith([](Settings& s) {
        s.MeasureMode = 1;
        s.ControlLeft = 45000;
        s.ControlTop = 1500;
    }, RulerRect{14000, 7500, 150, 750});
    EXPECT_EQ(Main().Left(), 45000);
    EXPECT_EQ(Main().Top(), 1500);
    EXPECT_EQ(TheRuler().Top(), 14000);
}

TEST_F(ControlWindow, MovingThePointerOverTheWindowEndsADragPointer) {
    StartOnPage(1, 0);
    backend.SetMousePointer(kPointerSizeAll);
    user::MouseMove(Main(), 0, 0, 100, 100);
    EXPECT_EQ(backend.screen().MousePointer, kPointerDefault);
    for (Frame* f : {&Main().Frame1, &Main().Frame4}) {
        f->SetVisible(true);
        backend.SetMousePointer(kPointerSizeNS);
        user::MouseMove(*f, 0, 0, 10, 10);
        EXPECT_EQ(backend.screen().MousePointer, kPointerDefault) << f->Name();
    }
}

TEST_F(ControlWindow, TheWebSiteLabelOpensTheManualBesideTheProgram) {
    std::filesystem::create_directories(folder.File("docs/manual"));
    Spit(folder.File("docs/manual/index.html"), "<html></html>");
    StartOnPage(3, 0);
    std::string path = folder.str() + "/docs/manual/index.html";
    std::replace(path.begin(), path.end(), '\\', '/');
    // A drive letter comes after an empty host, as in file:///C:/Users/...
    const std::string url = (path[0] == '/' ? "file://" : "file:///") + path;
    EXPECT_EQ(Main().WebSite.Caption(), url);
    user::Click(Main().WebSite);
    ASSERT_EQ(platform.opened.size(), 1u);
    EXPECT_EQ(platform.opened[0], url);
    EXPECT_EQ(platform.CountCalls("ShellExecuteA(16, \"Open\""), 1);
    EXPECT_FALSE(Main().ManualNote.Visible());

    // No browser, no program for the file's type: the page says so and where the file is.
    platform.shellExecuteResult = 31;
    user::Click(Main().WebSite);
    const std::string file =
        std::filesystem::path(folder.File("docs/manual/index.html")).lexically_normal().make_preferred().string();
    EXPECT_TRUE(Main().ManualNote.Visible());
    EXPECT_EQ(Main().ManualNote.Caption(), "No program could open the manual. It is at:\n" + file);
    platform.shellExecuteResult = 33;
    user::Click(Main().WebSite);
    EXPECT_FALSE(Main().ManualNote.Visible());
}

TEST(ManualAddress, IsAFileUrlWithTheDriveAfterAnEmptyHostAndOtherBytesEncoded) {
    EXPECT_EQ(FileUrl("C:/Users/Zo\xC3\xAB/My Tools/docs/manual/index.html"),
              "file:///C:/Users/Zo%C3%AB/My%20Tools/docs/manual/index.html");
    EXPECT_EQ(FileUrl("/usr/share/doc/tavrolin/manual/index.html"),
              "file:///usr/share/doc/tavrolin/manual/index.html");
#ifdef _WIN32
    EXPECT_EQ(FileUrl("Z:\\work\\docs\\index.html"), "file:///Z:/work/docs/index.html");
    EXPECT_EQ(FileUrl("\\\\server\\share\\index.html"), "file://server/share/index.html");
#endif
}

TEST_F(ControlWindow, ASwatchOpensThePickerOnItsItemAndShowsTheChoice) {
    StartOnPage(1, 0);
    int seen = -1;
    backend.modalScript = [&](Form& f) {
        auto& picker = static_cast<PickColor&>(f);
        seen = picker.Item();
        picker.Palette_Click(13);  // blue
        user::Click(picker.ApplyBtn);
    };
    user::Click(*Main().TickColor[1]);
    EXPECT_EQ(seen, kPrimaryTicks);
    EXPECT_EQ(G().ColorChoice[kPrimaryTicks], RGB(0, 0, 255));
    EXPECT_EQ(Main().TickColor[1]->BackColor(), RGB(0, 0, 255));
    EXPECT_EQ(TickLine(G().CenterIndex + 8).BorderColor(), RGB(0, 0, 255));

    user::Click(Main().ColorBox);
    EXPECT_EQ(seen, kRulerBackground);
    EXPECT_EQ(TheRuler().BackColor(), RGB(0, 0, 255));
    EXPECT_EQ(Main().ColorBox.BackColor(), RGB(0, 0, 255));
    // Grey marks show on a dark ruler.
    EXPECT_EQ(TheRuler().Line1[0]->BorderColor(), RGB(180, 180, 180));
}

}  // namespace
}  // namespace tavrolin::testing
