// What the control window's text boxes accept: the scale-bar length, the uncertainty, the tick
// settings fields, and where the installed manual is found.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tavrolin {

class Platform;

// Twips per display unit of the tick lengths.
constexpr double kMillimetreTwips = 56.69;
constexpr double kInchTwips = 1440;

// What the scale-bar box does with a text.
struct ScaleVerdict {
    enum Kind {
        Accepted,  // a length: `text` is what the box shows, possibly rewritten
        Pending,   // empty or zero: shown, not taken; no unit can be calibrated on it
        Refused,   // anything else: the last accepted text returns
    };
    Kind kind = Refused;
    std::string text;
};
// A length is a well-formed positive decimal (digits with at most one ".") from 0.0001 to ten
// million. A text that begins with "." or with a zero that is not the "0." of a fraction comes
// back in its shortest form ("007.5" -> "7.5", ".5" -> "0.5"). Empty and zero texts are what
// the box holds while a new length is typed ("0", "0.", "0.00" on the way to "0.005").
ScaleVerdict JudgeScaleText(std::string_view text);

// The uncertainty box's text after its change rule: not a number or below 0 gives "0", above
// 100 gives "100", anything else stays as typed.
std::string ClampUncertaintyText(const std::string& text);

// The tick settings fields Text1(0..10).
enum class FieldKind {
    Count,   // 0: ticks on each side of the centre
    Index,   // 1, 2: primary and secondary periods
    Length,  // 3..6: tick lengths in the display unit
    Width,   // 7..10: tick widths in pixels
};
FieldKind KindOfField(int index);

// Whether a typed character may enter the field (Backspace always may).
bool FieldKeyAllowed(FieldKind kind, int keyAscii);
// Whether the box may hold the text while the user edits: empty or a start that can still
// become a value; a text that can never be one (two points, too large) is refused.
bool FieldTextPossible(FieldKind kind, std::string_view text, double unit);
// The value Apply takes from the field, in the unit the setting keeps (whole counts, twips,
// pixels); nothing for a text that is no acceptable value yet.
std::optional<int> FieldValue(FieldKind kind, std::string_view text, double unit);
// A tick length in twips as the field shows it in the display unit, rounded to what a twip can
// hold, so that a typed length shows again as typed.
std::string LengthText(int twips, double unit);

// The file:// address of an absolute path (UTF-8, either separator, with or without a drive).
std::string FileUrl(const std::string& absolutePath);
// The manual beside the executable, then where an installation puts it, then in the source
// tree: its absolute path with this system's separators, or empty when none of them exists.
std::string FindManualFile(Platform& platform);
// The same search from a folder, before there is a platform (the help text): the file://
// address of the manual, or empty.
std::string FindManual(const std::string& programFolder,
                       const std::function<bool(const std::string&)>& exists);
std::string FindManualFile(const std::string& programFolder,
                           const std::function<bool(const std::string&)>& exists);

}  // namespace tavrolin
