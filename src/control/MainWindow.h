// The control window, titled "Tavrolin" (on its help and about pages "Tavrolin Info" and
// "Tavrolin About"): the start-up window. Its load brings the program up and its unload takes it
// down; it holds the settings, help and about pages and the measurement panel.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "control/Calibrations.h"
#include "forms/Form.h"

namespace tavrolin {

class Program;

class MainWindow : public Form {
public:
    explicit MainWindow(Program& program);

    void Form_Load() override;
    void Form_Unload() override;
    void Form_QueryClose() override;
    void Form_Deactivate() override;
    void Form_KeyDown(int& keyCode, int& shift) override;
    void Form_MouseMove(int button, int shift, double x, double y) override;

    // Pages, modes and the button row.
    void About_Click();
    void Settings_Click();
    void HideBtn_Click();
    void ExitBtn_Click();
    // The check boxes of the settings page: each click takes the box into its shared value.
    void MeasureMode_Click();
    void UseHRuler_Click();
    void PosLock_Click();
    void Check1_Click();
    void WebSite_Click();
    void Frame1_MouseMove();
    void Frame2_MouseMove();
    void Frame3_MouseMove();
    void Frame4_MouseMove();

    // Settings page.
    void Text1_Change(int index);
    void Text1_KeyPress(int index, int& keyAscii);
    void Label1_Click(int index);
    void ColorBox_Click();
    void TickColor_Click(int index);

    // Measurement panel.
    void Option1_Click();
    void Option2_Click();
    void Option3_Click();
    void Option4_Click();
    void ScaleDist_Change();
    void ScaleDist_KeyPress(int& keyAscii);
    void Uncertainty_Change();
    void Uncertainty_KeyPress(int& keyAscii);
    // Recomputes the distance shown in the panel and the read-outs. False: the two measurement
    // markers stand on the same pixel.
    void MeasureDist_Update(bool markersApart);
    // What the distance box shows for the black marks: the distance, and in user units the
    // scale bar's uncertainty carried into it.
    struct MarksReading {
        bool valid = false;     // false without a unit factor: "Green Mark Distance = 0"
        std::string distance;   // "500.0"
        std::string error;      // the carried uncertainty, "15.0"; empty when none is carried
        std::string percent;    // "3.0"; empty when the uncertainty is 0
    };
    MarksReading ReadMarks(bool markersApart) const;
    // User Units with a kept calibration's scale bar length and uncertainty in the boxes.
    void ShowCalibration(double length, double uncertainty);
    // The panel names the kept calibration in use, if any, and its unit.
    void ShowCalibrationName();
    // Names what measures in the distance label (the crosshairs, or the ruler's marks by their
    // colour) and opens the uncertainty box only for the marks' distance in user units: what
    // every change of the crosshairs between docked and active leaves behind.
    void ShowWhatMeasures();

    // What other windows have the control window show.
    // The check boxes show the shared switches (mode, lock, orientation, start minimised); a box
    // that changes runs its Click handler, which the settings being loaded keep quiet.
    void ShowSwitches();
    // The "Loupe" box shows the loupe switch (turned with the L key too).
    void ShowLoupeSwitch();
    // Turns the ruler as a click on the "Horizontal" box does, the box showing the new way.
    void ChooseOrientation(bool horizontal);
    // The settings page names the configuration file in use.
    void ShowConfigFileName();
    // The "Length" header names the unit the tick lengths are shown in.
    void ShowLengthUnit();
    // "To" fills the settings page's fields and swatches from the settings; "From" takes the
    // fields' values in. A typed number of ticks is taken as the spacing that gives the ruler,
    // at its present length, that many ticks on each side (or the nearest it can have).
    void ValuesToSettings(const std::string& direction);
    // The swatch of a colour item (the background or a tick class) shows a chosen colour.
    void ShowItemColor(int item, Color color);
    // The measurement panel shows the settings' scale-bar length, uncertainty and unit, each
    // taken in by its box's handler as if chosen there.
    void ShowMeasurementSettings();
    // The scale-bar box shows a length typed elsewhere (the scale read-out), judged as typing.
    void ShowScaleDistance(const std::string& text);
    // Minimised when "Minimize on Start" is checked, else at the saved place.
    void PlaceAtStart();
    // Minimises the window, remembering where it stood, or brings it back there.
    void ToggleMinimized();
    // The distance box shows a measured distance, and its label names what measures it.
    void ShowDistance(const std::string& text);
    void ShowDistanceCaption(const std::string& caption);

    // Pages and the button row.
    Frame& Frame1;  // settings
    Frame& Frame2;  // help
    Frame& Frame3;  // about
    Frame& Frame4;  // measurement panel
    CheckBox& PosLock;
    CheckBox& MeasureMode;
    CheckBox& UseHRuler;
    CheckBox& Check1;
    Label& SysFile;
    CommandButton& About;
    CommandButton& Settings;
    CommandButton& HideBtn;
    CommandButton& ExitBtn;
    Label& HelpInfo;
    Label& WebSite;
    Label& RulerLbl;
    Label& VelbrinLbl;
    Label& AboutInfo;
    // Under the manual's link: says where the manual is when no program could open it.
    Label& ManualNote;
    Label& OptionsInfo;

    // Settings page: 0 Number of Ticks, 1 Primary Tick Index, 2 Secondary Tick Index,
    // 3..6 center, primary, secondary, other lengths, 7..10 their widths.
    std::array<TextBox*, 11> Text1{};
    // 0..2 the index labels, 3..6 the tick class names, 9 "Length", 10 "Width", 11 "Color".
    std::array<Label*, 12> Label1{};
    std::array<Label*, 4> TickColor{};  // swatches of the four tick classes
    Label& ColorBox;                    // swatch of the ruler background
    Label& BackgroundLbl;

    // The monitors' densities, on the settings page: each monitor and what 100 mm are read as
    // on it, and the pixels per 100 mm the user measured for the one chosen.
    ListView& MonitorList;
    Label& MonitorLbl;
    TextBox& MonitorBox;

    // Measurement panel.
    OptionButton& Option1;
    OptionButton& Option2;
    OptionButton& Option3;
    OptionButton& Option4;
    TextBox& ScaleDist;
    TextBox& Uncertainty;
    TextBox& MeasureDist;
    Label& Label2;
    Label& Label3;
    Label& Label4;
    // "Loupe": the loupe beside the active crosshair, and the edge jumps.
    CheckBox& LoupeCheck;
    // "Keep Calibration...": names the calibration in use and keeps it (Ctrl+S).
    CommandButton& KeepBtn;
    // "Record": records the reading shown (Enter on the ruler or a crosshair).
    CommandButton& RecordBtn;
    // "Measurements...": the window of the readings recorded.
    CommandButton& LogBtn;
    // The kept calibrations; choosing one brings it back, as Ctrl+1 to Ctrl+9 do.
    ListView& CalibList;

    // Fills the list of kept calibrations from the library and selects the one in use.
    void ShowCalibrations();
    // Fills the list of monitors with the densities they are read with, and the box with the
    // chosen one's value when `fillBox`.
    void ShowMonitors(bool fillBox = true);

    // The about page's version line and the help and about texts (control/HelpTexts.cpp).
    static std::string VersionCaption(int major, int minor, int revision);
    static std::array<std::string, 3> HelpTexts();
    static std::string AboutText();

    // Where the manual was found (a file:// address), empty when it is not installed.
    const std::string& ManualUrl() const { return manualUrl_; }
    // The same file as a path of this system.
    const std::string& ManualPath() const { return manualPath_; }

    // Last accepted text of each settings field, restored when an edit makes no sense.
    std::array<std::string, 11> LastFieldText;

private:
    void LayOut();
    void CalibList_Change();
    void MonitorList_Change();
    void MonitorBox_Change();
    // Turns the ruler to the chosen orientation, if it lies the other way, and takes the
    // settings page's values in.
    void ApplyLayout();
    // Shows the page that ActiveFrame names, as the buttons would.
    void RestorePage();
    // The measurement panel covers the tick fields: both are never shown at once.
    void ShowMeasurementPanel(bool shown);
    void ResetPointer();
    // Brings the ruler back as the Show button does; `withReadouts` also shows the crosshair
    // read-outs of the pairs in use.
    void ShowRulerWindows(bool withReadouts);
    // Opens the colour picker on one item and shows the chosen colour everywhere it is used.
    void PickItemColor(int item);
    // Pixels per user unit from the scale markers on the ruler; 0 while no valid scale length
    // is typed or the two markers coincide.
    std::int32_t MarkerPlace(int id) const;
    double ScaleMarkerFactor() const;
    void ChooseUnits(int index);

    Program& p_;
    std::string manualUrl_;
    std::string manualPath_;
    // A box is being rewritten by its own Change handler, which must not run twice.
    bool scaleEcho_ = false;
    bool uncertaintyEcho_ = false;
    bool fieldEcho_ = false;
    // The library as the calibration list shows it, and whether the program is choosing a
    // row of it (which brings nothing back).
    std::vector<Calibration> calibrations_;
    bool calibrationEcho_ = false;
    bool monitorEcho_ = false;
};

}  // namespace tavrolin
