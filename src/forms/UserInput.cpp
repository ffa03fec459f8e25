#include "forms/UserInput.h"

#include "forms/Backend.h"
#include "forms/Control.h"
#include "forms/Dispatch.h"
#include "forms/Form.h"
#include "forms/KeyDispatch.h"

namespace tavrolin::user {

namespace {

bool Reachable(const Control& c) { return c.Owner().Loaded() && c.ShownInForm() && c.Enabled(); }

void ApplyKey(TextBox& box, int keyAscii) {
    std::string text = box.Text();
    const auto start = static_cast<std::size_t>(box.SelStart());
    const auto length = static_cast<std::size_t>(box.SelLength());
    if (keyAscii == kKeyBack) {
        if (length > 0) {
            text.erase(start, length);
        } else if (start > 0) {
            text.erase(start - 1, 1);
        }
    } else if (keyAscii >= 32 && keyAscii < 256) {
        text.replace(start, length, 1, static_cast<char>(keyAscii));
    } else {
        return;
    }
    box.SetText(text);
}

}  // namespace

void Click(Control& control) { dispatch::Click(control); }

void DblClick(Control& control) { dispatch::DblClick(control); }

void Type(TextBox& box, const std::string& keys) {
    for (char ch : keys) {
        if (!Reachable(box)) return;
        box.Owner().backend().Deliver([&box, ch] {
            const int key = keys::Press(box.Owner(), &box, static_cast<unsigned char>(ch));
            if (key != 0 && !box.Locked()) ApplyKey(box, key);
        });
    }
}

void Paste(TextBox& box, const std::string& text) {
    if (!Reachable(box) || box.Locked()) return;
    box.Owner().backend().Deliver([&box, &text] {
        for (const char ch : text) {
            if (!box.Owner().Loaded()) return;
            int key = static_cast<unsigned char>(ch);
            if (key < 32) continue;
            if (box.onKeyPress) box.onKeyPress(key);
            if (key < 32 || key >= 256) continue;  // refused, or made into an editing key
            std::string now = box.Text();
            const auto start = static_cast<std::size_t>(box.SelStart());
            now.replace(start, static_cast<std::size_t>(box.SelLength()), 1, static_cast<char>(key));
            box.SetText(now);
            // The next character goes after this one, not where SetText leaves the cursor.
            if (box.Text() == now) box.SetSelection(static_cast<int>(start) + 1, 0);
        }
    });
}

void Edit(TextBox& box, const std::string& text) {
    if (!Reachable(box)) return;
    box.Owner().backend().Deliver([&box, &text] { box.SetText(text); });
}

void Scroll(ScrollBar& bar, int value) { dispatch::Scroll(bar, value); }
void SelectRows(ListView& list, const std::vector<std::size_t>& rows) {
    dispatch::SelectRows(list, rows);
}

void MouseDown(Form& form, int button, int shift, double x, double y) {
    dispatch::FormMouse(form, dispatch::Mouse::Down, button, shift, x, y);
}

void MouseMove(Form& form, int button, int shift, double x, double y) {
    dispatch::FormMouse(form, dispatch::Mouse::Move, button, shift, x, y);
}

void MouseUp(Form& form, int button, int shift, double x, double y) {
    dispatch::FormMouse(form, dispatch::Mouse::Up, button, shift, x, y);
}

void DblClick(Form& form) { dispatch::FormDblClick(form); }

void KeyDown(Form& form, int keyCode, int shift) {
    if (!form.Loaded()) return;
    Control* focus = form.FocusedControl();
    if (focus != nullptr && !Reachable(*focus)) focus = nullptr;
    if (Control* target = keys::TargetOf(focus)) {
        KeyDown(*target, keyCode, shift);
        return;
    }
    form.backend().Deliver(
        [&] { keys::Key(form, nullptr, keyCode, shift, keys::CharacterOf(keyCode, shift)); });
}

void Wheel(Form& form, int notches, int shift) { dispatch::FormWheel(form, 120 * notches, shift); }

void Drag(Form& form, double x0, double y0, double x1, double y1, int steps, int shift) {
    // The pointer follows a fixed path on the screen; the form may move under it.
    const double gx0 = form.Left() + x0, gy0 = form.Top() + y0;
    const double gx1 = form.Left() + x1, gy1 = form.Top() + y1;
    MouseDown(form, kLeftButton, shift, x0, y0);
    if (steps < 1) steps = 1;
    for (int i = 1; i <= steps; ++i) {
        const double gx = gx0 + (gx1 - gx0) * i / steps;
        const double gy = gy0 + (gy1 - gy0) * i / steps;
        MouseMove(form, kLeftButton, shift, gx - form.Left(), gy - form.Top());
    }
    MouseUp(form, kLeftButton, shift, gx1 - form.Left(), gy1 - form.Top());
}

void MouseDown(Control& control, int button, int shift, double x, double y) {
    dispatch::ControlMouse(control, dispatch::Mouse::Down, button, shift, x, y);
}

void MouseMove(Control& control, int button, int shift, double x, double y) {
    dispatch::ControlMouse(control, dispatch::Mouse::Move, button, shift, x, y);
}

void MouseUp(Control& control, int button, int shift, double x, double y) {
    dispatch::ControlMouse(control, dispatch::Mouse::Up, button, shift, x, y);
}

Control* Tab(Form& form, bool backward) {
    if (!form.Loaded()) return nullptr;
    Control* next = dispatch::NextTabStop(form, form.FocusedControl(), backward,
                                          [](const Control&) { return true; });
    if (next == nullptr) return nullptr;
    form.backend().Deliver([&form, next] {
        // A box reached with Tab has its whole text selected, to be typed over.
        if (next->Kind() == ControlKind::TextBox) {
            auto& box = static_cast<TextBox&>(*next);
            box.SetSelection(0, static_cast<int>(box.Text().size()));
        }
        form.SetFocus(next);
        if (next->onGotFocus) next->onGotFocus();
    });
    return next;
}

void KeyDown(Control& control, int keyCode, int shift) {
    if (!Reachable(control)) return;
    Form& form = control.Owner();
    form.backend().Deliver([&] {
        const keys::KeyResult r =
            keys::Key(form, &control, keyCode, shift, keys::CharacterOf(keyCode, shift));
        // What the editor of a real window does with the key: it types what stands.
        if (r.verdict == keys::Verdict::Swallow || r.ascii == 0) return;
        if (control.Kind() != ControlKind::TextBox || !form.Loaded()) return;
        auto& box = static_cast<TextBox&>(control);
        if (!box.Locked()) ApplyKey(box, r.ascii);
    });
}

}  // namespace tavrolin::user
