#include <gtest/gtest.h>

#include "ProgramFixture.h"
#include "app/CommandLine.h"
#include "app/Instance.h"
#include "crosshair/Crosshair.h"
#include "crosshair/DistanceWindow.h"
#include "crosshair/LoupeWindow.h"
#include "ruler/WexoIcon.h"
#include "crosshair/CrossDistance.h"
#include "crosshair/ScaleDistance.h"
#include "settings/ConfigFile.h"
#include "settings/NumberText.h"

namespace tavrolin::testing {
namespace {

using StartupTest = ProgramTest;

TEST_F(StartupTest, WhileRunningTheLockHoldsTodayAndTheConfigurationPath) {
    Start();
    EXPECT_EQ(G().ConfigBaseName, "Tavrolin");
    EXPECT_EQ(Slurp(folder.File("Tavrolin.tmp")),
              LockFileContent(platform.today, folder.File("Tavrolin.cfg")));
    EXPECT_EQ(Main().SysFile.Caption(), "Using: Tavrolin.cfg");
    // The defaults are not written until the program ends.
    EXPECT_FALSE(Exists(folder.File("Tavrolin.cfg")));
}

TEST_F(StartupTest, AFirstRunInAnEmptyFolderLeavesTheDefaultsAsTheRulerLaidThemOut) {
    Start();
    program->Exit();
    EXPECT_FALSE(program->Running());
    EXPECT_TRUE(backend.QuitRequested());
    EXPECT_FALSE(Exists(folder.File("Tavrolin.tmp")));
    const std::string file = Slurp(folder.File("Tavrolin.cfg"));
    EXPECT_EQ(file.substr(0, 31), " 0            StartControlMin\r\n");
    EXPECT_NE(file.find("Reserved      Reserved\r\n"), std::string::npos);
    EXPECT_EQ(file.substr(file.size() - 29), " 48           EdgeTolerance\r\n");
    // 500 pixels of length at 238 twips spacing: round(15.76 + 4) ticks on each side.
    EXPECT_EQ(ConfigValue("Tavrolin.cfg", "HalfTicks"), "20");
    // Measurement Mode: the thickness is the marker length, half the stored width.
    EXPECT_EQ(ConfigValue("Tavrolin.cfg", "RulerStartWidth"), "750");
    EXPECT_EQ(ConfigValue("Tavrolin.cfg", "RulerStartHeight"), "7500");
    EXPECT_EQ(ConfigValue("Tavrolin.cfg", "MeasureMode"), "1");
    // Markers on whole pixels: 2812 and 4688 twips snap to 187 and 313 pixels.
    EXPECT_EQ(ConfigValue("Tavrolin.cfg", "MeasLine1Pos"), "1875");
    EXPECT_EQ(ConfigValue("Tavrolin.cfg", "MeasLine2Pos"), "5625");
    EXPECT_EQ(ConfigValue("Tavrolin.cfg", "ScaleLine1Pos"), "2805");
    EXPECT_EQ(ConfigValue("Tavrolin.cfg", "ScaleLine2Pos"), "4695");
    // The control window sat centred beside the ruler.
    EXPECT_EQ(ConfigValue("Tavrolin.cfg", "ControlTop"),
              std::to_string(RoundHalfEven((7500 - Main().Height()) / 2 + 1500)));
    EXPECT_EQ(ConfigValue("Tavrolin.cfg", "ControlLeft"), "2400");
}

TEST_F(StartupTest, ASecondInstanceTakesTheNextNameAndEachRemovesOnlyItsOwnLock) {
    Start();
    HeadlessBackend otherBackend;
    auto other = StartAnother(otherBackend);
    EXPECT_EQ(other->g().ConfigBaseName, "Tavrolin1");
    EXPECT_TRUE(Exists(folder.File("Tavrolin1.tmp")));
    other->Exit();
    EXPECT_FALSE(Exists(folder.File("Tavrolin1.tmp")));
    EXPECT_TRUE(Exists(folder.File("Tavrolin.tmp")));
    EXPECT_TRUE(Exists(folder.File("Tavrolin1.cfg")));
    program->Exit();
    EXPECT_FALSE(Exists(folder.File("Tavrolin.tmp")));
}

TEST_F(StartupTest, TheArgumentSelectsItsOwnConfiguration) {
    Start("ab1.c-d extra");
    EXPECT_EQ(G().ConfigBaseName, "TavrolinABC-");
    program->Exit();
    EXPECT_TRUE(Exists(folder.File("TavrolinABC-.cfg")));
}

TEST_F(StartupTest, SavedSettingsComeBackAtTheNextStart) {
    Start();
    G().TickSpacing = 300;
    G().ColorChoice[kPrimaryTicks] = 0x123456;
    G().MeasScaleValue = 12.5;
    Main().UseHRuler.SetValue(1);
    G().IsHorizontal = 1;
    TheRuler().Move(3000, 4500, 9000, 750);
    program->Exit();
    Start();
    EXPECT_EQ(G().TickSpacing, 300);
    EXPECT_EQ(G().ColorChoice[kPrimaryTicks], 0x123456);
    EXPECT_EQ(G().MeasScaleValue, 12.5);
    EXPECT_EQ(Main().UseHRuler.Value(), 1);
    EXPECT_EQ(TheRuler().Left(), 3000);
    EXPECT_EQ(TheRuler().Top(), 4500);
    EXPECT_EQ(TheRuler().Width(), 9000);
}

TEST_F(StartupTest, TheWindowsOfTheSavedModeAreShown) {
    Start();
    EXPECT_TRUE(Main().Visible());
    EXPECT_TRUE(TheRuler().Visible());
    EXPECT_TRUE(program->wexoIcon().Visible());
    EXPECT_TRUE(program->distanceWindow().Visible());
    EXPECT_TRUE(program->cross0().Visible());
    EXPECT_TRUE(program->cross1().Visible());
    EXPECT_FALSE(program->scale0().Visible());
    EXPECT_FALSE(G().StartingUp);
    // The ruler is at its saved place, above everything, at its opacity.
    EXPECT_EQ(TheRuler().Top(), 1500);
    EXPECT_EQ(TheRuler().Left(), 150);
    EXPECT_TRUE(platform.topmost.count(TheRuler().hWnd()));
    EXPECT_EQ(platform.alpha[TheRuler().hWnd()], 150);
    EXPECT_EQ(platform.alpha[program->cross0().hWnd()], 100);
    EXPECT_FALSE(platform.topmost.count(Main().hWnd()));
    // The ruler comes first: the control window is shown only once it has loaded everything.
    EXPECT_LT(TheRuler().ShownOrder(), Main().ShownOrder());
}

TEST_F(StartupTest, SemOptimizationModeHidesEveryMeasurementWindow) {
    Settings s = Settings::Defaults(15, 15, 6210);
    s.MeasureMode = 0;
    Spit(folder.File("Tavrolin.cfg"), FormatConfig(s, {1500, 7500, 150, 1500}));
    Start();
    EXPECT_EQ(Main().MeasureMode.Value(), 0);
    EXPECT_TRUE(TheRuler().Visible());
    EXPECT_FALSE(program->distanceWindow().Visible());
    EXPECT_FALSE(program->cross0().Visible());
    EXPECT_FALSE(program->scale1().Visible());
    EXPECT_FALSE(program->crossDistance().Visible());
}

TEST_F(StartupTest, ALockedRulerIsSavedAsMeasureModeLocked) {
    Settings s = Settings::Defaults(15, 15, 6210);
    s.MeasureMode = -1;
    Spit(folder.File("Tavrolin.cfg"), FormatConfig(s, {1500, 7500, 150, 1500}));
    Start();
    EXPECT_EQ(Main().PosLock.Value(), 1);
    EXPECT_EQ(Main().MeasureMode.Value(), 0);
    program->Exit();
    EXPECT_EQ(ConfigValue("Tavrolin.cfg", "MeasureMode Locked"), "-1");
}

TEST_F(StartupTest, AMinimisedControlWindowKeepsItsStoredPosition) {
    Settings s = Settings::Defaults(15, 15, 6210);
    s.StartControlMin = 1;
    s.ControlTop = 50;
    s.ControlLeft = 3000;
    Spit(folder.File("Tavrolin.cfg"), FormatConfig(s, {1500, 7500, 150, 1500}));
    Start();
    EXPECT_EQ(Main().GetWindowState(), WindowState::Minimized);
    program->Exit();
    EXPECT_EQ(ConfigValue("Tavrolin.cfg", "ControlTop"), "1000");
    EXPECT_EQ(ConfigValue("Tavrolin.cfg", "ControlLeft"), "3000");
    EXPECT_EQ(ConfigValue("Tavrolin.cfg", "StartControlMin"), "1");
}

TEST_F(StartupTest, ADamagedFileLoadsWhatItCanAndTheProgramKeepsRunning) {
    Spit(folder.File("Tavrolin.cfg"),
         " 0            StartControlMin\r\n 999999       HalfTicks\r\n 0            PrimaryIndex\r\n"
         "abc           SecondaryIndex\r\n 255          ColorChoice(0)\r\n");
    Start();
    EXPECT_TRUE(program->Running());
    EXPECT_EQ(G().PrimaryIndex, 1);
    EXPECT_EQ(G().SecondaryIndex, 4);
    EXPECT_EQ(G().ColorChoice[kRulerBackground], 255);
    EXPECT_EQ(G().TickSpacing, 238);
    EXPECT_EQ(TheRuler().BackColor(), 255);
    program->Exit();
    EXPECT_EQ(ConfigValue("Tavrolin.cfg", "PrimaryIndex"), "1");
}

TEST_F(StartupTest, HostileValuesAreClampedBeforeTheRulerIsBuilt) {
    Settings s = Settings::Defaults(15, 15, 6210);
    s.TickSpacing = 0;
    s.MeasLineLength = -5;
    s.RulerTransparency = 999;
    std::string text = FormatConfig(s, {1500, 1e9, 150, 1500});
    Spit(folder.File("Tavrolin.cfg"), text);
    Start();
    EXPECT_EQ(G().TickSpacing, 45);
    EXPECT_LE(G().LastTick, 2 * (400000 / 90 + 4) + 1);
    EXPECT_EQ(platform.alpha[TheRuler().hWnd()], 255);
    EXPECT_GT(TheRuler().Width(), 0);
}

TEST_F(StartupTest, AnOlderLayoutFileLoadsWithLengthsInInches) {
    Settings s = Settings::Defaults(15, 15, 6210);
    std::string text = FormatConfig(s, {1500, 7500, 150, 1500});
    // Older files have no length unit line, lengths in inches and end after the markers.
    std::string older;
    std::istringstream in(text);
    std::string line;
    int n = 0;
    while (std::getline(in, line)) {
        ++n;
        if (n == 6) continue;
        if (n == 7) line = " 0.75         CenterLength\r";
        if (n == 37) {
            older += "Reserved      Reserved\r\n";
            break;
        }
        older += line + "\n";
    }
    s.CrosshairTransparency = 7;
    Spit(folder.File("Tavrolin.cfg"), older);
    Start();
    EXPECT_EQ(G().ConvertLengthToDisplay, 1440);
    EXPECT_EQ(G().CenterLength, 1080);
    EXPECT_EQ(G().CrosshairTransparency, 100);
    EXPECT_EQ(G().ColorChoice[kMeasurementCrosshairs], 0x00FFFF);
    EXPECT_EQ(Main().Label1[9]->Caption(), "Length\nInches");
}

TEST_F(StartupTest, UnloadingRunsInOrderAndTheLockGoesLast) {
    Start();
    program->Exit();
    for (Form* f : backend.Forms()) EXPECT_FALSE(f->Loaded()) << f->Name();
    EXPECT_FALSE(Exists(folder.File("Tavrolin.tmp")));
}

TEST_F(StartupTest, AnInstalledProgramReadsTheFileBesideItUntilTheUserHasOneOfTheirOwn) {
    // An administrator's defaults beside the installed program.
    Settings s = Settings::Defaults(15, 15, 6210);
    s.TickSpacing = 400;
    Spit(folder.File("Tavrolin.cfg"), FormatConfig(s, {1500, 7500, 150, 750}));
    const std::string besideProgram = Slurp(folder.File("Tavrolin.cfg"));
    // A folder the user may not write, and a system folder that root could write: neither
    // gets a lock or this session's settings.
    for (const bool system : {false, true}) {
        platform.programFolderReadOnly = !system;
        platform.programFolderIsSystem = system;
        std::filesystem::remove_all(platform.userConfigFolder);
        Start();
        EXPECT_EQ(G().ConfigPath, platform.Join(platform.userConfigFolder, "Tavrolin.cfg"));
        EXPECT_EQ(G().TickSpacing, 400);
        G().TickSpacing = 300;
        program->Exit();
        EXPECT_EQ(ConfigValue("user-config/Tavrolin.cfg", "TickSpacing"), "300");
        EXPECT_EQ(Slurp(folder.File("Tavrolin.cfg")), besideProgram);
        EXPECT_FALSE(Exists(folder.File("Tavrolin.tmp")));
        // From now on the user's own file is the one read.
        Start();
        EXPECT_EQ(G().TickSpacing, 300);
        program->Exit();
    }
    // Without a home folder the defaults beside the program are read and nothing is written.
    std::filesystem::remove_all(platform.userConfigFolder);
    platform.userConfigFolder.clear();
    Start();
    EXPECT_EQ(G().TickSpacing, 400);
    EXPECT_EQ(Main().SysFile.Caption(), "Using: Tavrolin.cfg (not saved)");
    G().TickSpacing = 300;
    program->Exit();
    EXPECT_EQ(Slurp(folder.File("Tavrolin.cfg")), besideProgram);
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(folder.str())) {
        left.push_back(entry.path().filename().string());
    }
    EXPECT_EQ(left, std::vector<std::string>{"Tavrolin.cfg"});
}

TEST_F(StartupTest, LosingTheDisplaySavesAndLetsTheLockGoWithoutTouchingAWindow) {
    Start();
    TheRuler().Move(3000, 4500);
    // The loupe open beside a crosshair in use, refreshing on its timer.
    SetLoupe(*program, true);
    user::MouseDown(program->cross0(), kLeftButton, 0, 75, 75);
    ASSERT_TRUE(program->loupe().Visible());
    ASSERT_EQ(backend.TimerCount(), 1u);
    const int syncs = backend.SyncCount();
    const int reads = backend.ScreenReads();
    program->EndWithoutDisplay();
    backend.RunTimers();
    EXPECT_EQ(backend.TimerCount(), 0u);
    EXPECT_EQ(backend.ScreenReads(), reads);
    EXPECT_EQ(ConfigValue("Tavrolin.cfg", "Loupe"), "1");
    EXPECT_FALSE(program->Running());
    EXPECT_EQ(backend.SyncCount(), syncs);
    EXPECT_FALSE(backend.QuitRequested());
    EXPECT_TRUE(TheRuler().Loaded());
    EXPECT_FALSE(Exists(folder.File("Tavrolin.tmp")));
    EXPECT_EQ(ConfigValue("Tavrolin.cfg", "RulerStartLeft"), "3000");
    EXPECT_EQ(ConfigValue("Tavrolin.cfg", "RulerStartTop"), "4500");
}

TEST_F(StartupTest, TheVersionAndTheHelpTextsAreSetAtStart) {
    Start();
    EXPECT_EQ(Main().RulerLbl.Caption().rfind("Tavrolin.exe v", 0), 0u);
    EXPECT_EQ(MainWindow::VersionCaption(1, 2, 3), "Tavrolin.exe v1.2.003");
    EXPECT_EQ(G().HelpText[0].substr(0, 28), "For SEM Optimization Mode:\n\n");
    EXPECT_EQ(G().HelpText[0].substr(G().HelpText[0].size() - 21), " saving any changes.\n");
    EXPECT_NE(G().HelpText[1].find("Use Shift && Arrow Keys"), std::string::npos);
    EXPECT_EQ(G().VirtualScreenWidth, 1920 * 15);
    EXPECT_EQ(G().VirtualScreenHeight, 1080 * 15);
}

TEST(CommandLine, AnUnknownDoubleDashOptionIsRefusedNotTakenForAnInstance) {
    using Action = CommandLineRequest::Action;
    const CommandLineRequest bogus = ParseCommandLine({"--bogus"});
    EXPECT_EQ(bogus.action, Action::Refuse);
    EXPECT_EQ(bogus.problem, "unknown option --bogus");
    EXPECT_EQ(ParseCommandLine({"ab", "--x"}).action, Action::Refuse);
    EXPECT_EQ(ParseCommandLine({"--snapshot"}).action, Action::Refuse);
    // Instance words stay what they were, single dashes included; "--" ends the options.
    EXPECT_EQ(ParseCommandLine({"-style", "x"}).instance, "-style x");
    EXPECT_EQ(ParseCommandLine({"--", "--bo"}).instance, "--bo");
    const CommandLineRequest snap = ParseCommandLine({"--snapshot", "a.png", "abcd"});
    EXPECT_EQ(snap.action, Action::Run);
    EXPECT_EQ(snap.snapshotPath, "a.png");
    EXPECT_EQ(snap.instance, "abcd");
    const CommandLineRequest traced = ParseCommandLine({"ab", "--trace-startup"});
    EXPECT_TRUE(traced.traceStartup);
    EXPECT_EQ(traced.instance, "ab");
    EXPECT_FALSE(ParseCommandLine({"--", "--trace-startup"}).traceStartup);
    EXPECT_EQ(ParseCommandLine({"ab", "--help"}).action, Action::Help);
    EXPECT_EQ(ParseCommandLine({"-h"}).action, Action::Help);
}

}  // namespace
}  // namespace tavrolin::testing
