#include "settings/NumberText.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cstdio>
#include <cstring>

namespace tavrolin {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Digits and decimal exponent of a number rounded to a given count of significant digits,
// trailing zeros removed: 1507.25 -> "150725", 3.
struct Decimal {
    char digits[24];
    int count = 0;
    int exponent = 0;  // of the first digit
};

Decimal RoundToDigits(double magnitude, int significantDigits) {
    // std::to_chars is used instead of printf so the user's locale never changes the point.
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific,
                             significantDigits - 1);
    Decimal d;
    const char* p = buf;
    for (; p < res.ptr && *p != 'e'; ++p) {
        if (IsDigit(*p) && d.count < static_cast<int>(sizeof d.digits)) d.digits[d.count++] = *p;
    }
    if (p < res.ptr) {
        int exp = 0;
        const char* q = p + 1;
        if (q < res.ptr && *q == '+') ++q;  // from_chars takes '-' but not '+'
        std::from_chars(q, res.ptr, exp);
        d.exponent = exp;
    }
    while (d.count > 1 && d.digits[d.count - 1] == '0') --d.count;
    return d;
}

// The longest run of mantissa digits kept when reading a number: far more than a double can
// tell apart, and it keeps the work bounded for a line made of digits only.
constexpr std::size_t kMaxMantissaDigits = 800;

struct Scan {
    double value = 0;
    std::size_t end = 0;  // index just after the number (or where the scan gave up)
    bool found = false;   // at least one mantissa digit
};

Scan ScanNumber(std::string_view t) {
    Scan scan;
    std::size_t i = 0;
    while (i < t.size() && IsBlank(t[i])) ++i;
    bool negative = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
        negative = t[i] == '-';
        ++i;
    }

    char mantissa[kMaxMantissaDigits];
    std::size_t kept = 0;
    std::int64_t scale = 0;  // value = mantissa * 10^scale
    bool anyDigit = false;
    bool seenPoint = false;
    for (; i < t.size(); ++i) {
        char c = t[i];
        if (c == '.' && !seenPoint) {
            seenPoint = true;
            continue;
        }
        if (!IsDigit(c)) break;
        anyDigit = true;
        if (kept == 0 && c == '0') {
            if (seenPoint) --scale;  // a leading zero after the point only shifts the scale
            continue;
        }
        if (kept < kMaxMantissaDigits) {
            mantissa[kept++] = c;
            if (seenPoint) --scale;
        } else if (!seenPoint) {
            ++scale;  // a dropped integer digit still counts towards the magnitude
        }
    }
    if (!anyDigit) return scan;  // a lone sign or point is no number
    scan.found = true;
    scan.end = i;

    // An exponent counts only when at least one digit follows the letter (and its sign).
    if (i < t.size() && (t[i] == 'E' || t[i] == 'e' || t[i] == 'D' || t[i] == 'd')) {
        std::size_t j = i + 1;
        bool expNegative = false;
        if (j < t.size() && (t[j] == '+' || t[j] == '-')) {
            expNegative = t[j] == '-';
            ++j;
        }
        if (j < t.size() && IsDigit(t[j])) {
            std::int64_t exp = 0;
            for (; j < t.size() && IsDigit(t[j]); ++j) {
                if (exp < 1'000'000) exp = exp * 10 + (t[j] - '0');
            }
            scale += expNegative ? -exp : exp;
            scan.end = j;
        }
    }

    if (kept == 0) return scan;  // zero, also "-0": no negative zero
    const std::int64_t magnitude = static_cast<std::int64_t>(kept) + scale;  // 10^(m-1) <= |v| < 10^m
    double value;
    if (magnitude > 310) {
        value = DBL_MAX;
    } else if (magnitude < -330) {
        value = 0;
    } else {
        char buf[kMaxMantissaDigits + 32];
        std::memcpy(buf, mantissa, kept);
        buf[kept] = 'e';
        auto res = std::to_chars(buf + kept + 1, buf + sizeof buf, scale);
        value = 0;
        auto parsed = std::from_chars(buf, res.ptr, value);
        if (parsed.ec == std::errc::result_out_of_range) value = magnitude > 0 ? DBL_MAX : 0;
        if (!std::isfinite(value)) value = DBL_MAX;
    }
    scan.value = negative ? -value : value;
    return scan;
}

}  // namespace

std::string PrintNumber(double v, int significantDigits) {
    if (!std::isfinite(v) || v == 0) return " 0 ";
    const int digits = std::clamp(significantDigits, 1, 17);
    // Fewer than eight digits is the single-precision form: the value is what a single holds.
    if (digits <= 7 && std::fabs(v) <= FLT_MAX) v = static_cast<float>(v);

    std::string out(1, v < 0 ? '-' : ' ');
    const Decimal d = RoundToDigits(std::fabs(v), digits);
    if (d.exponent >= -4 && d.exponent < digits) {
        if (d.exponent < 0) {
            out += '.';
            out.append(static_cast<std::size_t>(-d.exponent - 1), '0');
            out.append(d.digits, static_cast<std::size_t>(d.count));
        } else {
            const int intDigits = d.exponent + 1;
            for (int k = 0; k < intDigits; ++k) out += k < d.count ? d.digits[k] : '0';
            if (d.count > intDigits) {
                out += '.';
                out.append(d.digits + intDigits, static_cast<std::size_t>(d.count - intDigits));
            }
        }
    } else {
        out += d.digits[0];
        if (d.count > 1) {
            out += '.';
            out.append(d.digits + 1, static_cast<std::size_t>(d.count - 1));
        }
        char exp[16];
        std::snprintf(exp, sizeof exp, "E%c%02d", d.exponent < 0 ? '-' : '+', std::abs(d.exponent));
        out += exp;
    }
    out += ' ';
    return out;
}

std::string PrintZones(std::initializer_list<std::string_view> items) {
    constexpr std::size_t kZone = 14;
    std::string out;
    bool first = true;
    for (std::string_view item : items) {
        if (!first) out.resize((out.size() / kZone + 1) * kZone, ' ');
        first = false;
        out += item;
    }
    return out;
}

double Val(std::string_view text) { return ScanNumber(text).value; }

bool IsNumeric(std::string_view text) {
    const Scan scan = ScanNumber(text);
    if (!scan.found) return false;
    for (std::size_t i = scan.end; i < text.size(); ++i) {
        if (!IsBlank(text[i])) return false;
    }
    return true;
}

std::string ShortestDecimal(double v) {
    if (!std::isfinite(v) || v == 0) return "0";
    const double magnitude = std::fabs(v);
    // Plain digits for every magnitude a text box sensibly holds; exponent form only where plain
    // digits would run to a screenful.
    const bool plain = magnitude >= 1e-4 && magnitude < 1e15;
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, v,
                             plain ? std::chars_format::fixed : std::chars_format::scientific);
    std::string out(buf, res.ptr);
    for (char& c : out) {
        if (c == 'e') c = 'E';
    }
    return out;
}

}  // namespace tavrolin

namespace tavrolin {

double ThroughDecimalText(double v) {
    if (!std::isfinite(v)) return 0;
    char text[64];
    std::snprintf(text, sizeof text, "%.15G", v);
    return Val(text);
}

}  // namespace tavrolin
