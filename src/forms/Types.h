// Small vocabulary shared by the forms model and its backends: colours, mouse buttons, modifier
// masks, key codes, pointer shapes.
#pragma once

#include <cstdint>

namespace tavrolin {

using Color = std::int32_t;  // 0x00BBGGRR, red in the low byte

constexpr int RedOf(Color c) { return c & 0xFF; }
constexpr int GreenOf(Color c) { return (c >> 8) & 0xFF; }
constexpr int BlueOf(Color c) { return (c >> 16) & 0xFF; }

// Mouse buttons as a mask, as the handlers receive them.
enum MouseButton : int { kLeftButton = 1, kRightButton = 2, kMiddleButton = 4 };

// Modifier mask of key and mouse events.
enum ShiftMask : int { kShiftMask = 1, kCtrlMask = 2, kAltMask = 4 };

// Key codes (virtual-key numbering).
enum KeyCode : int {
    kKeyBack = 8,
    kKeyTab = 9,
    kKeyReturn = 13,
    kKeyShift = 16,
    kKeyControl = 17,
    kKeyMenu = 18,
    kKeyEscape = 27,
    kKeySpace = 32,
    kKeyPageUp = 33,
    kKeyPageDown = 34,
    kKeyEnd = 35,
    kKeyHome = 36,
    kKeyLeft = 37,
    kKeyUp = 38,
    kKeyRight = 39,
    kKeyDown = 40,
    kKeyDelete = 46,
    kKeyNumpad2 = 98,
    kKeyNumpad4 = 100,
    kKeyNumpad6 = 102,
    kKeyNumpad8 = 104,
};

// Screen-wide pointer shapes, by the numbers the forms have always used for them.
enum Pointer : int {
    kPointerDefault = 0,
    kPointerArrow = 1,
    kPointerCross = 2,
    kPointerIBeam = 3,
    kPointerSizeAll = 5,
    kPointerSizeNESW = 6,
    kPointerSizeNS = 7,
    kPointerSizeNWSE = 8,
    kPointerSizeWE = 9,
    kPointerUpArrow = 10,
    kPointerHourglass = 11,
    kPointerNoDrop = 12,
    kPointerArrowHourglass = 13,
    kPointerArrowQuestion = 14,
    kPointerSizePointer = 15,  // the size-all pointer the crosshairs use
    kPointerHand = 99,
};

// A rectangle in twips: on the desktop, or within a window from its top-left corner.
struct ScreenRect {
    double Left = 0;
    double Top = 0;
    double Width = 0;
    double Height = 0;
};

enum class WindowState { Normal = 0, Minimized = 1 };

enum class BorderStyle {
    None,        // borderless: ruler, grip, crosshairs
    Fixed,       // a title bar, fixed size: the control window, dialogs
    ToolWindow,  // a small title bar, fixed size: read-outs
};

}  // namespace tavrolin
