#include "control/MainWindow.h"

#include <cstdio>

#include "app/Instance.h"
#include "app/Program.h"
#include "crosshair/CrossDistance.h"
#include "crosshair/Crosshair.h"
#include "crosshair/DistanceWindow.h"
#include "crosshair/ScaleDistance.h"
#include "forms/Backend.h"
#include "platform/Platform.h"
#include "ruler/Ruler.h"
#include "ruler/WexoIcon.h"
#include "settings/NumberText.h"

namespace tavrolin {

namespace {

// Geometry of the window, twips.
constexpr double kClientWidth = 5040;
constexpr double kClientHeight = 6210;
constexpr double kPageLeft = 90, kPageTop = 60, kPageWidth = 4860, kPageHeight = 5460;
constexpr double kButtonTop = 5640, kButtonWidth = 1140, kButtonHeight = 420;
constexpr double kRowHeight = 300, kBoxHeight = 330;

// Pieces of a help text, each ending in a line feed; an empty piece is the blank line between
// paragraphs.
std::string Join(std::initializer_list<const char*> pieces) {
    std::string text;
    for (const char* piece : pieces) {
        text += piece;
        text += '\n';
    }
    return text;
}

}  // namespace

MainWindow::MainWindow(Program& program)
    : Form(program.backend(), "MainWindow"),
      Frame1(Add<Frame>("Frame1")),
      Frame2(Add<Frame>("Frame2")),
      Frame3(Add<Frame>("Frame3")),
      Frame4(Add<Frame>("Frame4", -1, &Frame1)),
      PosLock(Add<CheckBox>("PosLock", -1, &Frame1)),
      MeasureMode(Add<CheckBox>("MeasureMode", -1, &Frame1)),
      UseHRuler(Add<CheckBox>("UseHRuler", -1, &Frame1)),
      Check1(Add<CheckBox>("Check1", -1, &Frame1)),
      SysFile(Add<Label>("SysFile", -1, &Frame1)),
      About(Add<CommandButton>("About")),
      Settings(Add<CommandButton>("Settings")),
      HideBtn(Add<CommandButton>("HideBtn")),
      ExitBtn(Add<CommandButton>("ExitBtn")),
      HelpInfo(Add<Label>("HelpInfo", -1, &Frame2)),
      WebSite(Add<Label>("WebSite", -1, &Frame3)),
      RulerLbl(Add<Label>("RulerLbl", -1, &Frame3)),
      VelbrinLbl(Add<Label>("VelbrinLbl", -1, &Frame3)),
      AboutInfo(Add<Label>("AboutInfo", -1, &Frame3)),
      OptionsInfo(Add<Label>("OptionsInfo")),
      ColorBox(Add<Label>("ColorBox", -1, &Frame1)),
      BackgroundLbl(Add<Label>("BackgroundLbl", -1, &Frame1)),
      Option1(Add<OptionButton>("Option1", -1, &Frame4)),
      Option2(Add<OptionButton>("Option2", -1, &Frame4)),
      Option3(Add<OptionButton>("Option3", -1, &Frame4)),
      Option4(Add<OptionButton>("Option4", -1, &Frame4)),
      ScaleDist(Add<TextBox>("ScaleDist", -1, &Frame4)),
      Uncertainty(Add<TextBox>("Uncertainty", -1, &Frame4)),
      MeasureDist(Add<TextBox>("MeasureDist", -1, &Frame4)),
      Label2(Add<Label>("Label2", -1, &Frame4)),
      Label3(Add<Label>("Label3", -1, &Frame4)),
      Label4(Add<Label>("Label4", -1, &Frame4)),
      p_(program) {
    for (int i = 0; i < 12; ++i) {
        if (i == 7 || i == 8) continue;
        Label1[static_cast<std::size_t>(i)] = &Add<Label>("Label1", i, &Frame1);
    }
    for (int i = 0; i < 11; ++i) Text1[static_cast<std::size_t>(i)] = &Add<TextBox>("Text1", i, &Frame1);
    for (int i = 0; i < 4; ++i) {
        TickColor[static_cast<std::size_t>(i)] = &Add<Label>("TickColor", i, &Frame1);
    }
    ExitBtn.onClick = [this] { ExitBtn_Click(); };
    SetCaption("Ruler Control");
    SetBorder(BorderStyle::Fixed);
    SetKeyPreview(true);
    Move(0, 0, kClientWidth, kClientHeight);

    PosLock.SetCaption("Lock");
    MeasureMode.SetCaption("Measurement Mode");
    MeasureMode.SetToolTipText("Select either measurement mode or SEM optimization mode.");
    UseHRuler.SetCaption("Horizontal");
    UseHRuler.SetToolTipText("Select orientation of ruler.");
    Check1.SetCaption("Minimize on Start");
    Check1.SetToolTipText("Hide this window when Tavrolin is launched.");
    SysFile.SetToolTipText("Configuration file being used.");
    About.SetCaption("Info");
    Settings.SetCaption("Settings");
    HideBtn.SetCaption("Hide");
    ExitBtn.SetCaption("Exit");
    OptionsInfo.SetCaption("OtionsInfo");
    OptionsInfo.SetVisible(false);
    VelbrinLbl.SetCaption("Tavrolin project");
    WebSite.SetUnderline(true);
    WebSite.SetForeColor(RGB(0, 0, 192));
    RulerLbl.SetFontBold(true);

    static const char* kIndexLabels[] = {"Number of Ticks", "Primary Tick Index",
                                         "Secondary Tick Index"};
    static const char* kClassLabels[] = {"Center", "Primary", "Secondary", "Other"};
    for (int i = 0; i < 3; ++i) Label1[static_cast<std::size_t>(i)]->SetCaption(kIndexLabels[i]);
    for (int i = 0; i < 4; ++i) Label1[static_cast<std::size_t>(3 + i)]->SetCaption(kClassLabels[i]);
    Label1[9]->SetCaption("Length\nMM");
    Label1[10]->SetCaption("Width\nPixels");
    Label1[11]->SetCaption("Color");
    BackgroundLbl.SetCaption("Background");

    Option1.SetCaption("Millimeters");
    Option2.SetCaption("Inches");
    Option3.SetCaption("Pixels");
    Option4.SetCaption("Green Marks: User Units");
    ScaleDist.SetToolTipText("Set markers or crosshairs on scale bar and enter distance here.");
    Uncertainty.SetToolTipText("Optional: Enter the estimated error in the scale bar.");
    MeasureDist.SetToolTipText("Distance between either the markers on ruler or the crosshairs.");
    MeasureDist.SetLocked(true);
    Label2.SetCaption("Scale Bar Distance:");
    Label3.SetCaption("Distance");
    Label4.SetCaption("Scale Bar Uncertainty (%):");
    LayOut();
}

void MainWindow::LayOut() {
    for (Frame* f : {&Frame1, &Frame2, &Frame3}) f->Move(kPageLeft, kPageTop, kPageWidth, kPageHeight);
    Frame4.Move(60, 240, kPageWidth - 120, 3600);
    Frame4.SetCaption("Measurement Units");
    Frame1.SetCaption("Settings");
    Frame2.SetCaption("Help");
    Frame3.SetCaption("About");

    const double labelW = 2700, boxLeft = 3000, boxW = 900;
    for (int i = 0; i < 3; ++i) {
        const double y = 330 + i * 390;
        Label1[static_cast<std::size_t>(i)]->Move(150, y + 30, labelW, kRowHeight);
        Text1[static_cast<std::size_t>(i)]->Move(boxLeft, y, boxW, kBoxHeight);
    }
    const double colLength = 1560, colWidth = 2700, colColor = 3780;
    Label1[9]->Move(colLength, 1500, 1050, 480);
    Label1[10]->Move(colWidth, 1500, 1000, 480);
    Label1[11]->Move(colColor, 1500, 900, 480);
    for (int k = 0; k < 4; ++k) {
        const double y = 2010 + k * 390;
        const auto i = static_cast<std::size_t>(k);
        Label1[3 + i]->Move(150, y + 30, 1350, kRowHeight);
        Text1[3 + i]->Move(colLength, y, boxW, kBoxHeight);
        Text1[7 + i]->Move(colWidth, y, 750, kBoxHeight);
        TickColor[i]->Move(colColor, y, 750, kBoxHeight);
    }
    BackgroundLbl.Move(150, 3600, 1350, kRowHeight);
    ColorBox.Move(colColor, 3570, 750, kBoxHeight);

    MeasureMode.Move(150, 4080, 2700, kRowHeight);
    PosLock.Move(3000, 4080, 1500, kRowHeight);
    UseHRuler.Move(150, 4440, 2100, kRowHeight);
    Check1.Move(2400, 4440, 2300, kRowHeight);
    SysFile.Move(150, 4860, kPageWidth - 300, kRowHeight);

    Option1.Move(180, 330, 2600, kRowHeight);
    Option2.Move(180, 690, 2600, kRowHeight);
    Option3.Move(180, 1050, 2600, kRowHeight);
    Option4.Move(180, 1410, 2900, kRowHeight);
    Label2.Move(180, 1800, 2600, kRowHeight);
    ScaleDist.Move(3000, 1770, 1500, kBoxHeight);
    Label4.Move(180, 2220, 2700, kRowHeight);
    Uncertainty.Move(3000, 2190, 1500, kBoxHeight);
    Label3.Move(180, 2700, 4300, kRowHeight);
    MeasureDist.Move(180, 3030, kPageWidth - 480, 390);

    HelpInfo.Move(150, 300, kPageWidth - 300, kPageHeight - 420);
    RulerLbl.Move(150, 360, kPageWidth - 300, kRowHeight);
    VelbrinLbl.Move(150, 720, kPageWidth - 300, kRowHeight);
    WebSite.Move(150, 1080, kPageWidth - 300, kRowHeight);
    AboutInfo.Move(150, 1560, kPageWidth - 300, kPageHeight - 1800);

    CommandButton* buttons[] = {&About, &Settings, &HideBtn, &ExitBtn};
    for (int i = 0; i < 4; ++i) {
        buttons[i]->Move(kPageLeft + i * (kButtonWidth + 100), kButtonTop, kButtonWidth,
                         kButtonHeight);
    }
}

std::string MainWindow::VersionCaption(int major, int minor, int revision) {
    char text[64];
    std::snprintf(text, sizeof text, "Tavrolin.exe v%d.%d.%03d", major, minor, revision);
    return text;
}

std::array<std::string, 3> MainWindow::HelpTexts() {
    return {
        Join({"For SEM Optimization Mode:", "",
              "Use the Ruler as a guide when adjusting Focus, X Stig, and ",
              "Y Stig to get equally degraded images ",
              "at equal distances on each side of center.", "", "Drag Ruler Background to move",
              "or Right Click to hide control window.", "", "Drag Green 'W' to change size. ",
              "Drag any Tick Mark to change scale.", "", "Double Click on Background or any ",
              "Tick Mark to change color.", "", "Click Ruler and hit Esc to exit without",
              " saving any changes."}),
        Join({"For Measurement Mode:  ", "",
              "Position ruler Markers to get the Horizontal/Vertical distance in the ",
              "selected units or move Crosshairs to measure ", "along arbitrary angles.", "",
              "For User-Units, position Green ",
              "Markers on a known feature (scale bar) and enter the distance.", "",
              "Use Shift && Arrow Keys to fine tune the position of the marks ",
              "or Space to toggle between Horizontal/Vertical.", "",
              "Drag Ruler Background to move.", "Drag Green 'W' to change length. ",
              "Right Click to hide control window.", "", "Double Click to change color."}),
        Join({"For Either Mode:  ", "",
              "Launch with no command line argument to use an existing Tavrolin.cfg ",
              "file or to create one with default values.", "",
              "Use a shortcut to Tavrolin.exe with a command line argument 'ABCD' (up to 4 "
              "chars) to ",
              "use or create TavrolinABCD.cfg.", "",
              "If run multiple times, each additional instance will use ",
              "or create TavrolinX.cfg where X is an integer starting ",
              "with one and incrementing for each instance.", "",
              "The config file in use is displayed on the Settings page."}),
    };
}

std::string MainWindow::AboutText() {
    return Join({"Two modes are available:", "",
                 "Measurement Mode: Allows features on the screen to be ",
                 "measured.  The User-Units option is especially useful ",
                 "when measuring features on an image with a scale bar, since ",
                 "this mode can easily be calibrated to the scale bar.", "",
                 "SEM Optimization Mode: Displays a ruler with user-adjustable ",
                 "tick marks which can be used to systematically optimize the ",
                 "Focus, X Stig, and Y Stig of many mouse-controlled microscopes."});
}

void MainWindow::Form_Load() {
    auto& g = p_.g();
    g.StartingUp = true;
    Frame4.SetCaption("Measurement Units");
    Label3.SetCaption("Distance");
    Label4.SetCaption("Scale Bar Uncertainty (%):");
    PosLock.SetValue(0);

    RulerLbl.SetCaption(VersionCaption(TAVROLIN_VERSION_MAJOR, TAVROLIN_VERSION_MINOR,
                                       TAVROLIN_VERSION_PATCH));

    Platform& platform = p_.platform();
    g.VirtualScreenWidth = RoundHalfEven(p_.TwipsPerPixelX() * platform.GetSystemMetrics(78));
    g.VirtualScreenHeight = RoundHalfEven(p_.TwipsPerPixelY() * platform.GetSystemMetrics(79));
    LayOut();

    const InstanceFiles files =
        ClaimInstance(platform, SettingsFolder(platform), CleanArgument(p_.CommandLine()));
    g.ConfigBaseName = files.configBaseName;
    g.ConfigPath = files.configPath;
    g.LockPath = files.lockPath;

    g.HelpText = HelpTexts();
    AboutInfo.SetCaption(AboutText());

    p_.wexoIcon().Load();
    p_.distanceWindow().Load();
    p_.ruler().Load();
    Form* shownAndHidden[] = {&p_.crossDistance(), &p_.cross1(),        &p_.cross0(),
                              &p_.scaleDistance(), &p_.scale1(), &p_.scale0()};
    for (Form* f : shownAndHidden) {
        f->Load();
        f->Show();
        f->Hide();
    }

    p_.ruler().Show();
    p_.wexoIcon().Show();
    p_.distanceWindow().Show();

    if (MeasureMode.Value() == 1) {
        p_.distanceWindow().SetVisible(true);
        p_.crossDistance().SetVisible(false);
        p_.cross1().SetVisible(true);
        p_.cross0().SetVisible(true);
        if (g.MeasUnitsIndex == 4) {
            p_.scale1().SetVisible(true);
            p_.scale0().SetVisible(true);
        }
    } else {
        for (Form* f : {static_cast<Form*>(&p_.distanceWindow()), static_cast<Form*>(&p_.crossDistance()),
                        static_cast<Form*>(&p_.cross1()), static_cast<Form*>(&p_.cross0()),
                        static_cast<Form*>(&p_.scaleDistance()), static_cast<Form*>(&p_.scale1()),
                        static_cast<Form*>(&p_.scale0())}) {
            f->SetVisible(false);
        }
    }
    g.StartingUp = false;
}

void MainWindow::Form_Unload() {
    Form* order[] = {&p_.crossDistance(), &p_.cross1(),    &p_.cross0(),
                     &p_.scaleDistance(), &p_.scale1(),    &p_.scale0(),
                     &p_.wexoIcon(),      &p_.distanceWindow(), &p_.ruler()};
    for (Form* f : order) {
        if (f->Loaded()) p_.Unload(*f);
    }
    const std::string& lock = p_.g().LockPath;
    if (FileExists(p_.platform(), lock, false)) p_.platform().DeleteFile(lock);
}

void MainWindow::Form_QueryClose() { ExitBtn_Click(); }

void MainWindow::ExitBtn_Click() { p_.Unload(*this); }

void MainWindow::MeasureDist_Update(bool) {}

}  // namespace tavrolin
