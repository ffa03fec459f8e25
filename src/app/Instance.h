// Choosing this instance's configuration and lock file names: the cleaned command-line argument,
// the lock files of the instances already running, and the lock file's content.
#pragma once

#include <string>

#include "platform/Platform.h"

namespace tavrolin {

// The instance argument: cut after the first blank (when it is not the first character), the
// characters a file name cannot take removed, upper case, at most 4 characters.
std::string CleanArgument(const std::string& commandLine);

// True when the file (or drive root) exists; a trailing separator is ignored.
bool FileExists(Platform& platform, const std::string& path);

// True when the lock file's date (the first three numbers of its first line) is before 1990,
// in a future year, or more than `maxAgeDays` before today, or cannot be read as a date. Only
// where the file system keeps no locks does the date decide.
bool IsLockStale(Platform& platform, const std::string& path, int maxAgeDays);

// The lock file: the date in print zones, the configuration path, CR LF line ends.
std::string LockFileContent(const Date& today, const std::string& configPath);

struct InstanceFiles {
    std::string configBaseName;  // "Tavrolin" + argument + suffix
    std::string configPath;
    std::string lockPath;
    bool lockHeld = false;  // this instance holds the lock, and removes it as it ends
    // Why this instance must not write its configuration file, when it holds no lock of its
    // own; empty when it does.
    std::string notSaved;
};

// Takes the first name of "Tavrolin" + argument with no suffix and with 1 to 9 whose lock no
// running instance holds, holds that lock for the run with its four lines in it. A lock left by
// a program that is no longer running is taken over at once. When all ten are held, or no lock
// can be made, the instance reads the tenth (or the refused) name's file and never writes it.
// An empty folder (none could be found) gives the bare name, no paths and no lock.
InstanceFiles ClaimInstance(Platform& platform, const std::string& folder,
                            const std::string& argument);
// Removes the instance's lock file, if it holds it.
void ReleaseInstance(Platform& platform, const InstanceFiles& files);

// The folder for the configuration and lock files: the program's own when it can be written
// and is not a system folder, otherwise the per-user configuration folder; empty when there is
// none.
std::string SettingsFolder(Platform& platform);

// The file to read the settings from: the configuration file itself, or, while the user's
// folder has none yet, the one of that name beside the program (an administrator's defaults).
// Without a configuration path, the file beside the program. Empty when nothing may be read.
std::string SettingsToRead(Platform& platform, const std::string& configPath,
                           const std::string& configBaseName);

// Why a save must not replace the file found at the configuration path (unreadable,
// read-only, not a file, a link of someone else's); empty when it may.
std::string WhyNotSaved(const FileFacts& facts);

}  // namespace tavrolin
