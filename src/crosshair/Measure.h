// The arithmetic of Measurement Mode: formatting a length for the read-outs, the distance and
// angle between two crosshairs, and the calibration of user units on a scale bar.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tavrolin {

// Formats `value` with the pattern its precision code chooses: 0 "0", 1 "0.0", 2 "0.0#",
// 3 "0.0##", 4 and above by the magnitude of the larger of `value` and `other` (-1 when there
// is no second quantity).
std::string FormatMeasure(double& value, int& code, double other);

// The pattern FormatMeasure uses for this code and these magnitudes.
std::string MeasurePattern(int code, double value, double other);

// `value` written with a numeric pattern of "0" (a digit always written), "#" (a digit written
// only when it is not a trailing zero) and one ".": "0", "0.0", "0.0##". Rounds half away from
// zero on the decimal digits of the value as it is written (15 significant digits, the precision
// the toolkit gives a double), so 2.675 with "0.0#" is "2.68" although the double lies below it.
// A value that rounds to zero has no minus sign; NaN and infinities give "0".
std::string FormatNumber(double value, std::string_view pattern);

// The distance between the two crosshairs of a pair, from their top-left corners in whole twips
// (both windows always have the same size, so corners differ as centres do).
struct PairMeasure {
    bool valid = false;  // false when the unit factor is 0: nothing was divided
    bool full = false;   // apart by at least half a pixel both ways: X, Y, D and A are shown
    double x = 0;        // horizontal distance, pixels
    double y = 0;        // vertical distance, pixels
    double d = 0;        // direct distance, units
    double a = 0;        // angle from the vertical, degrees: 90 level, 0 plumb
    std::string xText, yText, dText, aText;
    // What the control window's distance box shows.
    std::string panelText;
    // The read-out's text: one line per value, the last without a line break.
    std::string ReadoutText() const;
};

PairMeasure MeasurePair(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1,
                        double twipsPerPixel, double pixelsPerUnit, int code);

// The direct distance between two corners, pixels. Differences and squares are taken wide, so
// no two positions on a virtual desktop overflow.
double PixelDistance(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1,
                     double twipsPerPixel);

// Pixels per user unit from the scale crosshairs and the scale-bar length the user typed; 0 when
// that length is zero, negative or missing, so that no caller ever divides by it.
double CalibrateUnits(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1,
                      double twipsPerPixel, double scaleDistance);

}  // namespace tavrolin
