// The system's mouse and key messages in the program's terms: the Shift/Ctrl/Alt mask, the
// buttons held or the one that went down or up, and what kind of press a message is.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace tavrolin::win32 {

// The Shift/Ctrl/Alt mask of a mouse message's key flags.
int ShiftMask(WPARAM mouseKeys);
// The mask as the keyboard holds it now, for a key message.
int ShiftMask();
// The buttons a mouse message's flags say are held.
int ButtonsOf(WPARAM wParam);
// The button a press, release or double click is of; 0 for any other message.
int ButtonOf(UINT msg);
bool IsDown(UINT msg);
bool IsUp(UINT msg);
bool IsDoubleClick(UINT msg);

}  // namespace tavrolin::win32
