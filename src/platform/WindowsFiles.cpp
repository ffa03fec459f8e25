// The file system on Windows, through the wide-character API so that any folder name works
// (UTF-8 inside the program): settings files replaced without tearing, and locks held by open
// handles that other programs can neither write nor delete.
#if defined(_WIN32)
#ifndef _WIN32_WINNT
#define _WIN32_WINNT 0x0601
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>
#include <random>
#include <string>

#include "platform/Platform.h"
#include "platform/WideText.h"

namespace tavrolin {

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

DWORD Attributes(const std::string& path) {
    return path.empty() ? INVALID_FILE_ATTRIBUTES : ::GetFileAttributesW(Wide(path).c_str());
}

bool IsFile(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT |
                          FILE_ATTRIBUTE_DEVICE)) == 0;
}

// Opening for reading or writing and closing at once changes nothing in the file.
bool CanOpen(const std::string& path, DWORD access) {
    const HANDLE h = ::CreateFileW(Wide(path).c_str(), access, kShareAll, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    ::CloseHandle(h);
    return true;
}

bool WriteAll(HANDLE h, const std::string& content) {
    std::size_t done = 0;
    while (done < content.size()) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(content.size() - done, 1 << 30));
        if (!::WriteFile(h, content.data() + done, chunk, &written, nullptr) || written == 0) {
            return false;
        }
        done += written;
    }
    return true;
}

HANDLE AsHandle(std::intptr_t value) { return reinterpret_cast<HANDLE>(value); }

}  // namespace

std::optional<std::int64_t> Platform::ModificationTime(const std::string& path) {
    std::string probe = path;
    // "C:\" names the drive; "folder\" the folder.
    if (probe.size() > 3 && (probe.back() == '\\' || probe.back() == '/')) probe.pop_back();
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (probe.empty() ||
        !::GetFileAttributesExW(Wide(probe).c_str(), GetFileExInfoStandard, &data)) {
        return std::nullopt;
    }
    ULARGE_INTEGER t;
    t.LowPart = data.ftLastWriteTime.dwLowDateTime;
    t.HighPart = data.ftLastWriteTime.dwHighDateTime;
    // 100 ns steps since 1601 to seconds since 1970.
    return static_cast<std::int64_t>(t.QuadPart / 10'000'000ULL) - 11'644'473'600LL;
}

bool Platform::IsDirectory(const std::string& path) {
    const DWORD a = Attributes(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::optional<std::string> Platform::ReadFile(const std::string& path, std::size_t maxBytes) {
    const HANDLE h = ::CreateFileW(Wide(path).c_str(), GENERIC_READ, kShareAll, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return std::nullopt;
    std::optional<std::string> content;
    if (::GetFileType(h) == FILE_TYPE_DISK) {
        content.emplace(maxBytes, '\0');
        std::size_t done = 0;
        while (done < maxBytes) {
            DWORD n = 0;
            const DWORD want = static_cast<DWORD>(std::min<std::size_t>(maxBytes - done, 1 << 30));
            if (!::ReadFile(h, content->data() + done, want, &n, nullptr)) {
                content.reset();
                break;
            }
            if (n == 0) break;
            done += n;
        }
        if (content) content->resize(done);
    }
    ::CloseHandle(h);
    return content;
}

FileFacts Platform::Inspect(const std::string& path) {
    FileFacts facts;
    const DWORD a = Attributes(path);
    if (a == INVALID_FILE_ATTRIBUTES) return facts;
    facts.exists = true;
    facts.link = (a & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    // Links on Windows need rights an ordinary user lacks, so a linked settings file was made
    // on purpose: it is read and replaced through the link.
    const DWORD behind = facts.link ? Attributes(path) : a;
    facts.regular = (behind & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0;
    if (!facts.regular) return facts;
    facts.readable = CanOpen(path, GENERIC_READ);
    facts.writable = (behind & FILE_ATTRIBUTE_READONLY) == 0 && CanOpen(path, GENERIC_WRITE);
    return facts;
}

bool Platform::WriteFileAtomic(const std::string& path, const std::string& content) {
    static std::mt19937_64 rng{std::random_device{}()};
    const DWORD old = Attributes(path);
    if (old != INVALID_FILE_ATTRIBUTES && (old & FILE_ATTRIBUTE_DIRECTORY) != 0) return false;
    const std::string stem = path + ".new" + std::to_string(::GetCurrentProcessId()) + "-";
    std::wstring temp;
    HANDLE h = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 8 && h == INVALID_HANDLE_VALUE; ++attempt) {
        temp = Wide(stem + std::to_string(rng() % 1000000));
        h = ::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE && ::GetLastError() != ERROR_FILE_EXISTS) return false;
    }
    if (h == INVALID_HANDLE_VALUE) return false;
    bool ok = WriteAll(h, content) && ::FlushFileBuffers(h);
    if (!::CloseHandle(h)) ok = false;
    if (ok) {
        const std::wstring target = Wide(path);
        // Replacing keeps the old file's attributes and access rights; a new file takes the
        // folder's.
        ok = (old != INVALID_FILE_ATTRIBUTES &&
              ::ReplaceFileW(target.c_str(), temp.c_str(), nullptr,
                             REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) ||
             ::MoveFileExW(temp.c_str(), target.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    }
    if (!ok) ::DeleteFileW(temp.c_str());
    return ok;
}

bool Platform::FolderWritable(const std::string& folder) {
    if (!IsDirectory(folder)) return false;
    // Access rights are not told by the attributes: a file of a name nobody else can have,
    // gone when its handle closes, tells.
    static std::mt19937_64 rng{std::random_device{}()};
    const std::wstring probe =
        Wide(Join(folder, ".tavrolin-probe-" + std::to_string(::GetCurrentProcessId()) + "-" +
                              std::to_string(rng() % 1000000000)));
    const HANDLE h = ::CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                   FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    ::CloseHandle(h);
    return true;
}

bool Platform::MakeFolders(const std::string& folder) {
    if (folder.empty() || IsDirectory(folder)) return !folder.empty();
    const auto cut = folder.find_last_of("\\/");
    if (cut != std::string::npos && cut > 0) MakeFolders(folder.substr(0, cut));
    ::CreateDirectoryW(Wide(folder).c_str(), nullptr);
    return IsDirectory(folder);
}

LockResult Platform::TakeLock(const std::string& path, const std::string& content) {
    const DWORD a = Attributes(path);
    const bool existed = a != INVALID_FILE_ATTRIBUTES;
    if (existed && !IsFile(a)) return {LockState::Held, false};
    // Shared for reading only: while this handle is open nobody else may write, rename or
    // delete the file, and the next program to try is told the name is taken.
    const HANDLE h = ::CreateFileW(Wide(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                                   FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        if (existed || error == ERROR_SHARING_VIOLATION || Attributes(path) != INVALID_FILE_ATTRIBUTES) {
            return {LockState::Held, false};
        }
        return {LockState::Refused, false};
    }
    const bool created = ::GetLastError() != ERROR_ALREADY_EXISTS;
    BY_HANDLE_FILE_INFORMATION info{};
    if (::GetFileType(h) != FILE_TYPE_DISK || !::GetFileInformationByHandle(h, &info) ||
        !IsFile(info.dwFileAttributes)) {
        ::CloseHandle(h);
        return {LockState::Held, false};
    }
    locks_[path] = reinterpret_cast<std::intptr_t>(h);
    LARGE_INTEGER start{};
    [[maybe_unused]] const bool written = ::SetFilePointerEx(h, start, nullptr, FILE_BEGIN) &&
                                          ::SetEndOfFile(h) && WriteAll(h, content) &&
                                          ::FlushFileBuffers(h);
    return {LockState::Taken, created};
}

LockResult Platform::TakeOverLock(const std::string&, const std::string&) {
    // Windows always knows whether a lock is held.
    return {LockState::Held, false};
}

bool Platform::ReplaceFile(const std::string& path, const std::string& content) {
    static std::mt19937_64 rng{std::random_device{}()};
    const std::wstring temp =
        Wide(path + ".new" + std::to_string(::GetCurrentProcessId()) + "-" +
             std::to_string(rng() % 1000000));
    const HANDLE h = ::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    bool ok = WriteAll(h, content) && ::FlushFileBuffers(h);
    if (!::CloseHandle(h)) ok = false;
    ok = ok && ::MoveFileExW(temp.c_str(), Wide(path).c_str(),
                             MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok) ::DeleteFileW(temp.c_str());
    return ok;
}

bool Platform::IsSystemFolder(const std::string&) { return false; }

void Platform::ReleaseLock(const std::string& path, bool remove) {
    const auto it = locks_.find(path);
    if (it == locks_.end()) return;
    ::CloseHandle(AsHandle(it->second));
    locks_.erase(it);
    // Should another program take the file between the two calls, its handle refuses the
    // deletion and the lock stays with it.
    if (remove) ::DeleteFileW(Wide(path).c_str());
}

void Platform::ReleaseAllLocks() {
    for (const auto& [path, h] : locks_) ::CloseHandle(AsHandle(h));
    locks_.clear();
}

}  // namespace tavrolin
#endif  // _WIN32
