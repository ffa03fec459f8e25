// Where a key goes and what it leaves to type, the same for every backend. A backend turns its
// key event into a call here and does what the result says; it decides nothing of the order.
//
// A key goes to the focused control when that control listens to keys or is a text box, and
// to the form otherwise. A form that previews keys sees each key before the control does.
// KeyDown comes first; a handler may set the code to 0 (the key is gone: no KeyPress, no
// editing) or put another code in its place (the character for KeyPress is then the new
// key's, and the old key's own effect is gone). KeyPress handlers may refuse the character
// (0) or put another in its place, which a text box then types.
#pragma once

namespace tavrolin {

class Control;
class Form;

namespace keys {

// For a window system that sends a key's character in an event of its own after the key.
inline constexpr int kCharacterLater = -1;

// The control a key goes to, or null for the form itself.
Control* TargetOf(Control* focus);

// The character a key code types on a US layout; 0 for a key that types none.
int CharacterOf(int keyCode, int shift);

enum class Verdict {
    PassOn,   // the window system's own handling of the key goes on (a box types it, Tab moves)
    Swallow,  // nothing more happens with the key
    Replace,  // the key's own handling is dropped; a text box types `ascii` instead (0: nothing)
};

struct KeyResult {
    Verdict verdict = Verdict::PassOn;
    int ascii = 0;  // the character that stands after KeyPress
};

// A key pressed: KeyDown, then KeyPress for the character `ascii` the window system gave (0 for
// none, kCharacterLater when its own event brings it to Press). Run inside Backend::Deliver.
KeyResult Key(Form& form, Control* target, int keyCode, int shift, int ascii);

// A character typed, after its key (or with none): KeyPress only. Returns the character that
// stands: 0 when a handler refused it or the form was unloaded. Run inside Backend::Deliver.
int Press(Form& form, Control* target, int ascii);

}  // namespace keys
}  // namespace tavrolin
