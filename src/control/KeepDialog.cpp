#include "control/KeepDialog.h"

#include "app/Program.h"
#include "control/Calibrations.h"
#include "control/MainWindow.h"
#include "crosshair/Measure.h"
#include "settings/NumberText.h"

namespace tavrolin {

namespace {
constexpr double kWidth = 4800;
constexpr double kHeight = 2400;
}  // namespace

KeepDialog::KeepDialog(Program& program)
    : Form(program.backend(), "KeepDialog"),
      NameLbl(Add<Label>("NameLbl")),
      NameBox(Add<TextBox>("NameBox")),
      UnitLbl(Add<Label>("UnitLbl")),
      UnitBox(Add<TextBox>("UnitBox")),
      Info(Add<Label>("Info")),
      KeepBtn(Add<CommandButton>("KeepBtn")),
      CancelBtn(Add<CommandButton>("CancelBtn")),
      p_(program) {
    SetCaption("Keep Calibration");
    SetBorder(BorderStyle::Fixed);
    SetKeyPreview(true);
    Move(0, 0, kWidth, kHeight);
    NameLbl.SetCaption("Name:");
    NameLbl.Move(180, 210, 1100, 300);
    NameBox.Move(1320, 150, 3300, 360);
    NameBox.SetToolTipText("A name for this scale bar, such as the magnification: x5000.");
    UnitLbl.SetCaption("Unit:");
    UnitLbl.Move(180, 690, 1100, 300);
    UnitBox.Move(1320, 630, 1500, 360);
    UnitBox.SetToolTipText("The scale bar's unit, such as nm, \xC2\xB5m or mm.");
    Info.Move(180, 1110, kWidth - 360, 600);
    KeepBtn.SetCaption("Keep");
    KeepBtn.Move(kWidth - 2 * 1320 - 300, 1800, 1320, 405);
    CancelBtn.SetCaption("Cancel");
    CancelBtn.Move(kWidth - 1320 - 180, 1800, 1320, 405);
    KeepBtn.onClick = [this] { KeepBtn_Click(); };
    CancelBtn.onClick = [this] { CancelBtn_Click(); };
}

void KeepDialog::Prepare() {
    const auto& g = p_.g();
    NameBox.SetText("");
    UnitBox.SetText(g.CalibrationUnit);
    const Calibration c = CalibrationNow(p_, "", "");
    std::string line = "The scale bar: " + ShortestDecimal(c.length) + " units = " +
                       FormatNumber(c.pixels, "0.0#") + " pixels";
    if (c.uncertainty > 0) line += ", uncertainty " + ShortestDecimal(c.uncertainty) + " %";
    Info.SetCaption(g.MeasUnitsIndex == 4 ? line + "."
                                          : "Choose Green Marks: User Units and measure a scale "
                                            "bar first.");
}

void KeepDialog::KeepBtn_Click() {
    auto& g = p_.g();
    if (g.MeasUnitsIndex != 4) {
        Hide();
        return;
    }
    const Calibration c = CalibrationNow(p_, NameBox.Text(), UnitBox.Text());
    const std::string problem = KeepCalibration(p_, c);
    if (!problem.empty()) {
        Info.SetCaption(problem);
        SetFocus(&NameBox);
        return;
    }
    // The calibration in use is the one just kept, by its name.
    NameCalibrationInUse(p_, c.name, c.unit);
    Hide();
}

void KeepDialog::CancelBtn_Click() { Hide(); }

void KeepDialog::Form_KeyDown(int& keyCode, int&) {
    if (keyCode == kKeyEscape) {
        keyCode = 0;
        CancelBtn_Click();
    } else if (keyCode == kKeyReturn) {
        keyCode = 0;
        KeepBtn_Click();
    }
}

void KeepDialog::Form_QueryClose() { CancelBtn_Click(); }

void OpenKeepDialog(Program& program) {
    if (!program.g().MeasurementModeOn) return;
    KeepDialog& dialog = program.keepDialog();
    dialog.Load();
    dialog.Prepare();
    dialog.SetFocus(&dialog.NameBox);
    dialog.ShowModal();
    program.Unload(dialog);
}

}  // namespace tavrolin
