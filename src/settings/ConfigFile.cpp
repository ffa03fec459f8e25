#include "settings/ConfigFile.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "settings/NumberText.h"

namespace tavrolin {

namespace {

// The length unit line holds 56.69 (millimetres) or 1440 (inches); anything smaller is the
// center length of the older layout, which had no unit line and stored lengths in inches.
constexpr double kMillimetreTwips = 56.69;
constexpr double kInchTwips = 1440;

// The end line of the older layout follows ScaleLine2Pos directly; the present layout ends with
// the same line after the transparencies and crosshair colours.
constexpr std::string_view kReservedLine = "Reserved      Reserved";

// A real file is about 2 KB and 42 lines. Anything past these bounds is not ours and is not read.
constexpr std::size_t kMaxBytes = 64 * 1024;
constexpr int kMaxLines = 200;

constexpr int kOlderRulerTransparency = 150;
constexpr int kOlderCrossTransparency = 100;
constexpr std::int32_t kOlderCrosshairColor = 0x00FFFF;
constexpr std::int32_t kOlderScaleCrossColor = 0x00FF00;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

class LineReader {
public:
    explicit LineReader(std::string_view text) : text_(text.substr(0, kMaxBytes)) {}

    bool Next(std::string_view& line) {
        if (pos_ >= text_.size() || lines_ >= kMaxLines) return false;
        ++lines_;
        std::size_t end = text_.find_first_of("\r\n", pos_);
        if (end == std::string_view::npos) {
            line = text_.substr(pos_);
            pos_ = text_.size();
            return true;
        }
        line = text_.substr(pos_, end - pos_);
        pos_ = end + ((text_[end] == '\r' && end + 1 < text_.size() && text_[end + 1] == '\n') ? 2 : 1);
        return true;
    }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
    int lines_ = 0;
};

// The value item of a line: what precedes the first blank or comma, or a quoted string.
std::string_view FirstField(std::string_view line) {
    std::size_t i = 0;
    while (i < line.size() && IsBlank(line[i])) ++i;
    if (i < line.size() && line[i] == '"') {
        std::size_t close = line.find('"', i + 1);
        return line.substr(i + 1, close == std::string_view::npos ? std::string_view::npos : close - i - 1);
    }
    std::size_t end = i;
    while (end < line.size() && !IsBlank(line[end]) && line[end] != ',') ++end;
    return line.substr(i, end - i);
}

// Reads the settings one line at a time. Each reader returns false once the file has ended, so
// the caller stops there and every later setting keeps its value.
class SettingReader {
public:
    SettingReader(std::string_view text, ConfigReadReport& report) : lines_(text), report_(report) {}

    bool Line(std::string_view& line) {
        if (lines_.Next(line)) return true;
        report_.endedEarly = true;
        return false;
    }

    // The value of the next line; false with `found` set when the line exists but is damaged.
    bool Number(double& value, bool& found) {
        std::string_view line;
        if (!Line(line)) return false;
        std::string_view field = FirstField(line);
        found = IsNumeric(field);
        if (found) {
            value = Val(field);
        } else {
            ++report_.damagedLines;
        }
        return true;
    }

    template <typename Int>
    bool Integer(Int& dst, double factor = 1) {
        double v = 0;
        bool found = false;
        if (!Number(v, found)) return false;
        if (found) dst = static_cast<Int>(RoundHalfEven(v * factor));
        return true;
    }

    bool Real(double& dst) {
        double v = 0;
        bool found = false;
        if (!Number(v, found)) return false;
        if (found) dst = v;
        return true;
    }

    void Damaged() { ++report_.damagedLines; }

private:
    LineReader lines_;
    ConfigReadReport& report_;
};

bool ReadSettings(SettingReader& r, Settings& s, ConfigReadReport& report) {
    if (!r.Integer(s.StartControlMin) || !r.Integer(s.HalfTicks) || !r.Integer(s.PrimaryIndex) ||
        !r.Integer(s.SecondaryIndex) || !r.Integer(s.ColorChoice[kRulerBackground]))
        return false;

    double v = 0;
    bool found = false;
    if (!r.Number(v, found)) return false;
    double factor = 1;
    if (found && v < kMillimetreTwips) {
        report.olderLayout = true;
        s.ConvertLengthToDisplay = kInchTwips;
        factor = kInchTwips;
        s.CenterLength = RoundHalfEven(v * factor);
    } else {
        // A damaged unit line is taken for the present layout: the unit stays as it was.
        if (found) s.ConvertLengthToDisplay = v;
        if (!r.Integer(s.CenterLength)) return false;
    }
    if (!r.Integer(s.PrimaryLength, factor) || !r.Integer(s.SecondaryLength, factor) ||
        !r.Integer(s.TickLength, factor))
        return false;

    for (int i = 1; i <= 4; ++i) {
        if (!r.Integer(s.TickWidth[i])) return false;
    }
    for (int i = kCenterTick; i <= kOtherTicks; ++i) {
        if (!r.Integer(s.ColorChoice[i])) return false;
    }
    if (!r.Integer(s.TickSpacing) || !r.Integer(s.ControlTop) || !r.Integer(s.ControlLeft) ||
        !r.Integer(s.RulerStartTop) || !r.Integer(s.RulerStartHeight) ||
        !r.Integer(s.RulerStartLeft) || !r.Integer(s.RulerStartWidth) ||
        !r.Integer(s.MeasureMode) || !r.Integer(s.IsHorizontal) || !r.Integer(s.ActiveFrame) ||
        !r.Integer(s.MeasLineLength) || !r.Integer(s.MeasUnitsIndex) ||
        !r.Real(s.MeasScaleValue) || !r.Real(s.MeasScaleUncertainty))
        return false;
    for (int i = 0; i < 4; ++i) {
        if (!r.Integer(s.MarkerPos[i])) return false;
    }

    std::string_view line;
    if (!r.Line(line)) return false;
    std::string_view trimmed = line.substr(0, line.find_last_not_of(" \t") + 1);
    if (trimmed == kReservedLine) {
        report.olderTail = true;
        s.RulerTransparency = kOlderRulerTransparency;
        s.CrosshairTransparency = kOlderCrossTransparency;
        s.ScaleCrossTransparency = kOlderCrossTransparency;
        s.ColorChoice[kMeasurementCrosshairs] = kOlderCrosshairColor;
        s.ColorChoice[kScaleCrosshairs] = kOlderScaleCrossColor;
        return true;
    }
    // The ruler transparency is taken from the line's first four characters only, as it always
    // was; a value of at most three digits behind its print blank fits in them.
    std::string_view head = line.substr(0, 4);
    if (IsNumeric(FirstField(head))) {
        s.RulerTransparency = RoundHalfEven(Val(head));
    } else {
        r.Damaged();
    }
    if (!r.Integer(s.CrosshairTransparency) || !r.Integer(s.ScaleCrossTransparency) ||
        !r.Integer(s.ColorChoice[kMeasurementCrosshairs]) ||
        !r.Integer(s.ColorChoice[kScaleCrosshairs]))
        return false;
    return r.Line(line);  // the end line; its text is not checked
}

template <typename T>
void Clamp(T& v, std::int64_t lo, std::int64_t hi) {
    v = static_cast<T>(std::clamp<std::int64_t>(v, lo, hi));
}

}  // namespace

std::string FormatConfig(const Settings& s, const RulerRect& ruler) {
    std::string out;
    out.reserve(2048);
    auto line = [&out](std::string_view value, std::string_view key) {
        out += PrintZones({value, key});
        out += "\r\n";
    };
    auto number = [&line](double v, std::string_view key) { line(PrintNumber(v), key); };
    // A minimised or pushed-off control window reports a position at or past the screen's edge;
    // the next start should bring it back into view instead.
    auto position = [&line, &number](std::int32_t v, std::string_view key) {
        if (v < 101) {
            line("1000", key);
        } else {
            number(v, key);
        }
    };
    auto single = [&line](double v, std::string_view key) { line(PrintNumber(v, 7), key); };

    number(s.StartControlMin, "StartControlMin");
    number(s.HalfTicks, "HalfTicks");
    number(s.PrimaryIndex, "PrimaryIndex");
    number(s.SecondaryIndex, "SecondaryIndex");
    number(s.ColorChoice[kRulerBackground], "ColorChoice(0)");
    number(s.ConvertLengthToDisplay, "ConvertLengthToDisplay");
    number(s.CenterLength, "CenterLength");
    number(s.PrimaryLength, "PrimaryLength");
    number(s.SecondaryLength, "SecondaryLength");
    number(s.TickLength, "TickLength");
    number(s.TickWidth[1], "TickWidth(1)");
    number(s.TickWidth[2], "TickWidth(2)");
    number(s.TickWidth[3], "TickWidth(3)");
    number(s.TickWidth[4], "TickWidth(4)");
    number(s.ColorChoice[kCenterTick], "ColorChoice(1)");
    number(s.ColorChoice[kPrimaryTicks], "ColorChoice(2)");
    number(s.ColorChoice[kSecondaryTicks], "ColorChoice(3)");
    number(s.ColorChoice[kOtherTicks], "ColorChoice(4)");
    number(s.TickSpacing, "TickSpacing");
    position(s.ControlTop, "ControlTop");
    position(s.ControlLeft, "ControlLeft");
    single(ruler.Top, "RulerStartTop");
    single(ruler.Height, "RulerStartHeight");
    single(ruler.Left, "RulerStartLeft");
    single(ruler.Width, "RulerStartWidth");
    number(s.MeasureMode, s.MeasureMode == -1 ? "MeasureMode Locked" : "MeasureMode");
    number(s.IsHorizontal, "1=Horizontal");
    number(s.ActiveFrame, "ActiveFrame");
    number(s.MeasLineLength, "MeasLineLength");
    number(s.MeasUnitsIndex, "MeasUnitsIndex");
    number(s.MeasScaleValue, "MeasScaleValue");
    number(s.MeasScaleUncertainty, "MeasScaleUncertainty");
    number(s.MarkerPos[0], "MeasLine1Pos");
    number(s.MarkerPos[1], "MeasLine2Pos");
    number(s.MarkerPos[2], "ScaleLine1Pos");
    number(s.MarkerPos[3], "ScaleLine2Pos");
    number(s.RulerTransparency, "Ruler Transparency");
    number(s.CrosshairTransparency, "Crosshair Transparency");
    number(s.ScaleCrossTransparency, "Scale Cross Transparency");
    number(s.ColorChoice[kMeasurementCrosshairs], "Crosshair Color");
    number(s.ColorChoice[kScaleCrosshairs], "Scale Cross Color");
    line("Reserved", "Reserved");
    return out;
}

ConfigReadReport ParseConfig(std::string_view text, Settings& s) {
    ConfigReadReport report;
    SettingReader reader(text, report);
    ReadSettings(reader, s, report);
    return report;
}

void ClampSettings(Settings& s, double twipsPerPixel) {
    constexpr std::int64_t kShortMax = std::numeric_limits<std::int16_t>::max();
    constexpr std::int64_t kShortMin = std::numeric_limits<std::int16_t>::min();
    constexpr std::int64_t kMaxSpacing = 1'000'000;
    // Bounds the ruler's length, and with the minimum spacing the number of ticks it lays out.
    constexpr std::int64_t kMaxRulerSize = 400'000;
    constexpr std::int64_t kMaxPosition = 10'000'000;
    constexpr std::int64_t kMaxColor = 0xFFFFFF;

    // Three pixels, so a tick can always be grabbed apart from its neighbour; never zero, since
    // the spacing divides positions into tick numbers.
    std::int64_t minSpacing = RoundHalfEven(3 * twipsPerPixel);
    minSpacing = std::clamp<std::int64_t>(minSpacing, 1, kMaxSpacing);
    Clamp(s.TickSpacing, minSpacing, kMaxSpacing);

    // The indexes divide tick numbers.
    Clamp(s.PrimaryIndex, 1, kShortMax);
    Clamp(s.SecondaryIndex, 1, kShortMax);
    Clamp(s.HalfTicks, 0, kShortMax);
    Clamp(s.CenterLength, 0, kShortMax);
    Clamp(s.PrimaryLength, 0, kShortMax);
    Clamp(s.SecondaryLength, 0, kShortMax);
    Clamp(s.TickLength, 0, kShortMax);
    for (int i = 1; i <= 4; ++i) Clamp(s.TickWidth[i], 1, 100);
    // A marker line of no length could not be seen or grabbed; one twip is the nearest that can.
    Clamp(s.MeasLineLength, 1, kShortMax);

    Clamp(s.RulerStartWidth, 0, kMaxRulerSize);
    Clamp(s.RulerStartHeight, 0, kMaxRulerSize);
    Clamp(s.RulerStartTop, 0, kMaxPosition);
    Clamp(s.RulerStartLeft, 0, kMaxPosition);
    Clamp(s.ControlTop, 0, kMaxPosition);
    Clamp(s.ControlLeft, 0, kMaxPosition);
    for (int i = 0; i < 4; ++i) Clamp(s.MarkerPos[i], 0, kMaxRulerSize);

    Clamp(s.RulerTransparency, 0, 255);
    Clamp(s.CrosshairTransparency, 0, 255);
    Clamp(s.ScaleCrossTransparency, 0, 255);
    for (auto& color : s.ColorChoice) Clamp(color, 0, kMaxColor);

    s.StartControlMin = s.StartControlMin != 0 ? 1 : 0;
    s.IsHorizontal = s.IsHorizontal != 0 ? 1 : 0;
    if (s.MeasureMode != -1 && s.MeasureMode != 0) s.MeasureMode = 1;
    // Unknown panel or unit numbers are valid: they select the fallback branch where used.
    Clamp(s.ActiveFrame, kShortMin, kShortMax);
    Clamp(s.MeasUnitsIndex, kShortMin, kShortMax);

    // A zero scale stands for "no valid user unit"; it is never divided by unchecked.
    if (!std::isfinite(s.MeasScaleValue) || s.MeasScaleValue < 0) s.MeasScaleValue = 0;
    s.MeasScaleValue = std::min(s.MeasScaleValue, 1e7);
    if (!std::isfinite(s.MeasScaleUncertainty)) s.MeasScaleUncertainty = 0;
    s.MeasScaleUncertainty = std::clamp(s.MeasScaleUncertainty, 0.0, 100.0);
    if (!std::isfinite(s.ConvertLengthToDisplay) || s.ConvertLengthToDisplay < kMillimetreTwips) {
        s.ConvertLengthToDisplay = kMillimetreTwips;
    }
    s.ConvertLengthToDisplay = std::min(s.ConvertLengthToDisplay, kInchTwips);
}

}  // namespace tavrolin
