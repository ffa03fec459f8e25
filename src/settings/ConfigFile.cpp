#include "settings/ConfigFile.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>

#include "settings/NumberText.h"

namespace tavrolin {

namespace {

// The length unit line holds 56.69 (millimetres) or 1440 (inches); anything smaller is the
// center length of the older layout, which had no unit line and stored lengths in inches.
constexpr double kInchTwips = 1440;

constexpr std::string_view kLockedModeKey = "MeasureMode Locked";

// The end line of the older layout follows ScaleLine2Pos directly; the present layout ends with
// the same line after the transparencies and crosshair colours.
constexpr std::string_view kReservedLine = "Reserved      Reserved";

// A real file is about 2 KB and 45 lines. Anything past these bounds is not ours and is not read.
constexpr std::size_t kMaxBytes = 64 * 1024;
constexpr int kMaxLines = 200;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

class LineReader {
public:
    explicit LineReader(std::string_view text) : text_(text.substr(0, kMaxBytes)) {}

    bool AtEnd() const { return pos_ >= text_.size() || lines_ >= kMaxLines; }

    bool Next(std::string_view& line) {
        if (AtEnd()) return false;
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
    bool AtEnd() const { return lines_.AtEnd(); }

private:
    LineReader lines_;
    ConfigReadReport& report_;
};

bool ReadSettings(SettingReader& r, Settings& s, ConfigReadReport& report) {
    double factor = 1;  // the older layout's lengths are inches
    // The older layout's center length, read already from where the unit line stands today.
    std::optional<double> carried;
    bool tailSeen = false;
    bool closed = false;  // past the closing line, where a file written before a row ends early
    for (const SettingRow& row : SettingRows()) {
        if (closed && r.AtEnd()) return true;
        if (row.newerTail && !tailSeen) {
            tailSeen = true;
            std::string_view line;
            if (!r.Line(line)) return false;
            std::string_view trimmed = line.substr(0, line.find_last_not_of(" \t") + 1);
            if (trimmed == kReservedLine) {
                report.olderTail = true;
                for (const SettingRow& tail : SettingRows()) {
                    if (tail.newerTail) tail.integer(s) = static_cast<std::int32_t>(tail.defaultValue);
                }
                return true;
            }
            // The ruler transparency is taken from the line's first four characters only, as it
            // always was; a value of at most three digits behind its print blank fits in them.
            std::string_view head = line.substr(0, 4);
            if (IsNumeric(FirstField(head))) {
                row.integer(s) = RoundHalfEven(Val(head));
            } else {
                r.Damaged();
            }
            continue;
        }
        switch (row.kind) {
            case SettingKind::End: {
                std::string_view line;
                if (!r.Line(line)) return false;  // its text is not checked
                closed = true;
                break;
            }
            case SettingKind::Unit: {
                double v = 0;
                bool found = false;
                if (!r.Number(v, found)) return false;
                if (found && v < row.low) {
                    report.olderLayout = true;
                    row.real(s) = kInchTwips;
                    factor = kInchTwips;
                    carried = v;
                } else if (found) {
                    // A damaged unit line is taken for the present layout: the unit stays as it was.
                    row.real(s) = v;
                }
                break;
            }
            case SettingKind::Length:
                if (carried) {
                    row.integer(s) = RoundHalfEven(*carried * factor);
                    carried.reset();
                } else if (!r.Integer(row.integer(s), factor)) {
                    return false;
                }
                break;
            case SettingKind::Real:
                if (!r.Real(row.real(s))) return false;
                break;
            default:
                if (!r.Integer(row.integer(s))) return false;
                break;
        }
    }
    return true;
}

void Clamp(std::int32_t& v, std::int64_t lo, std::int64_t hi) {
    v = static_cast<std::int32_t>(std::clamp<std::int64_t>(v, lo, hi));
}

// A bound of the table as the whole number it is.
std::int64_t Whole(double bound) { return static_cast<std::int64_t>(bound); }

}  // namespace

std::string FormatConfig(const Settings& s, const RulerRect& ruler) {
    std::string out;
    out.reserve(2048);
    auto line = [&out](std::string_view value, std::string_view key) {
        out += PrintZones({value, key});
        out += "\r\n";
    };
    auto number = [&line](double v, std::string_view key) { line(PrintNumber(v), key); };
    Settings record = s;  // the table reaches fields through a record it could change
    for (const SettingRow& row : SettingRows()) {
        switch (row.kind) {
            case SettingKind::End:
                line(row.key, row.key);
                break;
            case SettingKind::Real:
            case SettingKind::Unit:
                number(row.real(record), row.key);
                break;
            case SettingKind::RulerEdge:
                line(PrintNumber(ruler.*row.edge, 7), row.key);  // single precision
                break;
            case SettingKind::WindowPlace: {
                // A minimised or pushed-off control window reports a position at or past the
                // screen's edge; the next start should bring it back into view instead.
                const std::int32_t v = row.integer(record);
                if (v < 101) {
                    line("1000", row.key);
                } else {
                    number(v, row.key);
                }
                break;
            }
            case SettingKind::Mode: {
                const std::int32_t v = row.integer(record);
                number(v, v == -1 ? kLockedModeKey : row.key);
                break;
            }
            default:
                number(row.integer(record), row.key);
                break;
        }
    }
    return out;
}

ConfigReadReport ParseConfig(std::string_view text, Settings& s) {
    ConfigReadReport report;
    SettingReader reader(text, report);
    ReadSettings(reader, s, report);
    return report;
}

void ClampSettings(Settings& s, double twipsPerPixel) {
    for (const SettingRow& row : SettingRows()) {
        switch (row.kind) {
            case SettingKind::End:
                break;
            case SettingKind::Real:
            case SettingKind::Unit: {
                double& v = row.real(s);
                if (!std::isfinite(v)) v = row.low;
                v = std::clamp(v, row.low, row.high);
                break;
            }
            case SettingKind::Flag: {
                std::int32_t& v = row.integer(s);
                v = v != 0 ? 1 : 0;
                break;
            }
            case SettingKind::Mode: {
                std::int32_t& v = row.integer(s);
                if (v != -1 && v != 0) v = 1;
                break;
            }
            case SettingKind::Spacing: {
                const auto low = std::clamp<std::int64_t>(RoundHalfEven(3 * twipsPerPixel),
                                                          Whole(row.low), Whole(row.high));
                Clamp(row.integer(s), low, Whole(row.high));
                break;
            }
            default:
                Clamp(row.integer(s), Whole(row.low), Whole(row.high));
                break;
        }
    }
}

}  // namespace tavrolin
