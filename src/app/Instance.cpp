#include "app/Instance.h"

#include <optional>
#include <cstdio>
#include <string_view>
#include <vector>

#include "settings/NumberText.h"

namespace tavrolin {

namespace {

bool Removed(char32_t c) {
    // Besides what the instance argument always lost, the characters that a file system refuses
    // or that would lead elsewhere go too: ':' '"' and control characters.
    static constexpr std::string_view kRemoved = " `~!@#$^&*\\|/?,.<>0123456789:\"";
    if (c < 0x80) {
        return c < 0x20 || c == 0x7F || kRemoved.find(static_cast<char>(c)) != std::string_view::npos;
    }
    // What a file name should not show or cannot show the same everywhere: C1 controls,
    // invisible and direction-changing format characters, private use and noncharacters.
    return c <= 0x9F || c == 0xAD || c == 0x34F || c == 0x61C || c == 0x180E ||
           (c >= 0x200B && c <= 0x200F) || (c >= 0x2028 && c <= 0x202E) ||
           (c >= 0x2060 && c <= 0x206F) || (c >= 0xE000 && c <= 0xF8FF) ||
           (c >= 0xFDD0 && c <= 0xFDEF) || (c >= 0xFE00 && c <= 0xFE0F) || c == 0xFEFF ||
           (c & 0xFFFE) == 0xFFFE || c >= 0xF0000;
}

// Upper case without the locale, so that the name is the same whatever the user's language
// settings; letters beyond ASCII keep their case, as they always have in these names.
char32_t Upper(char32_t c) { return c >= 'a' && c <= 'z' ? c - 0x20 : c; }

// The next well-formed UTF-8 character at `i` (shortest form, no surrogates, at most
// U+10FFFF); `length` is what it takes, or 1 for a byte that starts none.
std::optional<char32_t> NextCharacter(const std::string& text, std::size_t i, std::size_t& length) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[i + k]); };
    const unsigned char lead = byte(0);
    length = 1;
    if (lead < 0x80) return lead;
    std::size_t need = 0;
    char32_t c = 0, least = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        need = 1, c = lead & 0x1F, least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        need = 2, c = lead & 0x0F, least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        need = 3, c = lead & 0x07, least = 0x10000;
    } else {
        return std::nullopt;
    }
    if (i + need >= text.size()) return std::nullopt;
    for (std::size_t k = 1; k <= need; ++k) {
        if ((byte(k) & 0xC0) != 0x80) return std::nullopt;
        c = (c << 6) | (byte(k) & 0x3F);
    }
    if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return std::nullopt;
    length = need + 1;
    return c;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

}  // namespace

std::string CleanArgument(const std::string& commandLine) {
    std::string text = commandLine;
    const auto blank = text.find(' ');
    if (blank != std::string::npos && blank > 0) text.resize(blank + 1);
    // Four characters, never splitting a multi-byte one; bytes that are not part of a
    // well-formed UTF-8 sequence go, so that each character kept is one the file name can show.
    std::string out;
    int count = 0;
    for (std::size_t i = 0, length = 1; i < text.size() && count < 4; i += length) {
        const auto c = NextCharacter(text, i, length);
        if (!c || Removed(*c)) continue;
        AppendUtf8(out, Upper(*c));
        ++count;
    }
    return out;
}

bool IsLockStale(Platform& platform, const std::string& path, int maxAgeDays) {
    const auto content = platform.ReadFile(path, 4096);
    // What cannot be read as a date was not written by a program that got as far as running.
    if (!content) return true;
    long numbers[3] = {0, 0, 0};
    if (!content->empty()) {
        // The first three number items, separated by blanks, commas or line ends.
        std::vector<std::string> items;
        std::string current;
        for (char ch : *content) {
            if (ch == ' ' || ch == ',' || ch == '\t' || ch == '\r' || ch == '\n') {
                if (!current.empty()) items.push_back(current);
                current.clear();
                if (items.size() == 3) break;
            } else {
                current.push_back(ch);
            }
        }
        if (!current.empty() && items.size() < 3) items.push_back(current);
        if (items.size() < 3) return true;
        for (int i = 0; i < 3; ++i) {
            const std::string& item = items[static_cast<std::size_t>(i)];
            if (!IsNumeric(item)) return true;
            const double v = Val(item);
            if (v < -1e7 || v > 1e7) return true;
            numbers[i] = RoundHalfEven(v);
        }
    }
    const Date today = platform.Today();
    if (numbers[0] < 1990 || numbers[0] > today.year) return true;
    const Date written{static_cast<int>(numbers[0]), static_cast<int>(numbers[1]),
                       static_cast<int>(numbers[2])};
    return DaysBetween(written, today) > maxAgeDays;
}

bool FileExists(Platform& platform, const std::string& path) {
    if (path.empty()) return false;
    if (path.size() < 4 && path.size() >= 2 && path[1] == ':') return platform.IsDirectory(path);
    std::string probe = path;
    if (probe.size() > 1 && (probe.back() == platform.PathSeparator() || probe.back() == '/')) {
        probe.pop_back();
    }
    return platform.ModificationTime(probe).has_value();
}

std::string LockFileContent(const Date& today, const std::string& configPath) {
    char year[16], month[16], day[16];
    std::snprintf(year, sizeof year, "%04d", today.year);
    std::snprintf(month, sizeof month, "%02d", today.month);
    std::snprintf(day, sizeof day, "%02d", today.day);
    return PrintZones({year, month, day, "Date when launched."}) + "\r\n" + "\r\n" +
           "This file exists when Tavrolin is using: " + configPath + "\r\n" + "\r\n";
}

InstanceFiles ClaimInstance(Platform& platform, const std::string& folder,
                            const std::string& argument) {
    const std::string base = "Tavrolin" + argument;
    InstanceFiles files;
    files.configBaseName = base;
    if (folder.empty()) {
        files.notSaved = "there is no folder to keep it in (no usable home folder)";
        return files;
    }
    for (int n = 0;; ++n) {
        const std::string suffix = n == 0 ? "" : std::to_string(n);
        const std::string lock = platform.Join(folder, base + suffix + ".tmp");
        const std::string config = platform.Join(folder, base + suffix + ".cfg");
        const std::string content = LockFileContent(platform.Today(), config);
        LockResult result = platform.TakeLock(lock, content);
        if (result.state == LockState::Unprobed) {
            // Without locks in the file system only the date can tell a running program's lock
            // from one left behind.
            if (IsLockStale(platform, lock, 6)) {
                result = platform.TakeOverLock(lock, content);
            } else {
                platform.ReleaseLock(lock, false);
                result.state = LockState::Held;
            }
        }
        const bool taken = result.state == LockState::Taken;
        // The folder refusing a new file would refuse the next name as well.
        if (!taken && result.state != LockState::Refused && n < 9) continue;
        files.configBaseName = base + suffix;
        files.configPath = config;
        files.lockPath = lock;
        files.lockHeld = taken;
        // Without a lock of its own another instance may be using the file: this one reads it
        // and never writes it.
        if (result.state == LockState::Refused) {
            files.notSaved = "no lock file can be made beside it";
        } else if (!taken) {
            files.notSaved = "another running Tavrolin, or a file this user may not use, holds "
                             "each of its ten names";
        }
        return files;
    }
}

void ReleaseInstance(Platform& platform, const InstanceFiles& files) {
    if (files.lockHeld) platform.ReleaseLock(files.lockPath, true);
}

std::string SettingsFolder(Platform& platform) {
    const std::string own = platform.ProgramFolder();
    // An installed program's folder belongs to every user of the machine: what root or an
    // administrator changes in a session is not everyone's defaults.
    if (!platform.IsSystemFolder(own) && platform.FolderWritable(own)) return own;
    const std::string user = platform.UserConfigFolder();
    if (user.empty()) return {};
    platform.MakeFolders(user);
    return user;
}

std::string SettingsToRead(Platform& platform, const std::string& configPath,
                           const std::string& configBaseName) {
    const std::string own = platform.ProgramFolder();
    const std::string beside = platform.Join(own, configBaseName + ".cfg");
    if (configPath.empty()) return platform.Inspect(beside).regular ? beside : std::string();
    const FileFacts facts = platform.Inspect(configPath);
    // Another user's link is not followed, for reading either.
    if (facts.foreignLink || facts.unfollowed || facts.loop) return {};
    if (facts.exists) return configPath;
    if (beside != configPath && platform.Inspect(beside).regular) return beside;
    return configPath;
}

std::string WhyNotSaved(const FileFacts& facts) {
    if (!facts.exists) return {};
    if (facts.loop) return "it lies behind a link that leads back to itself";
    if (facts.foreignLink) return "it is a link made by another user";
    if (facts.unfollowed) return "it is a link, and Tavrolin follows no links on this system";
    if (!facts.regular) return "it is not a regular file";
    if (!facts.readable) return "it cannot be read";
    if (!facts.writable) return "it is read-only";
    return {};
}

}  // namespace tavrolin
