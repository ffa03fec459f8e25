#include "app/Instance.h"

#include <cctype>
#include <stdexcept>
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
    if (!content) throw std::runtime_error("lock file unreadable");
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
        if (items.size() < 3) throw std::runtime_error("lock file date incomplete");
        for (int i = 0; i < 3; ++i) {
            if (!IsNumeric(items[static_cast<std::size_t>(i)])) {
                throw std::runtime_error("lock file date unreadable");
            }
            const double v = Val(items[static_cast<std::size_t>(i)]);
            if (v < -1e7 || v > 1e7) throw std::runtime_error("lock file date out of range");
            numbers[i] = RoundHalfEven(v);
        }
    }
    const Date today = platform.Today();
    if (numbers[0] < 1990 || numbers[0] > today.year) return true;
    const Date written{static_cast<int>(numbers[0]), static_cast<int>(numbers[1]),
                       static_cast<int>(numbers[2])};
    return DaysBetween(written, today) > maxAgeDays;
}

bool FileExists(Platform& platform, const std::string& path, bool staleCheck) {
    if (path.empty()) return false;
    try {
        if (path.size() < 4 && path.size() >= 2 && path[1] == ':') {
            if (!platform.IsDirectory(path)) return false;
        } else {
            std::string probe = path;
            if (probe.size() > 1 && probe.back() == platform.PathSeparator()) probe.pop_back();
            if (!platform.ModificationTime(probe)) return false;
            if (staleCheck && IsLockStale(platform, probe, 6)) {
                platform.DeleteFile(probe);
                return false;
            }
        }
        return true;
    } catch (const std::exception&) {
        return false;
    }
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
    for (int n = 0;; ++n) {
        const std::string suffix = n == 0 ? "" : std::to_string(n);
        const std::string lock = platform.Join(folder, base + suffix + ".tmp");
        const bool taken = FileExists(platform, lock, true);
        if (n < 9 && taken) continue;
        files.configBaseName = base + suffix;
        files.configPath = platform.Join(folder, files.configBaseName + ".cfg");
        files.lockPath = lock;
        const std::string content = LockFileContent(platform.Today(), files.configPath);
        if (n == 9) {
            files.lockWritten = platform.WriteFile(lock, content);
            return files;
        }
        if (platform.CreateExclusive(lock, content)) {
            files.lockWritten = true;
            return files;
        }
        // Another instance claimed this name between the probe and the claim; if the file
        // is still missing the folder itself refused it, and the next name would fare no better.
        if (!platform.ModificationTime(lock)) return files;
    }
}

std::string SettingsFolder(Platform& platform) {
    const std::string own = platform.ProgramFolder();
    if (platform.FolderWritable(own)) return own;
    const std::string user = platform.UserConfigFolder();
    platform.MakeFolders(user);
    return user;
}

}  // namespace tavrolin
