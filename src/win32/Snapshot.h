// A picture of the program's windows as they lie on the virtual desktop, as a PNG through
// Windows' own image codecs (WIC), for documentation and for checking a run without a screen
// grabber.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tavrolin {
class Platform;
}

namespace tavrolin::win32 {

class Win32Backend;

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;  // 0x00RRGGBB, top row first
};

// The virtual desktop's size, a neutral dark grey with each visible window of the backend drawn
// at its place, bottom to top, at its opacity.
Picture ComposeSnapshot(const Win32Backend& backend);
// The picture as PNG bytes; empty when it could not be encoded.
std::string EncodeSnapshot(const Picture& picture);
// Puts the picture at `path` (UTF-8) as a new file: a link or a special file found there is
// replaced, never written through. False when the picture or the file could not be made.
bool WriteSnapshot(const Win32Backend& backend, Platform& platform, const std::string& path);

}  // namespace tavrolin::win32
