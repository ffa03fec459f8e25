// The measurement panel of the control window: the unit choice, the scale bar's length and
// uncertainty for user units, and the distance read-out.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "app/Program.h"
#include "control/Calibrations.h"
#include "control/FieldRules.h"
#include "control/MainWindow.h"
#include "control/MonitorScales.h"
#include "crosshair/CrossDistance.h"
#include "crosshair/DistanceWindow.h"
#include "crosshair/Measure.h"
#include "crosshair/ScaleDistance.h"
#include "ruler/Ruler.h"
#include "settings/NumberText.h"

namespace tavrolin {

namespace {
constexpr const char* kPlusMinus = "\xC2\xB1";  // character 177, in UTF-8
constexpr const char* kCalibListTip =
    "Kept calibrations: choose one, or press Ctrl+1 to Ctrl+9 on the ruler or a crosshair, to "
    "measure with it.";
}  // namespace

void MainWindow::ChooseUnits(int index) {
    auto& g = p_.g();
    DropNamedCalibration(p_);
    const double tpp = p_.TwipsPerPixelX();
    static const int kCodes[] = {0, 2, 3, 0};
    static const char* kTips[] = {"", "Millimeters.", "Inches.", "Pixels."};
    g.MeasUnitsIndex = index;
    g.UnitsCode = kCodes[index];
    g.PixelsPerUnit = index == 1 ? kMillimetreTwips / tpp : index == 2 ? kInchTwips / tpp : 1.0;
    p_.distanceWindow().Distance.SetToolTipText(kTips[index]);
    Option4.SetBackColor(kButtonFaceColor);
    ScaleDist.SetEnabled(false);
    Uncertainty.SetEnabled(false);
    Label4.SetEnabled(false);
    Label3.SetCaption(g.CrossActive ? "Distance (Crosshairs)" : "Distance");
    p_.ruler().ShowTicks(g.MeasurementModeOn);
    MeasureDist_Update(true);
}

void MainWindow::ShowWhatMeasures() {
    const auto& g = p_.g();
    // Only the marks' distance is measured against the scale bar, so only it carries the bar's
    // uncertainty.
    Uncertainty.SetEnabled(g.MeasUnitsIndex == 4 && !g.CrossActive && !g.ScaleCrossActive);
    // The label names the marks by the colour they take on this background.
    p_.ruler().SetMarkerColors();
}

void MainWindow::ShowMeasurementSettings() {
    const auto& g = p_.g();
    ScaleDist.SetText(ShortestDecimal(g.MeasScaleValue));
    Uncertainty.SetText(ShortestDecimal(g.MeasScaleUncertainty));
    switch (g.MeasUnitsIndex) {
        case 4: Option4.SetValue(true); break;
        case 3: Option3.SetValue(true); break;
        case 2: Option2.SetValue(true); break;
        default: Option1.SetValue(true); break;
    }
}

void MainWindow::ShowScaleDistance(const std::string& text) {
    if (ScaleDist.Text() != text) ScaleDist.SetText(text);
}

void MainWindow::ShowDistance(const std::string& text) { MeasureDist.SetText(text); }

void MainWindow::ShowCalibration(double length, double uncertainty) {
    Option4.SetValue(true);
    ScaleDist.SetText(ShortestDecimal(length));
    Uncertainty.SetText(ShortestDecimal(std::round(uncertainty)));
}

void MainWindow::ShowCalibrationName() {
    const auto& g = p_.g();
    std::string caption = "Measurement Units";
    if (!g.CalibrationName.empty()) {
        caption += ": " + g.CalibrationName;
        if (!g.CalibrationUnit.empty()) caption += " (" + g.CalibrationUnit + ")";
    }
    Frame4.SetCaption(caption);
    ShowCalibrations();
}

void MainWindow::ShowCalibrations() {
    const auto& g = p_.g();
    const CalibrationLibrary library = LoadCalibrations(p_);
    std::vector<std::size_t> inUse;
    for (std::size_t i = 0; i < library.items.size(); ++i) {
        if (!g.CalibrationName.empty() && library.items[i].name == g.CalibrationName) {
            inUse.push_back(i);
            break;
        }
    }
    calibrationEcho_ = true;
    const bool same = library.items.size() == calibrations_.size() &&
                      std::equal(library.items.begin(), library.items.end(),
                                 calibrations_.begin(), [](const auto& a, const auto& b) {
                                     return CalibrationLine(a) == CalibrationLine(b);
                                 });
    if (!same) {
        calibrations_ = library.items;
        CalibList.RowsReset(calibrations_.size());
    }
    std::string tip = kCalibListTip;
    if (library.damagedLines > 0) {
        tip += '\n';
        tip += std::to_string(library.damagedLines);
        tip += library.damagedLines == 1 ? " line" : " lines";
        tip += " of Tavrolin-calibrations.txt are no calibration: they are passed over and kept.";
    }
    CalibList.SetToolTipText(tip);
    CalibList.SetSelectedRows(inUse);
    if (!inUse.empty()) CalibList.ScrollTo(inUse.front());
    calibrationEcho_ = false;
}

void MainWindow::CalibList_Change() {
    if (calibrationEcho_ || CalibList.SelectedCount() == 0) return;
    const std::size_t index = CalibList.SelectedRows().front();
    if (index >= calibrations_.size()) return;
    const std::string wanted = calibrations_[index].name;
    // The library may have changed on disk since it was shown: the calibration is found again
    // by its name.
    const CalibrationLibrary library = LoadCalibrations(p_);
    for (std::size_t i = 0; i < library.items.size(); ++i) {
        if (library.items[i].name == wanted) {
            RecallCalibration(p_, static_cast<int>(i));
            return;
        }
    }
    ShowCalibrations();
}

void MainWindow::ShowDistanceCaption(const std::string& caption) { Label3.SetCaption(caption); }

void MainWindow::Option1_Click() { ChooseUnits(1); }
void MainWindow::Option2_Click() { ChooseUnits(2); }
void MainWindow::Option3_Click() { ChooseUnits(3); }

void MainWindow::Option4_Click() {
    auto& g = p_.g();
    g.MeasUnitsIndex = 4;
    g.UnitsCode = 4;
    p_.distanceWindow().Distance.SetToolTipText("User Units.");
    Option4.SetBackColor(kHighlightColor);
    ScaleDist.SetEnabled(true);
    Uncertainty.SetEnabled(true);
    Label4.SetEnabled(true);
    if (NamedCalibrationHolds(p_)) {
        // A kept calibration stays in use.
    } else if (g.ScaleCrossActive) {
        g.PixelsPerUnit = CalibrateUnits(g.ScaleX[0], g.ScaleY[0], g.ScaleX[1], g.ScaleY[1],
                                         p_.TwipsPerPixelX(), g.ScaleBarLength);
    } else {
        g.PixelsPerUnit = ScaleMarkerFactor();
    }
    Ruler& ruler = p_.ruler();
    ruler.SetMarkerColors();
    ruler.ShowTicks(g.MeasurementModeOn);
    MeasureDist_Update(true);
}

std::int32_t MainWindow::MarkerPlace(int id) const {
    // While a marker is dragged its stored place is still the one of the press; the ruler's
    // line shows where it is now.
    std::int32_t pos = p_.g().MarkerPos[static_cast<std::size_t>(id)];
    Ruler& ruler = p_.ruler();
    if (ruler.Loaded()) ruler.GetMarker(id, pos);
    return pos;
}

double MainWindow::ScaleMarkerFactor() const {
    const double scale = p_.g().ScaleBarLength;
    if (!(scale > 0)) return 0;
    const double along =
        std::fabs(static_cast<double>(std::int64_t{MarkerPlace(2)} - MarkerPlace(3)));
    // Through its decimal text, as the value would come back from a text box.
    return ThroughDecimalText(along / scale) / p_.TwipsPerPixelX();
}

void MainWindow::ScaleDist_KeyPress(int& keyAscii) {
    const bool digit = keyAscii >= '0' && keyAscii <= '9';
    if (!digit && keyAscii != '.' && keyAscii != kKeyBack) keyAscii = 0;
}

void MainWindow::ScaleDist_Change() {
    if (scaleEcho_) return;
    auto& g = p_.g();
    // Another length is another calibration.
    DropNamedCalibration(p_);
    const std::string typed = ScaleDist.Text();
    ScaleVerdict verdict = JudgeScaleText(typed);
    if (verdict.kind == ScaleVerdict::Refused) {
        if (g.StartingUp) {
            // The stored length, bounded when it was read: shown and taken as it is.
            verdict = {ScaleVerdict::Accepted, typed};
        } else {
            verdict = {ScaleVerdict::Accepted, g.LastScaleText};
        }
    }
    const std::string& text = verdict.text;
    if (text != typed) {
        scaleEcho_ = true;
        ScaleDist.SetText(text);
        scaleEcho_ = false;
    }
    g.ScaleBarLength = Val(text);
    // An empty or zero box is a length being typed: the setting keeps the last one, and the
    // read-outs say that nothing can be calibrated on it.
    if (verdict.kind == ScaleVerdict::Accepted) {
        g.LastScaleText = text;
        g.ScaleValue = g.ScaleBarLength;
        g.MeasScaleValue = g.ScaleValue;
    }
    ScaleDistance& scaleWindow = p_.scaleDistance();
    if (scaleWindow.Distance.Text() != text) scaleWindow.Distance.SetText(text);
    if (g.ScaleCrossActive && g.MeasUnitsIndex == 4) {
        // The pair's calibration as its read-out makes it, without re-placing the read-out
        // under the user's typing.
        g.PixelsPerUnit = CalibrateUnits(g.ScaleX[0], g.ScaleY[0], g.ScaleX[1], g.ScaleY[1],
                                         p_.TwipsPerPixelX(), g.ScaleBarLength);
    } else if (!g.ScaleCrossActive && g.MeasUnitsIndex == 4) {
        // Only user units are calibrated on the scale bar; another unit keeps its factor.
        g.PixelsPerUnit = ScaleMarkerFactor();
    }
    MeasureDist_Update(true);
}

void MainWindow::Uncertainty_KeyPress(int& keyAscii) {
    const bool digit = keyAscii >= '0' && keyAscii <= '9';
    if (!digit && keyAscii != kKeyBack) keyAscii = 0;
}

void MainWindow::Uncertainty_Change() {
    if (uncertaintyEcho_) return;
    auto& g = p_.g();
    const std::string text = ClampUncertaintyText(Uncertainty.Text());
    if (text != Uncertainty.Text()) {
        uncertaintyEcho_ = true;
        Uncertainty.SetText(text);
        uncertaintyEcho_ = false;
    }
    g.UncertaintyPct = Val(text);
    g.MeasScaleUncertainty = g.UncertaintyPct;
    MeasureDist_Update(true);
}

void MainWindow::MeasureDist_Update(bool markersApart) {
    auto& g = p_.g();
    // On the ruler's green marks the calibration follows the marks wherever they went.
    if (g.MeasUnitsIndex == 4 && !g.ScaleCrossActive && !NamedCalibrationHolds(p_)) {
        g.PixelsPerUnit = ScaleMarkerFactor();
    }
    DistanceWindow& readout = p_.distanceWindow();
    const MarksReading marks = ReadMarks(markersApart);
    if (!marks.valid) {
        MeasureDist.SetText("Green Mark Distance = 0");
        readout.Update("Invalid");
    } else {
        readout.Update(marks.distance);
        std::string text = marks.distance;
        if (!marks.error.empty()) {
            text += "  ( ";
            text += kPlusMinus;
            text += ' ';
            text += marks.error;
            text += marks.percent.empty() ? " )" : " = " + marks.percent + "% )";
        }
        MeasureDist.SetText(text);
    }
    p_.crossDistance().Update();
}

MainWindow::MarksReading MainWindow::ReadMarks(bool markersApart) const {
    const auto& g = p_.g();
    MarksReading r;
    const double perUnit = MarksUnitPixels(p_);
    if (perUnit == 0 || !std::isfinite(perUnit)) return r;
    r.valid = true;
    // Coinciding markers are zero apart, whatever their stored places say.
    const double pixels =
        markersApart
            ? std::fabs(static_cast<double>(std::int64_t{MarkerPlace(0)} - MarkerPlace(1))) /
                  p_.TwipsPerPixelX()
            : 0.0;
    double distance = pixels / perUnit;
    int code = g.UnitsCode;
    r.distance = FormatMeasure(distance, code, -1);
    // The scale bar's uncertainty carries into what its units measure on the ruler.
    if (g.MeasUnitsIndex == 4 && !g.CrossActive && !g.ScaleCrossActive) {
        const double percent = g.UncertaintyPct;
        double error = percent * 0.01 * distance;
        r.error = FormatMeasure(error, code, distance);
        if (percent > 0) r.percent = FormatNumber(percent, "0.0");
    }
    return r;
}

}  // namespace tavrolin
