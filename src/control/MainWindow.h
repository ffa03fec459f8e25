// "Ruler Control": the start-up window. Its load brings the program up and its unload takes it
// down; it holds the settings, help and about pages and the measurement panel.
#pragma once

#include <array>
#include <string>

#include "forms/Form.h"

namespace tavrolin {

class Program;

class MainWindow : public Form {
public:
    explicit MainWindow(Program& program);

    void Form_Load() override;
    void Form_Unload() override;
    void Form_QueryClose() override;

    void ExitBtn_Click();
    // Recomputes the distance shown in the panel and the read-outs.
    void MeasureDist_Update(bool markersApart);

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
    Label& OptionsInfo;

    // Settings page: 0 Number of Ticks, 1 Primary Tick Index, 2 Secondary Tick Index,
    // 3..6 center, primary, secondary, other lengths, 7..10 their widths.
    std::array<TextBox*, 11> Text1{};
    // 0..2 the index labels, 3..6 the tick class names, 9 "Length", 10 "Width", 11 "Color".
    std::array<Label*, 12> Label1{};
    std::array<Label*, 4> TickColor{};  // swatches of the four tick classes
    Label& ColorBox;                    // swatch of the ruler background
    Label& BackgroundLbl;

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

    static std::string VersionCaption(int major, int minor, int revision);
    static std::array<std::string, 3> HelpTexts();
    static std::string AboutText();

private:
    void LayOut();
    Program& p_;
};

}  // namespace tavrolin
