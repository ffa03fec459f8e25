// Any bytes as a configuration file: reading never fails, the clamped settings are in their safe
// ranges, and writing them then reading the result back gives the same settings.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "FuzzCheck.h"
#include "settings/ConfigFile.h"

using namespace tavrolin;

namespace {

bool Near(double a, double b, double rel) {
    return a == b || std::fabs(a - b) <= rel * std::fmax(std::fabs(a), std::fabs(b));
}

void CheckRanges(const Settings& s) {
    FUZZ_CHECK(s.TickSpacing >= 45 && s.TickSpacing <= 1'000'000);
    FUZZ_CHECK(s.PrimaryIndex >= 1 && s.SecondaryIndex >= 1);
    for (int i = 1; i <= 4; ++i) FUZZ_CHECK(s.TickWidth[i] >= 1 && s.TickWidth[i] <= 100);
    FUZZ_CHECK(s.MeasLineLength >= 1);
    FUZZ_CHECK(s.RulerStartWidth >= 0 && s.RulerStartHeight >= 0);
    for (auto c : s.ColorChoice) FUZZ_CHECK(c >= 0 && c <= 0xFFFFFF);
    FUZZ_CHECK(std::isfinite(s.MeasScaleValue) && s.MeasScaleValue >= 0);
    FUZZ_CHECK(std::isfinite(s.MeasScaleUncertainty));
    FUZZ_CHECK(s.ConvertLengthToDisplay >= 56.69 && s.ConvertLengthToDisplay <= 1440);
    FUZZ_CHECK(s.RulerTransparency >= 0 && s.RulerTransparency <= 255);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    Settings s = Settings::Defaults(15, 15, 6210);
    ParseConfig(text, s);
    ClampSettings(s, 15);
    CheckRanges(s);

    Settings again = s;
    ClampSettings(again, 15);
    FUZZ_CHECK(FormatConfig(again, {}) == FormatConfig(s, {}));

    const RulerRect rect{static_cast<double>(s.RulerStartTop), static_cast<double>(s.RulerStartHeight),
                         static_cast<double>(s.RulerStartLeft), static_cast<double>(s.RulerStartWidth)};
    const std::string file = FormatConfig(s, rect);
    Settings back = Settings::Defaults(15, 15, 6210);
    const ConfigReadReport report = ParseConfig(file, back);
    FUZZ_CHECK(report.damagedLines == 0 && !report.endedEarly && !report.olderLayout &&
               !report.olderTail);
    // Positions below 101 are written as 1000 on purpose; the ruler's rectangle is written in
    // single precision.
    if (s.ControlTop >= 101) FUZZ_CHECK(back.ControlTop == s.ControlTop);
    if (s.ControlLeft >= 101) FUZZ_CHECK(back.ControlLeft == s.ControlLeft);
    back.ControlTop = s.ControlTop;
    back.ControlLeft = s.ControlLeft;
    FUZZ_CHECK(Near(back.RulerStartTop, s.RulerStartTop, 1e-6));
    FUZZ_CHECK(Near(back.RulerStartLeft, s.RulerStartLeft, 1e-6));
    FUZZ_CHECK(back.RulerStartHeight == s.RulerStartHeight);
    FUZZ_CHECK(back.RulerStartWidth == s.RulerStartWidth);
    back.RulerStartTop = s.RulerStartTop;
    back.RulerStartLeft = s.RulerStartLeft;
    FUZZ_CHECK(Near(back.MeasScaleValue, s.MeasScaleValue, 1e-14));
    FUZZ_CHECK(Near(back.MeasScaleUncertainty, s.MeasScaleUncertainty, 1e-14));
    FUZZ_CHECK(Near(back.ConvertLengthToDisplay, s.ConvertLengthToDisplay, 1e-14));
    back.MeasScaleValue = s.MeasScaleValue;
    back.MeasScaleUncertainty = s.MeasScaleUncertainty;
    back.ConvertLengthToDisplay = s.ConvertLengthToDisplay;
    FUZZ_CHECK(FormatConfig(back, rect) == FormatConfig(s, rect));
    return 0;
}
