#include "crosshair/Measure.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace tavrolin {

std::string MeasurePattern(int code, double value, double other) {
    if (code <= 0) return "0";
    if (code == 1) return "0.0";
    if (code <= 3) return "0.0" + std::string(code - 1, '#');
    // The read-outs only pass lengths, but a negative value must still be judged by its size.
    const double m = std::fmax(std::fabs(value), other);
    if (!(m < 10000)) return "0";  // also a NaN, which FormatNumber writes as "0"
    if (m >= 1000) return "0.0";
    if (m >= 100) return "0.0#";
    if (m >= 10) return "0.0##";
    if (m >= 1) return "0.0###";
    if (m >= 0.1) return "0.0####";
    if (m >= 0.01) return "0.0#####";
    if (m >= 0.001) return "0.0######";
    if (m >= 0.0001) return "0.0#######";
    return "0.0#########";
}

std::string FormatNumber(double value, std::string_view pattern) {
    if (!std::isfinite(value)) return "0";

    std::size_t minInt = 0, minFrac = 0, maxFrac = 0;
    bool point = false;
    for (char c : pattern) {
        if (c == '.') {
            point = true;
        } else if (point) {
            ++maxFrac;
            if (c == '0') minFrac = maxFrac;  // a "0" after "#" still forces the digits before it
        } else if (c == '0') {
            ++minInt;
        }
    }

    // The decimal digits as the toolkit holds them: 15 significant, d.dddddddddddddde±x.
    char buf[40];
    auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific,
                             14);
    std::string text(buf, res.ptr);
    const std::size_t ePos = text.find('e');
    const int exponent = std::atoi(text.c_str() + ePos + 1);
    std::string digits;
    for (std::size_t i = 0; i < ePos; ++i) {
        if (text[i] != '.') digits += text[i];
    }

    std::string intPart, fracPart;
    if (exponent >= 0) {
        const auto intLen = static_cast<std::size_t>(exponent) + 1;
        if (digits.size() < intLen) digits.append(intLen - digits.size(), '0');
        intPart = digits.substr(0, intLen);
        fracPart = digits.substr(intLen);
    } else {
        intPart = "0";
        fracPart = std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    }

    // Half away from zero: we work on the magnitude, so a first dropped digit of 5 or more rounds
    // the kept digits up.
    bool roundUp = fracPart.size() > maxFrac && fracPart[maxFrac] >= '5';
    if (fracPart.size() > maxFrac) fracPart.resize(maxFrac);
    if (roundUp) {
        std::size_t i = fracPart.size();
        while (roundUp && i > 0) {
            --i;
            if (fracPart[i] == '9') {
                fracPart[i] = '0';
            } else {
                ++fracPart[i];
                roundUp = false;
            }
        }
        i = intPart.size();
        while (roundUp && i > 0) {
            --i;
            if (intPart[i] == '9') {
                intPart[i] = '0';
            } else {
                ++intPart[i];
                roundUp = false;
            }
        }
        if (roundUp) intPart.insert(intPart.begin(), '1');
    }

    while (fracPart.size() > minFrac && fracPart.back() == '0') fracPart.pop_back();
    std::size_t lead = 0;
    while (lead + 1 < intPart.size() && intPart[lead] == '0') ++lead;
    intPart.erase(0, lead);
    if (intPart == "0" && minInt == 0 && !fracPart.empty()) intPart.clear();
    if (intPart.size() < minInt) intPart.insert(0, minInt - intPart.size(), '0');

    if (intPart.empty() && fracPart.empty()) return std::string(1, '0');
    const bool nonZero = intPart.find_first_not_of('0') != std::string::npos ||
                         fracPart.find_first_not_of('0') != std::string::npos;
    std::string out;
    if (value < 0 && nonZero) out += '-';
    out += intPart;
    if (!fracPart.empty()) {
        out += '.';
        out += fracPart;
    }
    return out;
}

std::string FormatMeasure(double& value, int& code, double other) {
    return FormatNumber(value, MeasurePattern(code, value, other));
}

namespace {
double Fm(double value, int code, double other, std::string& out) {
    out = FormatMeasure(value, code, other);
    return value;
}
}  // namespace

double PixelDistance(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1,
                     double twipsPerPixel) {
    const double dx = static_cast<double>(std::int64_t{x0} - x1);
    const double dy = static_cast<double>(std::int64_t{y0} - y1);
    if (!(twipsPerPixel > 0)) return 0;
    return std::sqrt(dx * dx + dy * dy) / twipsPerPixel;
}

PairMeasure MeasurePair(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1,
                        double twipsPerPixel, double pixelsPerUnit, int code) {
    PairMeasure m;
    // A factor that is 0 (an uncalibrated scale) or not a number cannot turn pixels into units.
    if (!(twipsPerPixel > 0) || !(pixelsPerUnit != 0) || !std::isfinite(pixelsPerUnit)) return m;
    m.valid = true;
    m.d = PixelDistance(x0, y0, x1, y1, twipsPerPixel) / pixelsPerUnit;
    m.x = std::fabs(static_cast<double>(std::int64_t{x0} - x1)) / twipsPerPixel;
    m.y = std::fabs(static_cast<double>(std::int64_t{y0} - y1)) / twipsPerPixel;
    if (m.x >= 0.5 && m.y >= 0.5) {
        m.full = true;
        Fm(m.x / pixelsPerUnit, code, m.d, m.xText);
        Fm(m.y / pixelsPerUnit, code, m.d, m.yText);
        Fm(m.d, code + 1, -1, m.dText);
        m.a = 90 - std::atan(m.x / m.y) * 180 / 3.1415926535;
        Fm(m.a, 2, -1, m.aText);
        m.panelText = m.dText;
    } else {
        Fm(m.d, code, -1, m.dText);
        m.panelText = m.dText;
    }
    return m;
}

std::string PairMeasure::ReadoutText() const {
    if (!valid) return "Invalid";
    if (!full) return dText;
    return "  X: " + xText + "\r\n" + "  Y: " + yText + "\r\n" + "  D: " + dText + "\r\n" +
           "  A: " + aText;
}

double CalibrateUnits(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1,
                      double twipsPerPixel, double scaleDistance) {
    if (!(scaleDistance > 0) || !std::isfinite(scaleDistance)) return 0;
    return PixelDistance(x0, y0, x1, y1, twipsPerPixel) / scaleDistance;
}

}  // namespace tavrolin
