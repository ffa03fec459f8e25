// The file system on POSIX systems: settings files replaced without tearing, locks held by open
// descriptors with flock, and no name opened in a way that follows a planted link or blocks.
#if !defined(_WIN32)
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <filesystem>
#include <random>
#include <system_error>
#include <vector>

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

// What a chain of links leads to.
struct Behind {
    std::optional<std::string> file;  // the name itself, or the end of a chain the user made
    bool loop = false;                // the chain, or a folder on the way, never ends
};

// Nothing when a link in the chain belongs to someone else or the chain does not end.
Behind FileBehind(const std::string& path) {
    std::string current = path;
    for (int hop = 0; hop < 40; ++hop) {
        struct stat st {};
        if (::lstat(current.c_str(), &st) != 0) {
            if (errno == ELOOP) return {std::nullopt, true};
            return {current, false};
        }
        if (!S_ISLNK(st.st_mode)) return {current, false};
        if (st.st_uid != ::geteuid()) return {};
        std::string target(PATH_MAX, '\0');
        const ssize_t n = ::readlink(current.c_str(), target.data(), target.size());
        if (n <= 0 || static_cast<std::size_t>(n) >= target.size()) return {};
        target.resize(static_cast<std::size_t>(n));
        current = target.front() == '/' ? target : FolderOf(current) + "/" + target;
    }
    return {std::nullopt, true};
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

// A folder held open while its files are made and renamed: names are then short and relative
// to it, so a folder whose path is near the system's limit takes a temporary name as well, and
// the folder cannot be swapped for another half-way.
class Folder {
public:
    explicit Folder(const std::string& path)
        : fd_(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {}
    ~Folder() {
        if (fd_ >= 0) ::close(fd_);
    }
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;
    bool Open() const { return fd_ >= 0; }
    int fd() const { return fd_; }
    bool Look(const std::string& name, struct stat& st) const {
        return ::fstatat(fd_, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0;
    }
    // A new file of a name no one else has: "<name>.new<process>-<random>". The process is in
    // the name as a forked child shares its parent's generator, and so that what a killed save
    // left can be told from a save under way.
    int CreateTemporary(const std::string& name, mode_t mode, std::string& temp) const {
        static std::mt19937_64 rng{std::random_device{}()};
        const std::string stem = name + ".new" + std::to_string(::getpid()) + "-";
        for (int attempt = 0; attempt < 8; ++attempt) {
            temp = stem + std::to_string(rng() % 1000000);
            const int fd = ::openat(fd_, temp.c_str(),
                                    O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
            if (fd >= 0 || errno != EEXIST) return fd;
        }
        errno = EEXIST;
        return -1;
    }
    // Puts the temporary file at `name`, the rename reaching the disk with the folder; a
    // temporary file that could not be put there goes.
    bool Rename(const std::string& temp, const std::string& name) const {
        if (::renameat(fd_, temp.c_str(), fd_, name.c_str()) != 0) {
            ::unlinkat(fd_, temp.c_str(), 0);
            return false;
        }
        ::fsync(fd_);
        return true;
    }

private:
    int fd_;
};

// Removes the temporary files that saves or claims of `name` killed half-way left behind:
// regular files of this user, named as this program names them, whose process has ended. A
// process still running may be saving this moment and keeps its file.
void RemoveUnfinishedSaves(const Folder& folder, const std::string& folderPath,
                           const std::string& name) {
    std::error_code ec;
    const std::string prefix = name + ".new";
    for (fs::directory_iterator it(folderPath, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string entry = it->path().filename().string();
        if (entry.rfind(prefix, 0) != 0) continue;
        const std::size_t dash = entry.find('-', prefix.size());
        if (dash == std::string::npos || dash == prefix.size()) continue;
        long pid = 0;
        bool digits = true;
        for (std::size_t i = prefix.size(); i < dash && digits; ++i) {
            digits = entry[i] >= '0' && entry[i] <= '9' && pid < 100'000'000;
            pid = pid * 10 + (entry[i] - '0');
        }
        if (!digits || pid <= 0 || pid == static_cast<long>(::getpid())) continue;
        if (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) continue;
        struct stat st {};
        if (!folder.Look(entry, st) || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid()) continue;
        ::unlinkat(folder.fd(), entry.c_str(), 0);
    }
}

// Gives the new file `fd` what the old one had: owner (or, where this user may not give a file
// away, at least the group), mode, access-control list and the other extended attributes.
// False when the new file would differ from the old in any of these.
bool KeepAttributes(int fd, const Folder& folder, const std::string& name,
                    const struct stat& old) {
    struct stat now {};
    if (::fstat(fd, &now) != 0) return false;
    if (now.st_uid != old.st_uid || now.st_gid != old.st_gid) {
        // Changing the owner clears set-id bits, so the mode follows.
        if (::fchown(fd, old.st_uid, old.st_gid) != 0 &&
            ::fchown(fd, static_cast<uid_t>(-1), old.st_gid) != 0) {
            return false;
        }
    }
    if (::fchmod(fd, old.st_mode & 07777) != 0) return false;
    // The access-control list travels as an extended attribute, and is set after the mode,
    // whose group bits it holds as its mask.
    const int source = ::openat(folder.fd(), name.c_str(),
                                O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (source < 0) return false;
    bool kept = true;
    std::string names(4096, '\0');
    ssize_t listed = ::flistxattr(source, names.data(), names.size());
    if (listed < 0 && errno == ERANGE) {
        names.assign(static_cast<std::size_t>(std::max<ssize_t>(::flistxattr(source, nullptr, 0), 0)) + 1, '\0');
        listed = ::flistxattr(source, names.data(), names.size());
    }
    if (listed < 0) kept = errno == ENOTSUP;
    for (std::size_t at = 0; kept && listed > 0 && at < static_cast<std::size_t>(listed);) {
        const std::string key(names.c_str() + at);
        at += key.size() + 1;
        const ssize_t size = ::fgetxattr(source, key.c_str(), nullptr, 0);
        std::string value(static_cast<std::size_t>(std::max<ssize_t>(size, 0)), '\0');
        const ssize_t got = ::fgetxattr(source, key.c_str(), value.data(), value.size());
        kept = got >= 0 &&
               ::fsetxattr(fd, key.c_str(), value.data(), static_cast<std::size_t>(got), 0) == 0;
    }
    ::close(source);
    struct stat done {};
    return kept && ::fstat(fd, &done) == 0 && (done.st_mode & 07777) == (old.st_mode & 07777) &&
           done.st_gid == old.st_gid;
}

// Writes the file where it is, for a file that a replacement could not give back its group,
// access list or attributes, or whose folder lets no one but its owner rename it. Only a
// regular file of one link, the one looked at, is written; a settings file is one block, so
// the write does not tear it.
bool WriteInPlace(const Folder& folder, const std::string& name, const struct stat& old,
                  const std::string& content) {
    if (old.st_nlink != 1) return false;
    const int fd = ::openat(folder.fd(), name.c_str(),
                            O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return false;
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && SameFile(st, old) &&
              st.st_nlink == 1;
    // A new descriptor writes from the start.
    ok = ok && WriteAll(fd, content) &&
         ::ftruncate(fd, static_cast<off_t>(content.size())) == 0 && ::fsync(fd) == 0;
    if (::close(fd) != 0) ok = false;
    return ok;
}

enum class Created { Yes, Exists, Refused };

// Creates the lock `name` exclusively with `content` already in it and already locked, so that
// no one ever sees it half made: the content goes into a new file of a name of its own, which
// is then linked to the lock's name (a link fails where the name exists, on network file
// systems too). Where the file system has no hard links the name is created exclusively.
Created CreateLock(const Folder& folder, const std::string& name, const std::string& content,
                   int& fd, bool& probed) {
    std::string temp;
    fd = folder.CreateTemporary(name, 0644, temp);
    if (fd < 0) {
        struct stat st {};
        return folder.Look(name, st) ? Created::Exists : Created::Refused;
    }
    // A full disk leaves the lock empty; it is this instance's all the same.
    [[maybe_unused]] const bool written = WriteAll(fd, content) && ::fsync(fd) == 0;
    probed = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    if (::linkat(folder.fd(), temp.c_str(), folder.fd(), name.c_str(), 0) == 0) {
        ::unlinkat(folder.fd(), temp.c_str(), 0);
        return Created::Yes;
    }
    const int error = errno;
    ::unlinkat(folder.fd(), temp.c_str(), 0);
    ::close(fd);
    fd = -1;
    if (error == EEXIST) return Created::Exists;
    if (error != EPERM && error != ENOTSUP && error != EOPNOTSUPP && error != ENOSYS &&
        error != EMLINK) {
        return Created::Refused;
    }
    fd = ::openat(folder.fd(), name.c_str(),
                  O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0644);
    if (fd < 0) return errno == EEXIST ? Created::Exists : Created::Refused;
    probed = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    [[maybe_unused]] const bool late = WriteAll(fd, content) && ::fsync(fd) == 0;
    return Created::Yes;
}

// Replaces the content of a lock this platform holds.
bool Rewrite(int fd, const std::string& content) {
    return ::ftruncate(fd, 0) == 0 && ::lseek(fd, 0, SEEK_SET) == 0 && WriteAll(fd, content) &&
           ::fsync(fd) == 0;
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
    if (path.empty() || ::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
        return std::nullopt;
    }
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
    if (::lstat(path.c_str(), &st) != 0) {
        facts.loop = facts.exists = errno == ELOOP;
        return facts;
    }
    facts.link = S_ISLNK(st.st_mode);
    const Behind behind = FileBehind(path);
    if (!behind.file) {
        facts.exists = true;
        facts.loop = behind.loop;
        facts.foreignLink = !behind.loop;
        return facts;
    }
    // A link of the user's whose target is gone leads where the next save creates the file.
    if (::lstat(behind.file->c_str(), &st) != 0) return facts;
    facts.exists = true;
    facts.regular = S_ISREG(st.st_mode);
    if (!facts.regular) return facts;
    facts.readable = CanAccess(*behind.file, R_OK);
    // A file without any write bit was made read-only on purpose, even where the user could
    // write it anyway.
    facts.writable = CanAccess(*behind.file, W_OK) && (st.st_mode & 0222) != 0;
    return facts;
}

bool Platform::WriteFileAtomic(const std::string& path, const std::string& content) {
    const Behind behind = FileBehind(path);
    if (!behind.file) return false;
    const std::string target = *behind.file;
    const Folder folder(FolderOf(target));
    const std::string name = NameOf(target);
    if (!folder.Open()) return false;
    struct stat old {};
    const bool existed = folder.Look(name, old);
    if (existed && !S_ISREG(old.st_mode)) return false;

    // The temporary file is new and never a link; a name someone else holds is passed over,
    // never removed.
    std::string temp;
    const int fd = folder.CreateTemporary(name, existed ? 0600 : 0666, temp);
    if (fd < 0) return existed && WriteInPlace(folder, name, old, content);
    bool ok = WriteAll(fd, content) && ::fsync(fd) == 0;
    const bool kept = !existed || KeepAttributes(fd, folder, name, old);
    if (::close(fd) != 0) ok = false;
    if (!ok || !kept) {
        ::unlinkat(folder.fd(), temp.c_str(), 0);
    } else if (folder.Rename(temp, name)) {
        RemoveUnfinishedSaves(folder, FolderOf(target), name);
        return true;
    }
    // Where the replacement would lose what the file had, or the folder (shared, with the
    // sticky bit) lets only the owner replace it, the file is written where it is.
    return ok && existed && WriteInPlace(folder, name, old, content);
}

bool Platform::PutNewFile(const std::string& path, const std::string& content) {
    const Folder folder(FolderOf(path));
    const std::string name = NameOf(path);
    if (!folder.Open() || name.empty()) return false;
    std::string temp;
    const int fd = folder.CreateTemporary(name, 0666, temp);
    if (fd < 0) return false;
    bool ok = WriteAll(fd, content) && ::fsync(fd) == 0;
    if (::close(fd) != 0) ok = false;
    if (!ok) ::unlinkat(folder.fd(), temp.c_str(), 0);
    return ok && folder.Rename(temp, name);
}

AppendResult Platform::AppendToLog(const std::string& path, const std::string& header,
                                   const std::string& text) {
    if (path.empty()) return AppendResult::Failed;
    // A new log: made exclusively, so nothing that appeared at the name meanwhile is written.
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd >= 0) {
        const bool ok = WriteAll(fd, header + text);
        ::close(fd);
        return ok ? AppendResult::Created : AppendResult::Failed;
    }
    if (errno != EEXIST) return AppendResult::Failed;
    fd = ::open(path.c_str(),
                O_RDWR | O_APPEND | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return errno == ELOOP ? AppendResult::Refused : AppendResult::Failed;
    struct stat st{};
    bool ours = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_nlink == 1 &&
                st.st_uid == ::geteuid();
    if (ours) {
        std::string head(header.size(), '\0');
        ours = ::pread(fd, head.data(), head.size(), 0) == static_cast<ssize_t>(head.size()) &&
               head == header;
    }
    const bool ok = ours && WriteAll(fd, text);
    ::close(fd);
    if (!ours) return AppendResult::Refused;
    return ok ? AppendResult::Appended : AppendResult::Failed;
}

bool Platform::RenameAside(const std::string& path, const std::string& to) {
    if (path.empty() || to.empty()) return false;
#ifdef RENAME_NOREPLACE
    if (::renameat2(AT_FDCWD, path.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return true;
    }
    if (errno != EINVAL && errno != ENOSYS) return false;
#endif
    // A file system that cannot rename without replacing: a second link made exclusively, then
    // the first removed.
    if (::linkat(AT_FDCWD, path.c_str(), AT_FDCWD, to.c_str(), 0) != 0) return false;
    return ::unlink(path.c_str()) == 0;
}

bool Platform::IsSystemFolder(const std::string& folder) {
    std::vector<std::string> system = {"/usr", "/opt"};
#ifdef TAVROLIN_INSTALL_PREFIX
    system.emplace_back(TAVROLIN_INSTALL_PREFIX);
#endif
    for (std::string prefix : system) {
        while (prefix.size() > 1 && prefix.back() == '/') prefix.pop_back();
        if (prefix.empty() || prefix == "/") continue;
        if (folder == prefix || folder.rfind(prefix + "/", 0) == 0) return true;
    }
    return false;
}

bool Platform::FolderWritable(const std::string& folder) {
    return IsDirectory(folder) && CanAccess(folder, W_OK | X_OK);
}

bool Platform::MakeFolders(const std::string& folder) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    return IsDirectory(folder);
}

LockResult Platform::TakeLock(const std::string& path, const std::string& content) {
    const Folder folder(FolderOf(path));
    const std::string name = NameOf(path);
    if (!folder.Open()) return {LockState::Refused, false};
    // A name that another program took or let go between our steps is looked at again.
    for (int attempt = 0; attempt < 8; ++attempt) {
        int fd = -1;
        bool probed = false;
        const Created created = CreateLock(folder, name, content, fd, probed);
        if (created == Created::Refused) return {LockState::Refused, false};
        if (created == Created::Yes) {
            locks_[path] = fd;
            RemoveUnfinishedSaves(folder, FolderOf(path), name);
            return {LockState::Taken, true};
        }
        fd = ::openat(folder.fd(), name.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
        if (fd < 0) {
            if (errno == ENOENT) continue;
            // Links, FIFOs, sockets, devices, folders and files of other users are nobody's
            // lock file to take.
            return {LockState::Held, false};
        }
        struct stat held {};
        if (::fstat(fd, &held) != 0 || !S_ISREG(held.st_mode) || held.st_nlink != 1 ||
            held.st_uid != ::geteuid()) {
            ::close(fd);
            return {LockState::Held, false};
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int error = errno;
            if (error == ENOLCK || error == EOPNOTSUPP || error == EINVAL || error == ENOSYS) {
                locks_[path] = fd;
                return {LockState::Unprobed, false};
            }
            ::close(fd);
            return {LockState::Held, false};
        }
        // The holder before us removes its file while still holding it: the lock we got may be
        // on a file that is no longer at this name.
        struct stat now {};
        if (folder.Look(name, now) && SameFile(now, held) && now.st_nlink == 1) {
            // Taken over while nobody holds it: a full disk leaves it empty, and ours.
            [[maybe_unused]] const bool written = Rewrite(fd, content);
            locks_[path] = fd;
            return {LockState::Taken, false};
        }
        ::close(fd);
    }
    return {LockState::Held, false};
}

LockResult Platform::TakeOverLock(const std::string& path, const std::string& content) {
    const auto it = locks_.find(path);
    if (it == locks_.end()) return {LockState::Held, false};
    const int judged = static_cast<int>(it->second);
    locks_.erase(it);
    const Folder folder(FolderOf(path));
    const std::string name = NameOf(path);
    struct stat was {}, now {};
    const bool same = folder.Open() && ::fstat(judged, &was) == 0 && folder.Look(name, now) &&
                      SameFile(was, now);
    ::close(judged);
    // Without locks two programs may judge the same file left behind; only the one that finds
    // it still there removes it, and only one of them can then create the name anew.
    if (!same || ::unlinkat(folder.fd(), name.c_str(), 0) != 0) return {LockState::Held, false};
    int fd = -1;
    bool probed = false;
    if (CreateLock(folder, name, content, fd, probed) != Created::Yes) {
        return {LockState::Held, false};
    }
    locks_[path] = fd;
    return {LockState::Taken, true};
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
