// Paths on Windows as the file layer takes them: the long form every call is given, the parts
// of a path, names compared as the file system compares them, and the folders programs are
// installed in.
#pragma once
#if defined(_WIN32)
#include <windows.h>

#include <string>

namespace tavrolin::winpath {

bool IsSeparator(wchar_t c);
// The path as the calls take it. An absolute path goes in its long form ("\\?\C:\..." or
// "\\?\UNC\server\share\..."), resolved first as Windows resolves any path (separators,
// "." and "..", trailing dots and blanks): so a folder near or beyond the old limit of 260
// characters holds the lock, the settings and the temporary file of a save alike.
std::wstring Native(const std::string& path);
std::wstring FolderOf(const std::wstring& path);
std::wstring NameOf(const std::wstring& path);
std::wstring InFolder(const std::wstring& folder, const std::wstring& name);
// Names compared as the file system does: ordinal, without case.
bool SameText(const std::wstring& a, const std::wstring& b);
// The name the handle's file is known by, empty when the system cannot tell.
std::wstring FinalPath(HANDLE h);
// True for a folder in or under one of the machine's Program Files folders.
bool InProgramFiles(const std::string& folder);

}  // namespace tavrolin::winpath
#endif
