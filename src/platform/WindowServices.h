// The three window services every floating window uses: the topmost band, per-window opacity and
// opening a web address or document in the desktop's default application.
#pragma once

#include <cstdint>
#include <string>

namespace tavrolin {

class Form;
class Platform;

constexpr std::int32_t kHwndTopmost = -1;
constexpr std::int32_t kSwpNoSize = 1;
constexpr std::int32_t kSwpNoMove = 2;
constexpr std::int32_t kGwlExStyle = -20;
constexpr std::int32_t kWsExLayered = 0x80000;
constexpr std::int32_t kLwaAlpha = 2;
constexpr std::int32_t kSwShowNormal = 1;

// Puts the window above every window that is not topmost, without moving or sizing it.
void MakeTopmost(Platform& platform, const Form& form);

// Makes the window layered and draws it with the given opacity (0 transparent, 255 opaque).
// An alpha outside 0..255 is clamped before any call, so a window never ends up layered
// without an alpha.
void SetTransparency(Platform& platform, std::int16_t& alpha, std::int32_t& hWnd);

// Opens a web address or a document with the verb "Open"; returns the shell's result
// (above 32 is success).
std::int32_t OpenDocument(Platform& platform, const std::string& target);

}  // namespace tavrolin
