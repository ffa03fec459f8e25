// The arithmetic of Measurement Mode: formatting a length for the read-outs, the distance and
// angle between two crosshairs, and the calibration of user units on a scale bar.
#pragma once

#include <string>

namespace tavrolin {

// Formats `value` with the pattern its precision code chooses: 0 "0", 1 "0.0", 2 "0.0#",
// 3 "0.0##", 4 and above by the magnitude of the larger of `value` and `other` (-1 when there
// is no second quantity).
std::string FormatMeasure(double& value, int& code, double other);

}  // namespace tavrolin
