// Number text as the configuration file, the lock file and the text boxes use it: print zones,
// the print form of numbers, a leading-number parse, and rounding to integers halves-to-even.
#pragma once

#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <string>
#include <string_view>

namespace tavrolin {

// Nearest integer, halves to even (2.5 -> 2, 3.5 -> 4, -2.5 -> -2), saturated to the range of
// a 32-bit integer; NaN gives 0.
inline std::int32_t RoundHalfEven(double v) {
    if (std::isnan(v)) return 0;
    double r = std::nearbyint(v);  // the default rounding mode rounds halves to even
    if (r >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
    if (r <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(r);
}

// The print form of a number: a leading blank for a non-negative value (a minus sign otherwise),
// the shortest general form with at most `significantDigits` digits (15 for doubles, 7 for
// singles), no zero before the decimal point (".5"), exponent form "1E+20" / "1.5E-05" outside
// 1E-04 .. 10^significantDigits, and a trailing blank: " 40 ", "-1 ", " 56.69 ", " .5 ".
std::string PrintNumber(double v, int significantDigits = 15);

// Print items separated by commas: each item after the first starts at the next 14-column print
// zone (columns 1, 15, 29, 43, ...) after the end of the item before it.
std::string PrintZones(std::initializer_list<std::string_view> items);

// The leading number of a text, as the toolkit's plain numeric parse reads it: blanks are skipped,
// an optional sign, digits with at most one ".", an optional exponent (E or D, with sign and
// digits); whatever follows is ignored. No number gives 0. Never NaN; an overflow saturates to
// +-DBL_MAX.
double Val(std::string_view text);

// True when the whole text (blanks around it allowed) is one number in the form Val reads.
bool IsNumeric(std::string_view text);

// The shortest decimal text of v that reads back as v ("7.5", "12", "0.5", "1E+20" is never
// produced below 1e15): the form the text boxes show a number in, without the print blanks.
std::string ShortestDecimal(double v);

// v written as the toolkit's number-to-text conversion writes a double (15 significant digits)
// and read back: the precision a value keeps after passing through a text box.
double ThroughDecimalText(double v);

}  // namespace tavrolin
