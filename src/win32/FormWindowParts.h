// What the files of the form window share among themselves: the id its controls are
// subclassed with, the messages it posts itself, a window's text, and pixel boxes as the
// system's rectangles.
#pragma once

#include "win32/Win32Backend.h"

#include <string>

#include "forms/LineDamage.h"

namespace tavrolin::win32 {

inline constexpr UINT_PTR kSubclassId = 1;

// Work posted to a form's window, run from the message loop: the window goes, it was activated
// or deactivated, the user changed a list's selection (wParam the list's window).
inline constexpr UINT kMsgDestroy = WM_APP + 1;
inline constexpr UINT kMsgActivate = WM_APP + 2;
inline constexpr UINT kMsgListSelection = WM_APP + 3;

std::wstring WindowText(HWND h);

inline RECT RectOf(const PixelBox& b) { return RECT{b.left, b.top, b.right, b.bottom}; }
inline PixelBox BoxOf(const RECT& r) { return PixelBox{r.left, r.top, r.right, r.bottom}; }

}  // namespace tavrolin::win32
