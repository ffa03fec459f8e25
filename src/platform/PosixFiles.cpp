// The file system on POSIX systems: settings files replaced without tearing, locks held by open
// descriptors with flock, and no name opened in a way that follows a planted link or blocks.
#if !defined(_WIN32)
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <filesystem>
#include <random>
#include <system_error>

#include "platform/Platform.h"

namespace tavrolin {

namespace fs = std::filesystem;

namespace {

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

bool CanAccess(const std::string& path, int mode) {
    return ::faccessat(AT_FDCWD, path.c_str(), mode, AT_EACCESS) == 0;
}

std::string FolderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The file a name leads to: the name itself, or the end of a chain of links the user made.
// Nothing when a link in the chain belongs to someone else or the chain does not end.
std::optional<std::string> FileBehind(const std::string& path) {
    std::string current = path;
    for (int hop = 0; hop < 40; ++hop) {
        struct stat st {};
        if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
        if (st.st_uid != ::geteuid()) return std::nullopt;
        std::string target(PATH_MAX, '\0');
        const ssize_t n = ::readlink(current.c_str(), target.data(), target.size());
        if (n <= 0 || static_cast<std::size_t>(n) >= target.size()) return std::nullopt;
        target.resize(static_cast<std::size_t>(n));
        current = target.front() == '/' ? target : FolderOf(current) + "/" + target;
    }
    return std::nullopt;
}

bool WriteAll(int fd, const std::string& content) {
    std::size_t done = 0;
    while (done < content.size()) {
        const ssize_t n = ::write(fd, content.data() + done, content.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Removes the temporary files that saves of `path` killed half-way left behind: regular files
// of this user, named as this program names them, whose process has ended. A process still
// running may be saving this moment and keeps its file.
void RemoveUnfinishedSaves(const std::string& path) {
    std::error_code ec;
    const std::string prefix = NameOf(path) + ".new";
    const std::string folder = FolderOf(path);
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.rfind(prefix, 0) != 0) continue;
        const std::size_t dash = name.find('-', prefix.size());
        if (dash == std::string::npos || dash == prefix.size()) continue;
        long pid = 0;
        bool digits = true;
        for (std::size_t i = prefix.size(); i < dash && digits; ++i) {
            digits = name[i] >= '0' && name[i] <= '9' && pid < 100'000'000;
            pid = pid * 10 + (name[i] - '0');
        }
        if (!digits || pid <= 0 || pid == static_cast<long>(::getpid())) continue;
        if (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) continue;
        const std::string full = folder + "/" + name;
        struct stat st {};
        if (::lstat(full.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid()) {
            continue;
        }
        ::unlink(full.c_str());
    }
}

}  // namespace

std::optional<std::int64_t> Platform::ModificationTime(const std::string& path) {
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) != 0) return std::nullopt;
    return static_cast<std::int64_t>(st.st_mtime);
}

bool Platform::IsDirectory(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::optional<std::string> Platform::ReadFile(const std::string& path, std::size_t maxBytes) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
    // Should a FIFO take the file's place after the look, the open still does not wait.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return std::nullopt;
    std::optional<std::string> content;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        content.emplace(maxBytes, '\0');
        std::size_t done = 0;
        while (done < maxBytes) {
            const ssize_t n = ::read(fd, content->data() + done, maxBytes - done);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) {
                content.reset();
                break;
            }
            if (n == 0) break;
            done += static_cast<std::size_t>(n);
        }
        if (content) content->resize(done);
    }
    ::close(fd);
    return content;
}

FileFacts Platform::Inspect(const std::string& path) {
    FileFacts facts;
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) return facts;
    facts.link = S_ISLNK(st.st_mode);
    const auto behind = FileBehind(path);
    if (!behind) {
        facts.exists = true;
        facts.foreignLink = true;
        return facts;
    }
    // A link of the user's whose target is gone leads where the next save creates the file.
    if (::lstat(behind->c_str(), &st) != 0) return facts;
    facts.exists = true;
    facts.regular = S_ISREG(st.st_mode);
    if (!facts.regular) return facts;
    facts.readable = CanAccess(*behind, R_OK);
    // A file without any write bit was made read-only on purpose, even where the user could
    // write it anyway.
    facts.writable = CanAccess(*behind, W_OK) && (st.st_mode & 0222) != 0;
    return facts;
}

bool Platform::WriteFileAtomic(const std::string& path, const std::string& content) {
    static std::mt19937_64 rng{std::random_device{}()};
    const auto behind = FileBehind(path);
    if (!behind) return false;
    const std::string target = *behind;
    struct stat old {};
    const bool existed = ::lstat(target.c_str(), &old) == 0;
    if (existed && !S_ISREG(old.st_mode)) return false;

    // The temporary name carries the process, as a forked child shares its parent's generator.
    // It is new and never a link; a name someone else holds is passed over, never removed.
    const std::string stem =
        FolderOf(target) + "/" + NameOf(target) + ".new" + std::to_string(::getpid()) + "-";
    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 8 && fd < 0; ++attempt) {
        temp = stem + std::to_string(rng() % 1000000);
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                    existed ? 0600 : 0644);
        if (fd < 0 && errno != EEXIST) return false;
    }
    if (fd < 0) return false;
    bool ok = WriteAll(fd, content);
    if (ok && existed) {
        ok = ::fchmod(fd, old.st_mode & 07777) == 0;
        // Saving a file that belongs to someone else (as root) leaves it theirs.
        if (ok && (old.st_uid != ::geteuid() || old.st_gid != ::getegid())) {
            [[maybe_unused]] const int owned = ::fchown(fd, old.st_uid, old.st_gid);
        }
    }
    if (ok && ::fsync(fd) != 0) ok = false;
    if (::close(fd) != 0) ok = false;
    if (!ok || ::rename(temp.c_str(), target.c_str()) != 0) {
        ::unlink(temp.c_str());
        return false;
    }
    // The rename itself reaches the disk with the folder.
    const int folder = ::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    RemoveUnfinishedSaves(target);
    return true;
}

bool Platform::FolderWritable(const std::string& folder) {
    return IsDirectory(folder) && CanAccess(folder, W_OK | X_OK);
}

bool Platform::MakeFolders(const std::string& folder) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    return IsDirectory(folder);
}

LockResult Platform::TakeLock(const std::string& path) {
    // A name that another program took between our look and our lock is looked at again.
    for (int attempt = 0; attempt < 8; ++attempt) {
        struct stat before {};
        const bool existed = ::lstat(path.c_str(), &before) == 0;
        // Links, FIFOs, sockets, devices and folders are nobody's lock file to take.
        if (existed && !S_ISREG(before.st_mode)) return {LockState::Held, false};
        const int fd = ::open(path.c_str(),
                              O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY,
                              0644);
        if (fd < 0) {
            const int error = errno;
            struct stat now {};
            if (existed || error == ELOOP || ::lstat(path.c_str(), &now) == 0) {
                return {LockState::Held, false};
            }
            return {LockState::Refused, false};
        }
        struct stat held {};
        if (::fstat(fd, &held) != 0 || !S_ISREG(held.st_mode)) {
            ::close(fd);
            return {LockState::Held, false};
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int error = errno;
            if (error == ENOLCK || error == EOPNOTSUPP || error == EINVAL) {
                locks_[path] = fd;
                return {LockState::Unprobed, !existed};
            }
            ::close(fd);
            return {LockState::Held, false};
        }
        // The holder before us removes its file while still holding it: the lock we got may be
        // on a file that is no longer at this name.
        struct stat now {};
        if (::lstat(path.c_str(), &now) == 0 && SameFile(now, held)) {
            locks_[path] = fd;
            return {LockState::Taken, !existed};
        }
        ::close(fd);
    }
    return {LockState::Held, false};
}

bool Platform::WriteLock(const std::string& path, const std::string& content) {
    const auto it = locks_.find(path);
    if (it == locks_.end()) return false;
    const int fd = static_cast<int>(it->second);
    return ::ftruncate(fd, 0) == 0 && ::lseek(fd, 0, SEEK_SET) == 0 && WriteAll(fd, content) &&
           ::fsync(fd) == 0;
}

void Platform::ReleaseLock(const std::string& path, bool remove) {
    const auto it = locks_.find(path);
    if (it == locks_.end()) return;
    const int fd = static_cast<int>(it->second);
    struct stat held {}, now {};
    if (remove && ::fstat(fd, &held) == 0 && ::lstat(path.c_str(), &now) == 0 &&
        SameFile(held, now)) {
        ::unlink(path.c_str());
    }
    ::close(fd);
    locks_.erase(it);
}

void Platform::ReleaseAllLocks() {
    for (const auto& [path, fd] : locks_) ::close(static_cast<int>(fd));
    locks_.clear();
}

}  // namespace tavrolin
#endif  // !_WIN32
