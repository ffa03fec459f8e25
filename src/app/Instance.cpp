#include "app/Instance.h"

#include <cctype>
#include <cstdio>
#include <string_view>
#include <vector>

#include "settings/NumberText.h"

namespace tavrolin {

namespace {

bool Removed(unsigned char c) {
    // Besides what the instance argument always lost, the characters that a file system refuses
    // or that would lead elsewhere go too: ':' '"' and control characters.
    static constexpr std::string_view kRemoved = " `~!@#$^&*\\|/?,.<>0123456789:\"";
    return c < 0x20 || c == 0x7F || kRemoved.find(static_cast<char>(c)) != std::string_view::npos;
}

}  // namespace

std::string CleanArgument(const std::string& commandLine) {
    std::string text = commandLine;
    const auto blank = text.find(' ');
    if (blank != std::string::npos && blank > 0) text.resize(blank + 1);
    std::string kept;
    for (unsigned char c : text) {
        if (!Removed(c)) kept.push_back(static_cast<char>(std::toupper(c) & 0xFF));
    }
    // Four characters, never splitting a multi-byte character; bytes that are not part of a
    // well-formed UTF-8 sequence go, so that each character kept is one the file name can show.
    std::string out;
    int count = 0;
    for (std::size_t i = 0; i < kept.size() && count < 4;) {
        const auto lead = static_cast<unsigned char>(kept[i]);
        std::size_t len = 0;
        if (lead < 0x80) {
            len = 1;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            len = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            len = 3;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            len = 4;
        }
        bool whole = len > 0 && i + len <= kept.size();
        for (std::size_t k = 1; whole && k < len; ++k) {
            whole = (static_cast<unsigned char>(kept[i + k]) & 0xC0) == 0x80;
        }
        if (!whole) {
            ++i;
            continue;
        }
        out.append(kept, i, len);
        i += len;
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
    if (facts.foreignLink || facts.loop) return {};
    if (facts.exists) return configPath;
    if (beside != configPath && platform.Inspect(beside).regular) return beside;
    return configPath;
}

std::string WhyNotSaved(const FileFacts& facts) {
    if (!facts.exists) return {};
    if (facts.loop) return "it lies behind a link that leads back to itself";
    if (facts.foreignLink) return "it is a link made by another user";
    if (!facts.regular) return "it is not a regular file";
    if (!facts.readable) return "it cannot be read";
    if (!facts.writable) return "it is read-only";
    return {};
}

}  // namespace tavrolin
