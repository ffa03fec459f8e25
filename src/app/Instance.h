// Choosing this instance's configuration and lock file names: the cleaned command-line argument,
// the lock files of the instances already running, and the lock file's content.
#pragma once

#include <string>

#include "platform/Platform.h"

namespace tavrolin {

// The instance argument: cut after the first blank (when it is not the first character), the
// characters a file name cannot take removed, upper case, at most 4 characters.
std::string CleanArgument(const std::string& commandLine);

// True when the file (or drive root) exists. With `staleCheck` a stale lock file is deleted and
// reported as absent. Any error while probing gives false.
bool FileExists(Platform& platform, const std::string& path, bool staleCheck);

// True when the lock file's date (the first three numbers of its first line) is before 1990,
// in a future year, or more than `maxAgeDays` before today.
bool IsLockStale(Platform& platform, const std::string& path, int maxAgeDays);

// The lock file: the date in print zones, the configuration path, CR LF line ends.
std::string LockFileContent(const Date& today, const std::string& configPath);

struct InstanceFiles {
    std::string configBaseName;  // "Tavrolin" + argument + suffix
    std::string configPath;
    std::string lockPath;
    bool lockWritten = false;
};

// Takes the first free name of "Tavrolin" + argument with no suffix and with 1 to 9 (the tenth is
// shared when all are taken) and writes its lock file. The lock is claimed exclusively, so two
// instances starting at the same instant never share a name below the tenth.
InstanceFiles ClaimInstance(Platform& platform, const std::string& folder,
                            const std::string& argument);

// The folder for the configuration and lock files: the program's own when it can be written,
// otherwise the per-user configuration folder.
std::string SettingsFolder(Platform& platform);

}  // namespace tavrolin
