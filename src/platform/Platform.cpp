#include "platform/Platform.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <system_error>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace tavrolin {

namespace fs = std::filesystem;

long DaysBetween(const Date& from, const Date& to) {
    using namespace std::chrono;
    auto days = [](const Date& d) {
        // Month overflow carries into years, day overflow into following days.
        const int months = d.month - 1;
        const int y = d.year + (months >= 0 ? months / 12 : (months - 11) / 12);
        const int m = ((months % 12) + 12) % 12 + 1;
        const sys_days first = year{y} / month{static_cast<unsigned>(m)} / 1;
        return first + std::chrono::days{d.day - 1};
    };
    return static_cast<long>((days(to) - days(from)).count());
}

char Platform::PathSeparator() const { return static_cast<char>(fs::path::preferred_separator); }

std::string Platform::Join(const std::string& folder, const std::string& name) const {
    if (folder.empty()) return name;
    const char sep = PathSeparator();
    if (folder.back() == sep || folder.back() == '/') return folder + name;
    return folder + sep + name;
}

std::optional<std::int64_t> Platform::ModificationTime(const std::string& path) {
    std::error_code ec;
    const auto status = fs::status(path, ec);
    if (ec || !fs::exists(status)) return std::nullopt;
    const auto t = fs::last_write_time(path, ec);
    if (ec) return std::nullopt;
    return std::chrono::duration_cast<std::chrono::seconds>(t.time_since_epoch()).count();
}

bool Platform::IsDirectory(const std::string& path) {
    std::error_code ec;
    return fs::is_directory(path, ec);
}

std::optional<std::string> Platform::ReadFile(const std::string& path, std::size_t maxBytes) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string content;
    content.resize(maxBytes);
    in.read(content.data(), static_cast<std::streamsize>(maxBytes));
    content.resize(static_cast<std::size_t>(in.gcount()));
    return content;
}

namespace {

bool WriteAndSync(const std::string& path, const std::string& content, bool exclusive) {
#if defined(_WIN32)
    // The same claim and flush as below, in the C runtime's spelling.
    const int flags = _O_WRONLY | _O_CREAT | _O_BINARY | _O_NOINHERIT |
                      (exclusive ? _O_EXCL : _O_TRUNC);
    const int fd = ::_open(path.c_str(), flags, _S_IREAD | _S_IWRITE);
    if (fd < 0) return false;
    std::size_t done = 0;
    bool ok = true;
    while (done < content.size()) {
        const std::size_t chunk = std::min<std::size_t>(content.size() - done, 1 << 30);
        const int n = ::_write(fd, content.data() + done, static_cast<unsigned>(chunk));
        if (n <= 0) {
            ok = false;
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    if (ok && ::_commit(fd) != 0) ok = false;
    if (::_close(fd) != 0) ok = false;
    return ok;
#else
    const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (exclusive ? O_EXCL : O_TRUNC);
    const int fd = ::open(path.c_str(), flags, 0644);
    if (fd < 0) return false;
    std::size_t done = 0;
    bool ok = true;
    while (done < content.size()) {
        const ssize_t n = ::write(fd, content.data() + done, content.size() - done);
        if (n <= 0) {
            ok = false;
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    if (ok && ::fsync(fd) != 0) ok = false;
    if (::close(fd) != 0) ok = false;
    return ok;
#endif
}

// Removes the temporary files that saves of `path` killed half-way left behind. Each name
// carries the process that wrote it; one still running may be saving this moment and keeps its
// file.
void RemoveUnfinishedSaves(const std::string& path) {
#if !defined(_WIN32)
    std::error_code ec;
    const fs::path target(path);
    const std::string prefix = target.filename().string() + ".new";
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
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
        std::error_code removeError;
        fs::remove(it->path(), removeError);
    }
#else
    (void)path;
#endif
}

}  // namespace

bool Platform::WriteFileAtomic(const std::string& path, const std::string& content) {
    static std::mt19937_64 rng{std::random_device{}()};
#if defined(_WIN32)
    const long pid = 0;
#else
    const long pid = static_cast<long>(::getpid());
#endif
    // The temporary name carries the process, as a forked child shares its parent's generator,
    // and a name left by a killed save is passed over rather than failing the save.
    std::string temp;
    for (int attempt = 0; attempt < 8 && (temp.empty() || ModificationTime(temp)); ++attempt) {
        temp = path + ".new" + std::to_string(pid) + "-" + std::to_string(rng() % 1000000);
    }
    if (!WriteAndSync(temp, content, true)) {
        std::error_code ec;
        fs::remove(temp, ec);
        return false;
    }
    std::error_code ec;
    fs::rename(temp, path, ec);
    if (ec) {
        fs::remove(temp, ec);
        return false;
    }
    RemoveUnfinishedSaves(path);
    return true;
}

bool Platform::CreateExclusive(const std::string& path, const std::string& content) {
    return WriteAndSync(path, content, true);
}

bool Platform::WriteFile(const std::string& path, const std::string& content) {
    return WriteAndSync(path, content, false);
}

bool Platform::DeleteFile(const std::string& path) {
    std::error_code ec;
    return fs::remove(path, ec) && !ec;
}

bool Platform::FolderWritable(const std::string& folder) {
    if (!IsDirectory(folder)) return false;
    const std::string probe = Join(folder, ".tavrolin-write-probe");
    if (!WriteAndSync(probe, "", false)) return false;
    DeleteFile(probe);
    return true;
}

bool Platform::MakeFolders(const std::string& folder) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    return IsDirectory(folder);
}

}  // namespace tavrolin
