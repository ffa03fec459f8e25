// A picture of the virtual screen as a PNG, through Windows' own image codecs (WIC).
#pragma once

#include <string>

namespace tavrolin::win32 {

// Writes what the screen shows now; false when the picture or the file could not be made.
bool WriteSnapshot(const std::wstring& path);

}  // namespace tavrolin::win32
