#include "platform/WindowServices.h"

#include <algorithm>

#include "forms/Form.h"
#include "platform/Platform.h"

namespace tavrolin {

void MakeTopmost(Platform& platform, const Form& form) {
    platform.SetWindowPos(form.hWnd(), kHwndTopmost, 0, 0, 0, 0, kSwpNoMove | kSwpNoSize);
}

void SetTransparency(Platform& platform, std::int16_t& alpha, std::int32_t& hWnd) {
    const auto byte = static_cast<std::uint8_t>(std::clamp<int>(alpha, 0, 255));
    const std::int32_t style = platform.GetWindowLongA(hWnd, kGwlExStyle);
    platform.SetWindowLongA(hWnd, kGwlExStyle, style | kWsExLayered);
    platform.SetLayeredWindowAttributes(hWnd, 0xFFFFFF, byte, kLwaAlpha);
}

std::int32_t OpenDocument(Platform& platform, const std::string& target) {
    const std::int32_t desktop = platform.GetDesktopWindow();
    return platform.ShellExecuteA(desktop, "Open", target, "", "", kSwShowNormal);
}

}  // namespace tavrolin
