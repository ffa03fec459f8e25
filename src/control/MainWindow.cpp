#include "control/MainWindow.h"

#include <algorithm>

#include "app/Program.h"
#include "app/Startup.h"
#include "control/FieldRules.h"
#include "control/KeepDialog.h"
#include "control/MeasurementLog.h"
#include "control/MeasurementsWindow.h"
#include "control/MonitorScales.h"
#include "crosshair/CrossDistance.h"
#include "crosshair/Crosshair.h"
#include "crosshair/DistanceWindow.h"
#include "crosshair/LoupeWindow.h"
#include "crosshair/Measure.h"
#include "crosshair/ScaleDistance.h"
#include "forms/Backend.h"
#include "platform/Platform.h"
#include "platform/WindowServices.h"
#include "ruler/Ruler.h"
#include "ruler/WexoIcon.h"
#include "settings/NumberText.h"

namespace tavrolin {

namespace {

// Geometry of the window, twips.
// Wide enough that most lines of the help texts, each ending in a line feed, fit unbroken.
constexpr double kClientWidth = 7800;
constexpr double kClientHeight = 6210;
constexpr double kPageLeft = 120, kPageTop = 90, kPageWidth = 7560, kPageHeight = 5400;
constexpr double kIndent = 240;
constexpr double kButtonTop = 5640, kButtonHeight = 420;
constexpr double kRowHeight = 300, kBoxHeight = 330;

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
      ManualNote(Add<Label>("ManualNote", -1, &Frame3)),
      OptionsInfo(Add<Label>("OptionsInfo")),
      ColorBox(Add<Label>("ColorBox", -1, &Frame1)),
      BackgroundLbl(Add<Label>("BackgroundLbl", -1, &Frame1)),
      MonitorList(Add<ListView>("MonitorList", -1, &Frame1)),
      MonitorLbl(Add<Label>("MonitorLbl", -1, &Frame1)),
      MonitorBox(Add<TextBox>("MonitorBox", -1, &Frame1)),
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
      LoupeCheck(Add<CheckBox>("LoupeCheck", -1, &Frame4)),
      KeepBtn(Add<CommandButton>("KeepBtn", -1, &Frame4)),
      RecordBtn(Add<CommandButton>("RecordBtn", -1, &Frame4)),
      LogBtn(Add<CommandButton>("LogBtn", -1, &Frame4)),
      CalibList(Add<ListView>("CalibList", -1, &Frame4)),
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
    About.onClick = [this] { About_Click(); };
    Settings.onClick = [this] { Settings_Click(); };
    HideBtn.onClick = [this] { HideBtn_Click(); };
    MeasureMode.onClick = [this] { MeasureMode_Click(); };
    UseHRuler.onClick = [this] { UseHRuler_Click(); };
    PosLock.onClick = [this] { PosLock_Click(); };
    Check1.onClick = [this] { Check1_Click(); };
    LoupeCheck.onClick = [this] { SetLoupe(p_, LoupeCheck.Value() == 1); };
    KeepBtn.onClick = [this] { OpenKeepDialog(p_); };
    RecordBtn.onClick = [this] { RecordReading(p_); };
    LogBtn.onClick = [this] { OpenMeasurements(p_); };
    CalibList.onChange = [this] { CalibList_Change(); };
    MonitorList.onChange = [this] { MonitorList_Change(); };
    MonitorBox.onChange = [this] { MonitorBox_Change(); };
    CalibList.cellText = [this](std::size_t row, std::size_t column) -> std::string {
        if (row >= calibrations_.size()) return {};
        const Calibration& c = calibrations_[row];
        switch (column) {
            case 0: return row < 9 ? std::to_string(row + 1) : std::string();
            case 1: return c.name;
            default:
                return ShortestDecimal(c.length) + (c.unit.empty() ? "" : " " + c.unit) + " = " +
                       FormatNumber(c.pixels, "0.0#") + " px";
        }
    };
    WebSite.onClick = [this] { WebSite_Click(); };
    Frame1.onMouseMove = [this](int, int, double, double) { Frame1_MouseMove(); };
    Frame2.onMouseMove = [this](int, int, double, double) { Frame2_MouseMove(); };
    Frame3.onMouseMove = [this](int, int, double, double) { Frame3_MouseMove(); };
    Frame4.onMouseMove = [this](int, int, double, double) { Frame4_MouseMove(); };
    for (int i = 0; i < 11; ++i) {
        TextBox& box = *Text1[static_cast<std::size_t>(i)];
        box.onChange = [this, i] { Text1_Change(i); };
        box.onKeyPress = [this, i](int& k) { Text1_KeyPress(i, k); };
    }
    for (int i = 0; i < 12; ++i) {
        if (Label* l = Label1[static_cast<std::size_t>(i)]) l->onClick = [this, i] { Label1_Click(i); };
    }
    ColorBox.onClick = [this] { ColorBox_Click(); };
    for (int i = 0; i < 4; ++i) {
        TickColor[static_cast<std::size_t>(i)]->onClick = [this, i] { TickColor_Click(i); };
    }
    Option1.onClick = [this] { Option1_Click(); };
    Option2.onClick = [this] { Option2_Click(); };
    Option3.onClick = [this] { Option3_Click(); };
    Option4.onClick = [this] { Option4_Click(); };
    ScaleDist.onChange = [this] { ScaleDist_Change(); };
    ScaleDist.onKeyPress = [this](int& k) { ScaleDist_KeyPress(k); };
    Uncertainty.onChange = [this] { Uncertainty_Change(); };
    Uncertainty.onKeyPress = [this](int& k) { Uncertainty_KeyPress(k); };

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
    MonitorList.SetColumns({{"Monitor", 1500}, {"Px per 100 mm", 1560, true}});
    MonitorList.SetToolTipText("The density millimetres and inches are read with on each "
                               "monitor.");
    MonitorLbl.SetCaption("Pixels per 100 mm:");
    MonitorBox.SetToolTipText("Lay a real ruler against the chosen monitor and type how many "
                              "pixels make 100 mm; empty: the system's density.");

    Option1.SetCaption("Millimeters");
    Option2.SetCaption("Inches");
    Option3.SetCaption("Pixels");
    Option4.SetCaption("Green Marks: User Units");
    LoupeCheck.SetCaption("Loupe");
    KeepBtn.SetCaption("Keep Calibration...");
    RecordBtn.SetCaption("Record");
    RecordBtn.SetToolTipText("Record the distance shown in the measurement log (Enter).");
    LogBtn.SetCaption("Measurements...");
    LogBtn.SetToolTipText("Show the readings recorded.");
    CalibList.SetColumns({{"", 240, true}, {"Calibration", 1020}, {"Scale bar", 1800}});

    KeepBtn.SetToolTipText(
        "Keep the user units' calibration under a name (Ctrl+S); Ctrl+1 to Ctrl+9 bring one back.");
    LoupeCheck.SetToolTipText(
        "Magnify the pixels at the active crosshair's centre (key L). Ctrl+Arrow: jump to the "
        "next edge.");
    ScaleDist.SetToolTipText("Set markers or crosshairs on scale bar and enter distance here.");
    Uncertainty.SetToolTipText("Optional: Enter the estimated error in the scale bar.");
    MeasureDist.SetToolTipText("Distance between either the markers on ruler or the crosshairs.");
    MeasureDist.SetLocked(true);
    Label2.SetCaption("Scale Bar Distance:");
    Label3.SetCaption("Distance");
    Label4.SetCaption("Scale Bar Uncertainty (%):");
    Label1[9]->SetToolTipText("Click to show the lengths in millimetres or in inches.");
    ColorBox.SetToolTipText("Click to choose the ruler's background colour.");
    for (Label* swatch : TickColor) swatch->SetToolTipText("Click to choose this tick colour.");
    WebSite.SetToolTipText("Open the manual.");

    // One page at a time; the start-up shows the saved one.
    Frame2.SetVisible(false);
    Frame3.SetVisible(false);
    Frame4.SetVisible(false);
    LayOut();
}

void MainWindow::LayOut() {
    for (Frame* f : {&Frame1, &Frame2, &Frame3}) f->Move(kPageLeft, kPageTop, kPageWidth, kPageHeight);
    Frame1.SetCaption("Settings");
    Frame2.SetCaption("Help");
    Frame3.SetCaption("About");
    const double inner = kPageWidth - 2 * kIndent;  // usable width inside a page

    // Settings page: the counts, the table of tick classes, then the switches.
    const double countBox = 3000;
    for (int i = 0; i < 3; ++i) {
        const double y = 360 + i * 420;
        Label1[static_cast<std::size_t>(i)]->Move(kIndent, y + 30, countBox - kIndent - 120, kRowHeight);
        Text1[static_cast<std::size_t>(i)]->Move(countBox, y, 1000, kBoxHeight);
    }
    const double colLength = 2400, colWidth = 3900, colColor = 5400, colW = 1200;
    const double headTop = 1680;
    Label1[9]->Move(colLength, headTop, colW + 200, 2 * kRowHeight);
    Label1[10]->Move(colWidth, headTop, colW + 200, 2 * kRowHeight);
    Label1[11]->Move(colColor, headTop, colW + 200, 2 * kRowHeight);
    for (int k = 0; k < 4; ++k) {
        const double y = 2340 + k * 420;
        const auto i = static_cast<std::size_t>(k);
        Label1[3 + i]->Move(kIndent, y + 30, colLength - kIndent - 120, kRowHeight);
        Text1[3 + i]->Move(colLength, y, colW, kBoxHeight);
        Text1[7 + i]->Move(colWidth, y, colW, kBoxHeight);
        TickColor[i]->Move(colColor, y, colW, kBoxHeight);
    }
    // Beside the counts: the monitors' densities.
    const double monitorsLeft = 4200, monitorsWidth = kPageWidth - kIndent - monitorsLeft;
    MonitorList.Move(monitorsLeft, 300, monitorsWidth, 900);
    MonitorLbl.Move(monitorsLeft, 1290, monitorsWidth - 1020, kRowHeight);
    MonitorBox.Move(monitorsLeft + monitorsWidth - 900, 1260, 900, kBoxHeight);
    BackgroundLbl.Move(kIndent, 4050, colLength - kIndent - 120, kRowHeight);
    ColorBox.Move(colColor, 4020, colW, kBoxHeight);

    const double switchTop = 4560;
    MeasureMode.Move(kIndent, switchTop, 2700, kRowHeight);
    UseHRuler.Move(3150, switchTop, 1800, kRowHeight);
    Check1.Move(5000, switchTop, kPageWidth - 5000 - kIndent, kRowHeight);
    PosLock.Move(kIndent, switchTop + 360, 2400, kRowHeight);
    SysFile.Move(3150, switchTop + 360, kPageWidth - 3150 - kIndent, kRowHeight);

    // The measurement panel lies over the tick table, the switches stay below it.
    Frame4.Move(kIndent / 2, 270, kPageWidth - kIndent, 4140);
    Frame4.SetCaption("Measurement Units");
    const double col2 = 3750, panelInner = Frame4.Width() - 2 * kIndent;
    // The units down the left, the kept calibrations beside them.
    const double leftWidth = col2 - kIndent - 120, rightWidth = panelInner - col2 + kIndent;
    Option1.Move(kIndent, 390, leftWidth, kRowHeight);
    Option2.Move(kIndent, 720, leftWidth, kRowHeight);
    Option3.Move(kIndent, 1050, leftWidth, kRowHeight);
    Option4.Move(kIndent, 1380, leftWidth, kRowHeight);
    CalibList.Move(col2, 330, rightWidth, 1380);
    Label2.Move(kIndent, 1860, leftWidth, kRowHeight);
    ScaleDist.Move(col2, 1830, 1800, kBoxHeight);
    Label4.Move(kIndent, 2250, leftWidth, kRowHeight);
    Uncertainty.Move(col2, 2220, 1800, kBoxHeight);
    Label3.Move(kIndent, 2640, panelInner, kRowHeight);
    MeasureDist.Move(kIndent, 2940, panelInner, 480);
    MeasureDist.SetFontSize(11);
    LoupeCheck.Move(kIndent, 3600, 960, kRowHeight);
    RecordBtn.Move(kIndent + 1020, 3540, 1440, kBoxHeight + 30);
    LogBtn.Move(kIndent + 2580, 3540, 1860, kBoxHeight + 30);
    KeepBtn.Move(kIndent + panelInner - 2280, 3540, 2280, kBoxHeight + 30);

    HelpInfo.Move(kIndent, 360, inner, kPageHeight - 480);
    // The help and about texts break their own lines; a size smaller than the form's keeps
    // the longest of them on one line.
    HelpInfo.SetFontSize(8);
    AboutInfo.SetFontSize(8);
    RulerLbl.Move(kIndent, 390, inner, kRowHeight);
    VelbrinLbl.Move(kIndent, 750, inner, kRowHeight);
    WebSite.Move(kIndent, 1110, inner, kRowHeight);
    AboutInfo.Move(kIndent, 1620, inner, kPageHeight - 2700);
    // Below the about text, which leaves the page's foot free.
    ManualNote.Move(kIndent, kPageHeight - 900, inner, 2 * kRowHeight);
    ManualNote.SetFontSize(8);
    ManualNote.SetVisible(false);

    CommandButton* buttons[] = {&About, &Settings, &HideBtn, &ExitBtn};
    const double gap = 120, width = (kPageWidth - 3 * gap) / 4;
    for (int i = 0; i < 4; ++i) {
        buttons[i]->Move(kPageLeft + i * (width + gap), kButtonTop, width, kButtonHeight);
    }
}

void MainWindow::Form_Load() {
    auto& g = p_.g();
    g.StartingUp = true;
    Frame4.SetCaption("Measurement Units");
    Label3.SetCaption("Distance");
    Label4.SetCaption("Scale Bar Uncertainty (%):");
    g.PositionLocked = false;
    PosLock.SetValue(0);

    RulerLbl.SetCaption(VersionCaption(TAVROLIN_VERSION_MAJOR, TAVROLIN_VERSION_MINOR,
                                       TAVROLIN_VERSION_PATCH));

    Platform& platform = p_.platform();
    g.VirtualScreenWidth = RoundHalfEven(p_.TwipsPerPixelX() * platform.GetSystemMetrics(78));
    g.VirtualScreenHeight = RoundHalfEven(p_.TwipsPerPixelY() * platform.GetSystemMetrics(79));
    LayOut();

    ClaimInstanceAndLock(p_);
    // The readings of earlier sessions, from the log file beside the settings.
    if (p_.log().Rows().empty()) LoadLog(p_);
    ShowCalibrations();
    LoadMonitorScales(p_);
    ShowMonitors();

    g.HelpText = HelpTexts();
    AboutInfo.SetCaption(AboutText());
    manualPath_ = FindManualFile(platform);
    manualUrl_ = manualPath_.empty() ? std::string() : FileUrl(manualPath_);
    WebSite.SetCaption(manualUrl_.empty() ? "The manual is not installed." : manualUrl_);
    WebSite.SetUnderline(!manualUrl_.empty());

    BringUpWindows(p_);
    RestorePage();
    g.StartingUp = false;
}

void MainWindow::Form_Unload() { TakeDownWindows(p_); }

void MainWindow::Form_QueryClose() { ExitBtn_Click(); }

void MainWindow::ExitBtn_Click() { p_.Unload(*this); }

void MainWindow::RestorePage() {
    const auto& g = p_.g();
    // The check boxes were set while the settings loaded, with their handlers quiet.
    MeasureMode.SetBackColor(g.MeasurementModeOn ? kHighlightColor : kButtonFaceColor);
    switch (g.ActiveFrame) {
        case 1:
        case 4:
            Settings_Click();
            break;
        case 2:
            About.SetCaption("Info");
            About_Click();
            break;
        default:
            About.SetCaption("About");
            About_Click();
            break;
    }
}

void MainWindow::ShowMeasurementPanel(bool shown) {
    Frame4.SetVisible(shown);
    // The panel lies over the tick fields; a field under it must not take the focus.
    for (TextBox* box : Text1) box->SetVisible(!shown);
    for (Label* label : Label1) {
        if (label != nullptr) label->SetVisible(!shown);
    }
    for (Label* swatch : TickColor) swatch->SetVisible(!shown);
    ColorBox.SetVisible(!shown);
    BackgroundLbl.SetVisible(!shown);
    MonitorList.SetVisible(!shown);
    MonitorLbl.SetVisible(!shown);
    MonitorBox.SetVisible(!shown);
}

void MainWindow::About_Click() {
    auto& g = p_.g();
    Frame3.SetVisible(false);
    ShowMeasurementPanel(false);
    PosLock.SetVisible(false);
    // The help and about pages take the settings page's place.
    Frame1.SetVisible(false);
    const std::string caption = About.Caption();
    if (caption == "Info") {
        g.ActiveFrame = 2;
        SetCaption("Tavrolin Info");
        About.SetCaption("More");
        Frame2.SetVisible(true);
        Frame3.SetVisible(false);
        HelpInfo.SetCaption(g.HelpText[g.MeasurementModeOn ? 1 : 0]);
    } else if (caption == "More") {
        g.ActiveFrame = 2;
        SetCaption("Tavrolin Info");
        About.SetCaption("About");
        Frame2.SetVisible(true);
        Frame3.SetVisible(false);
        HelpInfo.SetCaption(g.HelpText[2]);
    } else {
        g.ActiveFrame = 3;
        SetCaption("Tavrolin About");
        About.SetCaption("Info");
        Frame2.SetVisible(false);
        Frame3.SetVisible(true);
    }
}

void MainWindow::Settings_Click() {
    auto& g = p_.g();
    Frame1.SetVisible(true);
    Frame2.SetVisible(false);
    Frame3.SetVisible(false);
    SetCaption("Tavrolin");
    g.ActiveFrame = 1;
    if (Settings.Caption() != "Apply") {
        if (g.MeasurementModeOn) {
            g.ActiveFrame = 4;
            ShowMeasurementPanel(true);
            PosLock.SetVisible(false);
        } else {
            PosLock.SetVisible(true);
        }
        return;
    }
    ApplyLayout();
    Ruler& ruler = p_.ruler();
    if (g.TicksBuilt == g.HalfTicks) {
        ruler.ReDrawTicks();
        // Fields that held no acceptable value show the one in use again.
        ValuesToSettings("To");
    } else {
        // The tick lines are made at load: a new count needs a new ruler window, which must
        // wait until this click has been handled.
        p_.RebuildRulerLater();
    }
    Settings.SetCaption("Settings");
    Settings.SetBackColor(kButtonFaceColor);
}

void MainWindow::MeasureMode_Click() {
    auto& g = p_.g();
    g.MeasurementModeOn = MeasureMode.Value() == 1;
    // The settings are being pushed into the box; the start-up shows the windows itself.
    if (g.SettingsLoading) return;
    g.CrossActive = false;
    g.ScaleCrossActive = false;
    for (Crosshair* c : {&p_.cross0(), &p_.cross1(), &p_.scale0(), &p_.scale1()}) c->SetSize(11);
    ScaleDist.SetEnabled(true);
    // Both pairs are docked now: the panel says so as docking them one by one would.
    ShowWhatMeasures();
    Ruler& ruler = p_.ruler();
    const bool measMode = g.MeasurementModeOn;
    ruler.ShowTicks(measMode);
    if (measMode) {
        PosLock.SetVisible(false);
        MeasureMode.SetBackColor(kHighlightColor);
        g.ActiveFrame = 4;
        p_.distanceWindow().Show();
        ruler.Show();
        ShowMeasurementPanel(true);
        p_.crossDistance().Hide();
        p_.cross1().Show();
        p_.cross0().Show();
        if (g.MeasUnitsIndex == 4) {
            p_.scale1().Show();
            p_.scale0().Show();
        }
    } else {
        PosLock.SetVisible(true);
        MeasureMode.SetBackColor(kButtonFaceColor);
        g.ActiveFrame = 1;
        p_.distanceWindow().Hide();
        ruler.Show();
        ShowMeasurementPanel(false);
        for (Form* f : p_.MeasurementWindows()) f->Hide();
    }
    ruler.Form_Resize();
    if (measMode) {
        // The crosshairs were docked again above: lay them on their markers, which also
        // refreshes the read-outs.
        ruler.SetMarker(0, g.MarkerPos[0], true);
        ruler.SetMarker(1, g.MarkerPos[1], true);
    }
    p_.UpdateLoupe();
}

void MainWindow::UseHRuler_Click() {
    auto& g = p_.g();
    g.HorizontalRuler = UseHRuler.Value() == 1;
    // While the settings load the ruler has no ticks yet, and its load lays it out anyway.
    if (g.SettingsLoading || g.StartingUp) return;
    ApplyLayout();
    Ruler& ruler = p_.ruler();
    ruler.ReDrawTicks();
    if (g.MeasurementModeOn) {
        // The markers keep their places along the ruler, now across the other way.
        for (int k = 0; k < 4; ++k) ruler.SetMarker(k, g.MarkerPos[static_cast<std::size_t>(k)], false);
    }
    ruler.SetFocus();
}

void MainWindow::PosLock_Click() { p_.g().PositionLocked = PosLock.Value() == 1; }

void MainWindow::Check1_Click() { p_.g().StartMinimized = Check1.Value() == 1; }

void MainWindow::ShowSwitches() {
    const auto& g = p_.g();
    Check1.SetValue(g.StartMinimized ? 1 : 0);
    PosLock.SetValue(g.PositionLocked ? 1 : 0);
    MeasureMode.SetValue(g.MeasurementModeOn ? 1 : 0);
    UseHRuler.SetValue(g.HorizontalRuler ? 1 : 0);
    ShowLoupeSwitch();
}

void MainWindow::ShowLoupeSwitch() { LoupeCheck.SetValue(p_.g().LoupeOn != 0 ? 1 : 0); }

void MainWindow::ChooseOrientation(bool horizontal) { UseHRuler.SetValue(horizontal ? 1 : 0); }

void MainWindow::ApplyLayout() {
    const auto& g = p_.g();
    p_.crossDistance().Hide();
    p_.scaleDistance().Hide();
    p_.ruler().TurnTo(g.HorizontalRuler);
    // Shown again whether or not the ruler turned: the pairs in use keep their read-outs.
    if (g.CrossActive) p_.crossDistance().Show();
    if (g.ScaleCrossActive && g.MeasUnitsIndex == 4) p_.scaleDistance().Show();
    ValuesToSettings("From");
}

void MainWindow::ShowRulerWindows(bool withReadouts) {
    const auto& g = p_.g();
    p_.ruler().Show();
    p_.wexoIcon().Show();
    if (!g.MeasurementModeOn) return;
    p_.distanceWindow().Show();
    if (g.CrossActive) {
        if (withReadouts) {
            p_.crossDistance().Show();
        } else {
            p_.crossDistance().Hide();
        }
    }
    p_.cross1().Show();
    p_.cross0().Show();
    if (g.MeasUnitsIndex == 4) {
        if (withReadouts && g.ScaleCrossActive) p_.scaleDistance().Show();
        p_.scale1().Show();
        p_.scale0().Show();
    }
    p_.UpdateLoupe();
}

void MainWindow::HideBtn_Click() {
    if (p_.ruler().Visible()) {
        p_.distanceWindow().Hide();
        p_.wexoIcon().Hide();
        p_.ruler().Hide();
        HideBtn.SetCaption("Show");
        for (Form* f : p_.MeasurementWindows()) f->Hide();
        p_.UpdateLoupe();
        return;
    }
    ShowRulerWindows(true);
    HideBtn.SetCaption("Hide");
}

void MainWindow::Form_KeyDown(int& keyCode, int& shift) {
    if (keyCode != kKeyShift || shift != kShiftMask || !p_.g().MeasurementModeOn) return;
    Ruler& ruler = p_.ruler();
    if (!ruler.Visible()) {
        ShowRulerWindows(false);
        HideBtn.SetCaption("Hide");
    }
    // Marker fine-tuning goes on in the ruler, which now has the keys.
    ruler.SetFocus();
    ruler.GetKey(keyCode, shift);
}

void MainWindow::WebSite_Click() {
    if (manualUrl_.empty()) return;
    ManualNote.SetVisible(false);
    // As on Windows, 32 or less is a failure: no browser, no program for the file's type.
    if (OpenDocument(p_.platform(), manualUrl_) > 32) return;
    std::string path;
    for (char c : manualPath_) {
        // A single "&" in a caption marks a mnemonic and would vanish from the path.
        path += c;
        if (c == '&') path += '&';
    }
    ManualNote.SetCaption("No program could open the manual. It is at:\n" + path);
    ManualNote.SetVisible(true);
}

void MainWindow::Form_Deactivate() {
    // A minimised window's place is not where the user left it.
    if (GetWindowState() == WindowState::Minimized) return;
    auto& g = p_.g();
    if (Left() >= 0) g.ControlLeft = RoundHalfEven(Left());
    if (Top() >= 0) g.ControlTop = RoundHalfEven(Top());
}

void MainWindow::PlaceAtStart() {
    const auto& g = p_.g();
    if (g.StartMinimized) {
        SetWindowState(WindowState::Minimized);
    } else {
        Move(g.ControlLeft, g.ControlTop);
    }
}

void MainWindow::ToggleMinimized() {
    auto& g = p_.g();
    if (GetWindowState() == WindowState::Minimized) {
        SetWindowState(WindowState::Normal);
        Move(g.ControlLeft, g.ControlTop);
    } else {
        g.ControlTop = RoundHalfEven(Top());
        g.ControlLeft = RoundHalfEven(Left());
        SetWindowState(WindowState::Minimized);
    }
}

void MainWindow::ResetPointer() { p_.backend().SetMousePointer(kPointerDefault); }
void MainWindow::Form_MouseMove(int, int, double, double) { ResetPointer(); }
void MainWindow::Frame1_MouseMove() { ResetPointer(); }
void MainWindow::Frame2_MouseMove() { ResetPointer(); }
void MainWindow::Frame3_MouseMove() { ResetPointer(); }
void MainWindow::Frame4_MouseMove() { ResetPointer(); }

}  // namespace tavrolin
