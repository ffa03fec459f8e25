// Qt's key events in the program's terms: virtual-key codes, the Shift/Ctrl/Alt mask, the
// character a key types, and the mouse-button mask.
#pragma once

#include <QString>
#include <Qt>

namespace tavrolin::qt {

struct KeyStroke {
    int keyCode = 0;  // virtual-key code; 0 for a key without one
    int shift = 0;    // 1 Shift, 2 Ctrl, 4 Alt
    int ascii = 0;    // the character for KeyPress; 0 when the key types none
};

KeyStroke TranslateKey(int qtKey, Qt::KeyboardModifiers modifiers, const QString& text);
int ShiftMaskOf(Qt::KeyboardModifiers modifiers);
int ButtonMaskOf(Qt::MouseButtons buttons);

}  // namespace tavrolin::qt
