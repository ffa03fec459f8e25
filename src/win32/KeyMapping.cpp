#include "win32/KeyMapping.h"

#include "forms/Types.h"

namespace tavrolin::win32 {

// A mouse message carries Shift and Ctrl as they were when it was posted; only Alt is asked
// for, each question being a trip to the window server during a drag.
int ShiftMask(WPARAM mouseKeys) {
    int mask = 0;
    if (mouseKeys & MK_SHIFT) mask |= kShiftMask;
    if (mouseKeys & MK_CONTROL) mask |= kCtrlMask;
    if (GetKeyState(VK_MENU) < 0) mask |= kAltMask;
    return mask;
}

// A key message carries none of them.
int ShiftMask() {
    return ShiftMask((GetKeyState(VK_SHIFT) < 0 ? MK_SHIFT : 0) |
                     (GetKeyState(VK_CONTROL) < 0 ? MK_CONTROL : 0));
}

int ButtonsOf(WPARAM wParam) {
    int mask = 0;
    if (wParam & MK_LBUTTON) mask |= kLeftButton;
    if (wParam & MK_RBUTTON) mask |= kRightButton;
    if (wParam & MK_MBUTTON) mask |= kMiddleButton;
    return mask;
}

int ButtonOf(UINT msg) {
    switch (msg) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_LBUTTONDBLCLK: return kLeftButton;
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_RBUTTONDBLCLK: return kRightButton;
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP:
        case WM_MBUTTONDBLCLK: return kMiddleButton;
        default: return 0;
    }
}

bool IsDown(UINT msg) {
    return msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN;
}

bool IsUp(UINT msg) { return msg == WM_LBUTTONUP || msg == WM_RBUTTONUP || msg == WM_MBUTTONUP; }

bool IsDoubleClick(UINT msg) {
    return msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDBLCLK || msg == WM_MBUTTONDBLCLK;
}

}  // namespace tavrolin::win32
