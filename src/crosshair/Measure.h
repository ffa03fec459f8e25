// The arithmetic of Measurement Mode: formatting a length for the read-outs, the distance and
// angle between two crosshairs, and the calibration of user units on a scale bar.
#pragma once

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

}  // namespace tavrolin
