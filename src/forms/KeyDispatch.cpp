#include "forms/KeyDispatch.h"

#include "forms/Control.h"
#include "forms/Form.h"

namespace tavrolin::keys {

Control* TargetOf(Control* focus) {
    if (focus == nullptr) return nullptr;
    if (focus->onKeyDown || focus->onKeyPress || focus->Kind() == ControlKind::TextBox) {
        return focus;
    }
    return nullptr;
}

int CharacterOf(int keyCode, int shift) {
    if (keyCode == kKeyBack || keyCode == kKeyReturn || keyCode == kKeyEscape ||
        keyCode == kKeySpace) {
        return keyCode;
    }
    if (keyCode >= '0' && keyCode <= '9' && (shift & kShiftMask) == 0) return keyCode;
    if (keyCode >= 'A' && keyCode <= 'Z') return (shift & kShiftMask) ? keyCode : keyCode + 32;
    if (keyCode >= 96 && keyCode <= 105) return '0' + (keyCode - 96);  // keypad digits
    if (keyCode == 190 || keyCode == 110) return '.';
    return 0;
}

KeyResult Key(Form& form, Control* target, int keyCode, int shift, int ascii) {
    const int given = ascii == kCharacterLater ? 0 : ascii;
    if (keyCode == 0 && given == 0) return {Verdict::PassOn, 0};
    bool changed = false;
    if (keyCode != 0) {
        int code = keyCode;
        int mask = shift;
        if (target == nullptr || form.KeyPreview()) form.Form_KeyDown(code, mask);
        if (code != 0 && form.Loaded() && target != nullptr && target->onKeyDown) {
            target->onKeyDown(code, mask);
        }
        if (code == 0 || !form.Loaded()) return {Verdict::Swallow, 0};
        if (code != keyCode) {
            // Another key stands in for this one: its own character, not the one typed, goes
            // on, and now, since the window system's character event would be the old key's.
            changed = true;
            ascii = CharacterOf(code, mask);
        }
    }
    if (ascii == kCharacterLater) return {Verdict::PassOn, 0};
    if (ascii == 0) return {changed ? Verdict::Replace : Verdict::PassOn, 0};
    const int typed = Press(form, target, ascii);
    if (typed == 0) return {Verdict::Swallow, 0};
    if (changed || typed != given) return {Verdict::Replace, typed};
    return {Verdict::PassOn, typed};
}

int Press(Form& form, Control* target, int ascii) {
    if (target == nullptr || form.KeyPreview()) form.Form_KeyPress(ascii);
    if (ascii != 0 && form.Loaded() && target != nullptr && target->onKeyPress) {
        target->onKeyPress(ascii);
    }
    return form.Loaded() ? ascii : 0;
}

}  // namespace tavrolin::keys
