// The file system on Windows, through the wide-character API so that any folder name works
// (UTF-8 inside the program): settings files replaced without tearing, and locks held by open
// handles that other programs can neither write nor delete. No name is followed when it is a
// link (a symbolic link, a junction, or under Wine a Unix link), nothing is written that has a
// second hard link, and only files this platform created or holds open are deleted, through
// their handles.
#if defined(_WIN32)
#ifndef _WIN32_WINNT
#define _WIN32_WINNT 0x0601
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>
#include <cwctype>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/WideText.h"
#include "platform/WindowsPaths.h"

namespace tavrolin {

namespace {

using namespace winpath;

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// Opens the name itself, whatever it is, without following it.
constexpr DWORD kNameItself = FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS;

// A file another program holds open for a moment (a backup, a virus scan, an editor saving) is
// waited for, up to about a second.
constexpr int kBusySteps = 20;
constexpr DWORD kBusyStepMs = 50;

bool Busy(DWORD error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
           error == ERROR_UNABLE_TO_REMOVE_REPLACED;
}

struct FileId {
    DWORD volume = 0;
    DWORD high = 0;
    DWORD low = 0;
    friend bool operator==(const FileId&, const FileId&) = default;
};

// What a handle opened at a name is.
struct Entry {
    bool exists = false;  // something is at the name
    bool opened = false;  // and could be looked at
    bool disk = false;    // a file or folder, not a device or pipe
    DWORD attributes = 0;
    DWORD links = 0;
    bool linked = false;  // the name is a link, or leads to a file of another name
    FileId id;

    bool RegularFile() const {
        return opened && disk && !linked &&
               (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0;
    }
};

// True when the file opened as `path` is known under another name: Wine shows a Unix link as
// the plain file it leads to, but names the handle after the link's target.
bool LeadsElsewhere(HANDLE h, const std::wstring& path) {
    const std::wstring final = FinalPath(h);
    if (final.empty()) return false;
    const HANDLE folder = ::CreateFileW(FolderOf(path).c_str(), FILE_READ_ATTRIBUTES, kShareAll,
                                        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (folder == INVALID_HANDLE_VALUE) return false;
    const std::wstring folderFinal = FinalPath(folder);
    ::CloseHandle(folder);
    if (folderFinal.empty()) return false;
    return !SameText(final, InFolder(folderFinal, NameOf(path)));
}

Entry Describe(HANDLE h, const std::wstring& path) {
    Entry e;
    e.exists = e.opened = true;
    e.disk = ::GetFileType(h) == FILE_TYPE_DISK;
    BY_HANDLE_FILE_INFORMATION info{};
    if (!e.disk || !::GetFileInformationByHandle(h, &info)) {
        e.disk = false;
        return e;
    }
    e.attributes = info.dwFileAttributes;
    e.links = info.nNumberOfLinks;
    e.id = {info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
    if ((e.attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        // Links and junctions are name surrogates; other reparse points (files kept in the
        // cloud, deduplicated or compressed ones) are the file itself.
        FILE_ATTRIBUTE_TAG_INFO tag{};
        e.linked = !::GetFileInformationByHandleEx(h, FileAttributeTagInfo, &tag, sizeof tag) ||
                   (tag.ReparseTag & 0x20000000) != 0;
    }
    if (!e.linked) e.linked = LeadsElsewhere(h, path);
    return e;
}

// Looks at the name itself: asking only for its attributes, which no sharing mode refuses.
Entry Look(const std::wstring& path) {
    const HANDLE h = ::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                                   OPEN_EXISTING, kNameItself, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        Entry e;
        e.exists = error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND &&
                   error != ERROR_INVALID_NAME && error != ERROR_BAD_NETPATH;
        if (e.exists) {
            e.attributes = ::GetFileAttributesW(path.c_str());
            e.linked = e.attributes != INVALID_FILE_ATTRIBUTES &&
                       (e.attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
        }
        return e;
    }
    const Entry e = Describe(h, path);
    ::CloseHandle(h);
    return e;
}

HANDLE OpenWaiting(const std::wstring& path, DWORD access, DWORD flags) {
    for (int step = 0;; ++step) {
        const HANDLE h = ::CreateFileW(path.c_str(), access, kShareAll, nullptr, OPEN_EXISTING,
                                       flags, nullptr);
        if (h != INVALID_HANDLE_VALUE) return h;
        const DWORD error = ::GetLastError();
        if (!Busy(error) || step >= kBusySteps) {
            ::SetLastError(error);
            return h;
        }
        ::Sleep(kBusyStepMs);
    }
}

// Opening for reading or writing and closing at once changes nothing in the file.
bool CanOpen(const std::wstring& path, DWORD access) {
    const HANDLE h = OpenWaiting(path, access, FILE_ATTRIBUTE_NORMAL);
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

bool DeleteHeld(HANDLE h) {
    FILE_DISPOSITION_INFO disposition{};
    disposition.DeleteFile = TRUE;
    return ::SetFileInformationByHandle(h, FileDispositionInfo, &disposition, sizeof disposition);
}

// "<name>.new<process>-<random>": the process is in the name so that what a killed save left
// can be told from a save under way. The name stays short, beside the file it replaces.
struct Temporary {
    std::wstring path;
    FileId id;
};

// A new file holding `content`, flushed to disk and closed; nothing when it could not be made
// whole (and then nothing is left of it).
std::optional<Temporary> WriteTemporary(const std::wstring& target, const std::string& content) {
    static std::mt19937_64 rng{std::random_device{}()};
    const std::wstring stem = target + L".new" + std::to_wstring(::GetCurrentProcessId()) + L"-";
    for (int attempt = 0; attempt < 8; ++attempt) {
        Temporary temp;
        temp.path = stem + std::to_wstring(rng() % 1000000);
        const HANDLE h = ::CreateFileW(temp.path.c_str(), GENERIC_WRITE | DELETE, 0, nullptr,
                                       CREATE_NEW,
                                       FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            if (::GetLastError() == ERROR_FILE_EXISTS) continue;
            return std::nullopt;
        }
        BY_HANDLE_FILE_INFORMATION info{};
        const bool ok = WriteAll(h, content) && ::FlushFileBuffers(h) &&
                        ::GetFileInformationByHandle(h, &info);
        if (!ok) DeleteHeld(h);
        if (!::CloseHandle(h) || !ok) return std::nullopt;
        temp.id = {info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
        return temp;
    }
    return std::nullopt;
}

// Removes the temporary file after a failed rename, provided the name still holds the file
// written.
void Discard(const Temporary& temp) {
    const HANDLE h = ::CreateFileW(temp.path.c_str(), DELETE | FILE_READ_ATTRIBUTES, kShareAll,
                                   nullptr, OPEN_EXISTING, kNameItself, nullptr);
    if (h == INVALID_HANDLE_VALUE) return;
    const Entry e = Describe(h, temp.path);
    if (e.RegularFile() && e.id == temp.id) DeleteHeld(h);
    ::CloseHandle(h);
}

bool ProcessRunning(DWORD pid) {
    const HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (process == nullptr) return ::GetLastError() != ERROR_INVALID_PARAMETER;
    DWORD code = 0;
    const bool running = !::GetExitCodeProcess(process, &code) || code == STILL_ACTIVE;
    ::CloseHandle(process);
    return running;
}

// Removes the temporary files that saves of `target` killed half-way left behind: plain files
// of one link, named as this program names them, whose process has ended. A process still
// running may be saving this moment and keeps its file.
void RemoveUnfinishedSaves(const std::wstring& target) {
    const std::wstring folder = FolderOf(target);
    const std::wstring prefix = NameOf(target) + L".new";
    WIN32_FIND_DATAW found{};
    const HANDLE search = ::FindFirstFileW(InFolder(folder, prefix + L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    std::vector<std::wstring> dead;
    do {
        const std::wstring entry = found.cFileName;
        if (entry.size() <= prefix.size() || !SameText(entry.substr(0, prefix.size()), prefix)) {
            continue;
        }
        const std::size_t dash = entry.find(L'-', prefix.size());
        if (dash == std::wstring::npos || dash == prefix.size() || dash + 1 == entry.size()) {
            continue;
        }
        unsigned long long pid = 0;
        bool digits = true;
        for (std::size_t i = prefix.size(); i < dash && digits; ++i) {
            digits = entry[i] >= L'0' && entry[i] <= L'9' && pid < 0xFFFFFFFFull;
            pid = pid * 10 + static_cast<unsigned>(entry[i] - L'0');
        }
        for (std::size_t i = dash + 1; i < entry.size() && digits; ++i) {
            digits = entry[i] >= L'0' && entry[i] <= L'9';
        }
        if (!digits || pid == 0 || pid > 0xFFFFFFFFull) continue;
        const auto process = static_cast<DWORD>(pid);
        if (process == ::GetCurrentProcessId() || ProcessRunning(process)) continue;
        dead.push_back(InFolder(folder, entry));
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    for (const std::wstring& path : dead) {
        const HANDLE h = ::CreateFileW(path.c_str(), DELETE | FILE_READ_ATTRIBUTES, kShareAll,
                                       nullptr, OPEN_EXISTING, kNameItself, nullptr);
        if (h == INVALID_HANDLE_VALUE) continue;
        const Entry e = Describe(h, path);
        if (e.RegularFile() && e.links == 1 &&
            (e.attributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_READONLY)) == 0) {
            DeleteHeld(h);
        }
        ::CloseHandle(h);
    }
}

// Puts the written temporary file in the place of `target`, the file `old` looked at. Replacing
// keeps the old file's attributes and access rights. Just before, the name must still hold that
// file, not a link, and nobody may hold it without letting it be deleted, or the replacement
// would fail half-way (and Wine's would leave a file of its own behind): a holder is waited for.
bool ReplaceExisting(const std::wstring& target, const Entry& old, const Temporary& temp) {
    for (int step = 0;; ++step) {
        const HANDLE h = ::CreateFileW(target.c_str(), DELETE | FILE_READ_ATTRIBUTES, kShareAll,
                                       nullptr, OPEN_EXISTING, kNameItself, nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            if (!Busy(::GetLastError()) || step >= kBusySteps) return false;
            ::Sleep(kBusyStepMs);
            continue;
        }
        const Entry now = Describe(h, target);
        ::CloseHandle(h);
        if (!now.RegularFile() || !(now.id == old.id)) return false;
        if (::ReplaceFileW(target.c_str(), temp.path.c_str(), nullptr,
                           REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) {
            return true;
        }
        const DWORD error = ::GetLastError();
        // The old file is gone and the new one still has its temporary name.
        if (error == ERROR_UNABLE_TO_MOVE_REPLACEMENT) {
            return ::MoveFileExW(temp.path.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH) != 0;
        }
        if (!Busy(error) || step >= kBusySteps) return false;
        ::Sleep(kBusyStepMs);
    }
}

bool MoveWaiting(const Temporary& temp, const std::wstring& target, DWORD flags) {
    for (int step = 0;; ++step) {
        if (::MoveFileExW(temp.path.c_str(), target.c_str(), flags | MOVEFILE_WRITE_THROUGH)) {
            return true;
        }
        const DWORD error = ::GetLastError();
        if ((!Busy(error) && error != ERROR_ACCESS_DENIED) || step >= kBusySteps) return false;
        ::Sleep(kBusyStepMs);
    }
}

HANDLE AsHandle(std::intptr_t value) { return reinterpret_cast<HANDLE>(value); }

}  // namespace

std::optional<std::int64_t> Platform::ModificationTime(const std::string& path) {
    std::string probe = path;
    // "C:\" names the drive; "folder\" the folder.
    if (probe.size() > 3 && (probe.back() == '\\' || probe.back() == '/')) probe.pop_back();
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (probe.empty() ||
        !::GetFileAttributesExW(Native(probe).c_str(), GetFileExInfoStandard, &data)) {
        return std::nullopt;
    }
    ULARGE_INTEGER t;
    t.LowPart = data.ftLastWriteTime.dwLowDateTime;
    t.HighPart = data.ftLastWriteTime.dwHighDateTime;
    // 100 ns steps since 1601 to seconds since 1970.
    return static_cast<std::int64_t>(t.QuadPart / 10'000'000ULL) - 11'644'473'600LL;
}

bool Platform::IsDirectory(const std::string& path) {
    if (path.empty()) return false;
    const DWORD a = ::GetFileAttributesW(Native(path).c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::optional<std::string> Platform::ReadFile(const std::string& path, std::size_t maxBytes) {
    if (path.empty()) return std::nullopt;
    const HANDLE h = OpenWaiting(Native(path), GENERIC_READ, FILE_ATTRIBUTE_NORMAL);
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
    if (path.empty()) return facts;
    const std::wstring native = Native(path);
    const Entry e = Look(native);
    if (!e.exists) return facts;
    facts.exists = true;
    if (e.linked) {
        // Whoever made the link, it is not followed: neither read through nor written.
        facts.link = true;
        facts.unfollowed = true;
        return facts;
    }
    facts.regular = e.RegularFile();
    if (!facts.regular) return facts;
    facts.readable = CanOpen(native, GENERIC_READ);
    facts.writable = (e.attributes & FILE_ATTRIBUTE_READONLY) == 0 && CanOpen(native, GENERIC_WRITE);
    return facts;
}

bool Platform::WriteFileAtomic(const std::string& path, const std::string& content) {
    if (path.empty()) return false;
    const std::wstring target = Native(path);
    const Entry old = Look(target);
    // A link is not written through, a folder or device not replaced. A file of several hard
    // links is replaced at this name only: the other names keep the old content.
    if (old.exists && !old.RegularFile()) return false;
    const auto temp = WriteTemporary(target, content);
    if (!temp) return false;
    // A new file takes the folder's access rights; nothing that appeared at the name since it
    // was looked at is replaced.
    const bool ok = old.exists ? ReplaceExisting(target, old, *temp) : MoveWaiting(*temp, target, 0);
    if (!ok) {
        Discard(*temp);
        return false;
    }
    RemoveUnfinishedSaves(target);
    return true;
}

bool Platform::PutNewFile(const std::string& path, const std::string& content) {
    if (path.empty()) return false;
    const std::wstring target = Native(path);
    const auto temp = WriteTemporary(target, content);
    if (!temp) return false;
    // The rename replaces whatever has the name, a link included, and never what it leads to.
    if (!MoveWaiting(*temp, target, MOVEFILE_REPLACE_EXISTING)) {
        Discard(*temp);
        return false;
    }
    return true;
}

AppendResult Platform::AppendToLog(const std::string& path, const std::string& header,
                                   const std::string& text) {
    if (path.empty()) return AppendResult::Failed;
    const std::wstring native = Native(path);
    constexpr DWORD kFlags = FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT;
    // A new log: made exclusively, so nothing that appeared at the name meanwhile is written.
    HANDLE h = ::CreateFileW(native.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                             kFlags, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
        const bool ok = WriteAll(h, header + text);
        ::CloseHandle(h);
        return ok ? AppendResult::Created : AppendResult::Failed;
    }
    const DWORD error = ::GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return AppendResult::Failed;
    // Appending only: what is in the file cannot be written over through this handle.
    h = OpenWaiting(native, GENERIC_READ | FILE_APPEND_DATA, kFlags);
    if (h == INVALID_HANDLE_VALUE) return AppendResult::Refused;
    const Entry e = Describe(h, native);
    bool ours = e.RegularFile() && e.links == 1 &&
                (e.attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0;
    if (ours) {
        std::string head(header.size(), '\0');
        DWORD got = 0;
        ours = ::ReadFile(h, head.data(), static_cast<DWORD>(head.size()), &got, nullptr) &&
               got == head.size() && head == header;
    }
    const bool ok = ours && WriteAll(h, text);
    ::CloseHandle(h);
    if (!ours) return AppendResult::Refused;
    return ok ? AppendResult::Appended : AppendResult::Failed;
}

bool Platform::RenameAside(const std::string& path, const std::string& to) {
    if (path.empty() || to.empty()) return false;
    // Without MOVEFILE_REPLACE_EXISTING nothing at the new name is replaced; a link is moved
    // as itself.
    return ::MoveFileExW(Native(path).c_str(), Native(to).c_str(), 0) != 0;
}

bool Platform::IsSystemFolder(const std::string& folder) { return InProgramFiles(folder); }

bool Platform::FolderWritable(const std::string& folder) {
    if (!IsDirectory(folder)) return false;
    // Access rights are not told by the attributes: a file of a name nobody else can have,
    // gone when its handle closes, tells.
    static std::mt19937_64 rng{std::random_device{}()};
    const std::wstring probe =
        InFolder(Native(folder), L".tavrolin-probe-" + std::to_wstring(::GetCurrentProcessId()) +
                                     L"-" + std::to_wstring(rng() % 1000000000));
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
    ::CreateDirectoryW(Native(folder).c_str(), nullptr);
    return IsDirectory(folder);
}

LockResult Platform::TakeLock(const std::string& path, const std::string& content) {
    const std::wstring native = Native(path);
    // Shared for reading only: while this handle is open nobody else may write, rename or
    // delete the file, and the next program to try is told the name is taken; anyone may read
    // which settings file the instance uses.
    constexpr DWORD kAccess = GENERIC_READ | GENERIC_WRITE;
    constexpr DWORD kFlags = FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT;
    // A name that another program took or let go between our steps is looked at again.
    for (int attempt = 0; attempt < 8; ++attempt) {
        HANDLE h = ::CreateFileW(native.c_str(), kAccess, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                 kFlags, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            // Nobody can open the new file for writing, nor take it as free while this handle
            // lives: its content is in it before anyone could read it as taken. A full disk
            // leaves it empty; it is this instance's all the same.
            [[maybe_unused]] const bool written = WriteAll(h, content) && ::FlushFileBuffers(h);
            locks_[path] = reinterpret_cast<std::intptr_t>(h);
            return {LockState::Taken, true};
        }
        const DWORD error = ::GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
            // A folder or a file we may not open at the name is someone else's; otherwise the
            // folder refuses new files.
            if (Look(native).exists) return {LockState::Held, false};
            return {LockState::Refused, false};
        }
        // A lock file left behind is taken over while nobody holds it: opened as itself, and
        // only when it is a plain file of one name.
        h = ::CreateFileW(native.c_str(), kAccess, FILE_SHARE_READ, nullptr, OPEN_EXISTING, kFlags,
                          nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            if (::GetLastError() == ERROR_FILE_NOT_FOUND) continue;
            return {LockState::Held, false};
        }
        const Entry e = Describe(h, native);
        if (!e.RegularFile() || e.links != 1 ||
            (e.attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
            ::CloseHandle(h);
            return {LockState::Held, false};
        }
        LARGE_INTEGER start{};
        [[maybe_unused]] const bool written = ::SetFilePointerEx(h, start, nullptr, FILE_BEGIN) &&
                                              ::SetEndOfFile(h) && WriteAll(h, content) &&
                                              ::FlushFileBuffers(h);
        locks_[path] = reinterpret_cast<std::intptr_t>(h);
        return {LockState::Taken, false};
    }
    return {LockState::Held, false};
}

LockResult Platform::TakeOverLock(const std::string&, const std::string&) {
    // Windows always knows whether a lock is held.
    return {LockState::Held, false};
}

void Platform::ReleaseLock(const std::string& path, bool remove) {
    const auto it = locks_.find(path);
    if (it == locks_.end()) return;
    const HANDLE h = AsHandle(it->second);
    BY_HANDLE_FILE_INFORMATION held{};
    const bool known = remove && ::GetFileInformationByHandle(h, &held);
    ::CloseHandle(h);
    locks_.erase(it);
    if (!known) return;
    // The lock is held without delete access, so that anyone may read it; it is deleted through
    // a handle opened on the name itself, and only when that is still the file held. Another
    // program that took the name in the moment between holds it without delete sharing: this
    // open is then refused and the lock stays with it.
    const std::wstring native = Native(path);
    const HANDLE d = OpenWaiting(native, DELETE | FILE_READ_ATTRIBUTES, kNameItself);
    if (d == INVALID_HANDLE_VALUE) return;
    const Entry e = Describe(d, native);
    const FileId id{held.dwVolumeSerialNumber, held.nFileIndexHigh, held.nFileIndexLow};
    if (e.RegularFile() && e.id == id) DeleteHeld(d);
    ::CloseHandle(d);
}

void Platform::ReleaseAllLocks() {
    for (const auto& [path, h] : locks_) ::CloseHandle(AsHandle(h));
    locks_.clear();
}

}  // namespace tavrolin
#endif  // _WIN32
