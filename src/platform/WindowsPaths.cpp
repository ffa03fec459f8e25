#if defined(_WIN32)
#ifndef _WIN32_WINNT
#define _WIN32_WINNT 0x0601
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include "platform/WindowsPaths.h"

#include <cwctype>
#include <vector>

#include "platform/WideText.h"

namespace tavrolin::winpath {

namespace {

// The folders programs are installed in, as this machine names them.
std::vector<std::wstring> ProgramFilesFolders() {
    std::vector<std::wstring> folders;
    for (const wchar_t* variable : {L"ProgramFiles", L"ProgramFiles(x86)", L"ProgramW6432"}) {
        wchar_t value[MAX_PATH * 2];
        const DWORD n = ::GetEnvironmentVariableW(variable, value, MAX_PATH * 2);
        if (n > 0 && n < MAX_PATH * 2) folders.emplace_back(value, n);
    }
    // The environment of a program may lack them; the machine's settings do not.
    for (const wchar_t* name : {L"ProgramFilesDir", L"ProgramFilesDir (x86)", L"ProgramW6432Dir"}) {
        wchar_t value[MAX_PATH * 2];
        DWORD size = sizeof value;
        if (::RegGetValueW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion",
                           name, RRF_RT_REG_SZ, nullptr, value, &size) == ERROR_SUCCESS) {
            folders.emplace_back(value);
        }
    }
    return folders;
}

// The folder in one form for comparing: long path, long names instead of short ones ("PROGRA~1"),
// no trailing separator.
std::wstring Comparable(const std::wstring& folder) {
    std::wstring path = Native(Utf8(folder.c_str()));
    const DWORD need = ::GetLongPathNameW(path.c_str(), nullptr, 0);
    if (need > 0) {
        std::wstring longer(need, L'\0');
        const DWORD got = ::GetLongPathNameW(path.c_str(), longer.data(), need);
        if (got > 0 && got < need) path = longer.substr(0, got);
    }
    while (path.size() > 1 && IsSeparator(path.back())) path.pop_back();
    return path;
}

}  // namespace

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

std::wstring Native(const std::string& path) {
    std::wstring w = Wide(path);
    if (w.size() >= 4 && IsSeparator(w[0]) && IsSeparator(w[1]) && (w[2] == L'?' || w[2] == L'.') &&
        IsSeparator(w[3])) {
        return w;
    }
    const bool drive = w.size() >= 3 && std::iswalpha(w[0]) && w[1] == L':' && IsSeparator(w[2]);
    const bool unc = w.size() >= 3 && IsSeparator(w[0]) && IsSeparator(w[1]) && !IsSeparator(w[2]);
    if (!drive && !unc) return w;
    const DWORD need = ::GetFullPathNameW(w.c_str(), 0, nullptr, nullptr);
    if (need == 0) return w;
    std::wstring full(need, L'\0');
    const DWORD got = ::GetFullPathNameW(w.c_str(), need, full.data(), nullptr);
    if (got == 0 || got >= need) return w;
    full.resize(got);
    if (full.size() >= 2 && IsSeparator(full[0]) && IsSeparator(full[1])) {
        return L"\\\\?\\UNC\\" + full.substr(2);
    }
    return L"\\\\?\\" + full;
}

std::wstring FolderOf(const std::wstring& path) {
    const auto cut = path.find_last_of(L"\\/");
    if (cut == std::wstring::npos) return L".";
    // "C:\name" and "\\?\C:\name" lie in the drive's root folder, which keeps its separator.
    if (cut > 0 && path[cut - 1] == L':') return path.substr(0, cut + 1);
    return path.substr(0, cut);
}

std::wstring NameOf(const std::wstring& path) {
    const auto cut = path.find_last_of(L"\\/");
    return cut == std::wstring::npos ? path : path.substr(cut + 1);
}

std::wstring InFolder(const std::wstring& folder, const std::wstring& name) {
    if (!folder.empty() && IsSeparator(folder.back())) return folder + name;
    return folder + L"\\" + name;
}

bool SameText(const std::wstring& a, const std::wstring& b) {
    return ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                  static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

std::wstring FinalPath(HANDLE h) {
    std::wstring path(512, L'\0');
    for (int attempt = 0; attempt < 3; ++attempt) {
        const DWORD n = ::GetFinalPathNameByHandleW(h, path.data(), static_cast<DWORD>(path.size()),
                                                    FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (n == 0) return {};
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(n + 1);
    }
    return {};
}

bool InProgramFiles(const std::string& folder) {
    if (folder.empty()) return false;
    const std::wstring path = Comparable(Wide(folder));
    for (const std::wstring& system : ProgramFilesFolders()) {
        const std::wstring prefix = Comparable(system);
        if (prefix.size() < 3 || path.size() < prefix.size()) continue;
        if (!SameText(path.substr(0, prefix.size()), prefix)) continue;
        if (path.size() == prefix.size() || IsSeparator(path[prefix.size()])) return true;
    }
    return false;
}

}  // namespace tavrolin::winpath
#endif
