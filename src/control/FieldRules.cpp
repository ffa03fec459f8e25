#include "control/FieldRules.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <vector>

#include "platform/Platform.h"
#include "settings/NumberText.h"

namespace tavrolin {

namespace {

constexpr double kScaleMin = 0.0001;
constexpr double kScaleMax = 1e7;
constexpr int kTwipsMax = 32767;  // the tick lengths are 16-bit settings

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Digits with at most one "." and at least one digit; a trailing "." is allowed, as it stands
// half-way through typing "12.5".
bool IsPlainDecimal(std::string_view text) {
    bool point = false, digit = false;
    for (char c : text) {
        if (c == '.') {
            if (point) return false;
            point = true;
        } else if (IsDigit(c)) {
            digit = true;
        } else {
            return false;
        }
    }
    return digit;
}

bool AllDigits(std::string_view text) {
    for (char c : text) {
        if (!IsDigit(c)) return false;
    }
    return true;
}

int MaxOf(FieldKind kind) {
    switch (kind) {
        case FieldKind::Count: return 2000;
        case FieldKind::Index: return 1000;
        case FieldKind::Width: return 100;
        case FieldKind::Length: return kTwipsMax;
    }
    return 0;
}

std::string PercentEncoded(const std::string& path) {
    static const char* kHex = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : path) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || IsDigit(static_cast<char>(c)) ||
                           c == '/' || c == '-' || c == '_' || c == '.' || c == '~';
        if (plain) {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}

// The program's paths are UTF-8 on every system; std::filesystem takes a plain string in the
// system's code page on Windows, so they travel as UTF-8 explicitly.
std::filesystem::path PathOfUtf8(const std::string& text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

std::string Utf8Of(const std::u8string& text) { return std::string(text.begin(), text.end()); }

}  // namespace

std::string FileUrl(const std::string& absolutePath) {
    std::string path = absolutePath;
    if constexpr (std::filesystem::path::preferred_separator == '\\') {
        std::replace(path.begin(), path.end(), '\\', '/');
    }
    // A drive letter keeps its colon and comes after an empty host: file:///C:/...; a share's
    // server is the host: file://server/share/...
    if (path.size() >= 2 && path[1] == ':') {
        return "file:///" + path.substr(0, 2) + PercentEncoded(path.substr(2));
    }
    if (path.rfind("//", 0) == 0) return "file:" + PercentEncoded(path);
    return "file://" + PercentEncoded(path);
}

ScaleVerdict JudgeScaleText(std::string_view text) {
    if (text.empty() || text == ".") return {ScaleVerdict::Pending, std::string(text)};
    if (!IsPlainDecimal(text)) return {ScaleVerdict::Refused, {}};
    const double v = Val(text);
    if (v == 0) return {ScaleVerdict::Pending, std::string(text)};
    if (v < kScaleMin || v > kScaleMax) return {ScaleVerdict::Refused, {}};
    const bool leadingPoint = text.front() == '.';
    const bool leadingZero = text.front() == '0' && !(text.size() >= 2 && text[1] == '.');
    if (leadingPoint || leadingZero) return {ScaleVerdict::Accepted, ShortestDecimal(v)};
    return {ScaleVerdict::Accepted, std::string(text)};
}

std::string ClampUncertaintyText(const std::string& text) {
    if (!IsNumeric(text)) return "0";
    const double v = Val(text);
    if (v < 0) return "0";
    if (v > 100) return "100";
    return text;
}

FieldKind KindOfField(int index) {
    if (index == 0) return FieldKind::Count;
    if (index <= 2) return FieldKind::Index;
    if (index <= 6) return FieldKind::Length;
    return FieldKind::Width;
}

bool FieldKeyAllowed(FieldKind kind, int keyAscii) {
    if (keyAscii == 8 || IsDigit(static_cast<char>(keyAscii))) return true;
    return kind == FieldKind::Length && keyAscii == '.';
}

bool FieldTextPossible(FieldKind kind, std::string_view text, double unit) {
    if (text.empty()) return true;
    if (kind == FieldKind::Length) {
        if (text == ".") return true;
        return IsPlainDecimal(text) && Val(text) * unit <= kTwipsMax + 0.5;
    }
    // Six digits are beyond every maximum; the length check keeps Val from huge texts.
    return AllDigits(text) && text.size() <= 6 && Val(text) <= MaxOf(kind);
}

std::optional<int> FieldValue(FieldKind kind, std::string_view text, double unit) {
    if (!FieldTextPossible(kind, text, unit) || text.empty() || text == ".") return std::nullopt;
    if (kind == FieldKind::Length) {
        const std::int32_t twips = RoundHalfEven(Val(text) * unit);
        if (twips < 1 || twips > kTwipsMax) return std::nullopt;
        return twips;
    }
    const std::int32_t v = RoundHalfEven(Val(text));
    if (v < 1 || v > MaxOf(kind)) return std::nullopt;
    return v;
}

std::string LengthText(int twips, double unit) {
    // As many decimals as one twip can tell apart in the unit (one for millimetres, three for
    // inches): any finer and a typed length would come back changed by its rounding to twips.
    const double scale = std::pow(10.0, std::max(0.0, std::floor(std::log10(unit))));
    return ShortestDecimal(std::round(twips / unit * scale) / scale);
}

std::string FindManualFile(Platform& platform) {
    return FindManualFile(platform.ProgramFolder(), [&platform](const std::string& path) {
        return platform.ModificationTime(path).has_value();
    });
}

std::string FindManual(const std::string& programFolder,
                       const std::function<bool(const std::string&)>& exists) {
    const std::string file = FindManualFile(programFolder, exists);
    return file.empty() ? file : FileUrl(file);
}

std::string FindManualFile(const std::string& programFolder,
                           const std::function<bool(const std::string&)>& exists) {
    namespace fs = std::filesystem;
    const fs::path exeFolder = PathOfUtf8(programFolder);
    std::vector<fs::path> candidates = {
        exeFolder / "docs" / "manual" / "index.html",
        exeFolder / ".." / "share" / "doc" / "tavrolin" / "manual" / "index.html",
    };
#ifdef TAVROLIN_SOURCE_MANUAL
    candidates.push_back(PathOfUtf8(TAVROLIN_SOURCE_MANUAL));
#endif
    for (const fs::path& candidate : candidates) {
        std::error_code ec;
        fs::path full = fs::absolute(candidate, ec).lexically_normal();
        if (ec) continue;
        const std::string utf8 = Utf8Of(full.u8string());
        if (!exists(utf8)) continue;
        return utf8;
    }
    return {};
}

}  // namespace tavrolin
