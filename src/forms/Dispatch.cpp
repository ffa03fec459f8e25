#include "forms/Dispatch.h"

#include <algorithm>
#include <cstddef>

#include "forms/Backend.h"
#include "forms/Control.h"
#include "forms/Form.h"

namespace tavrolin::dispatch {

namespace {

bool Reachable(const Control& c) { return c.Owner().Loaded() && c.ShownInForm() && c.Enabled(); }

bool TakesFocus(const Control& c) {
    switch (c.Kind()) {
        case ControlKind::TextBox:
        case ControlKind::CheckBox:
        case ControlKind::OptionButton:
        case ControlKind::CommandButton:
        case ControlKind::ScrollBar:
        case ControlKind::ListView: return true;
        default: return false;
    }
}

}  // namespace

void Click(Control& control) {
    if (!Reachable(control)) return;
    control.Owner().backend().Deliver([&control] {
        switch (control.Kind()) {
            case ControlKind::CheckBox: {
                auto& box = static_cast<CheckBox&>(control);
                box.SetValue(box.Value() ? 0 : 1);
                break;
            }
            case ControlKind::OptionButton:
                static_cast<OptionButton&>(control).SetValue(true);
                break;
            default:
                if (control.onClick) control.onClick();
                break;
        }
    });
}

void DblClick(Control& control) {
    if (!Reachable(control) || !control.onDblClick) return;
    control.Owner().backend().Deliver([&control] { control.onDblClick(); });
}

void FocusIn(Control& control) {
    Form& form = control.Owner();
    if (!form.Loaded()) return;
    form.backend().Deliver([&form, &control] {
        form.backend().ReportFocus(form, &control);
        if (control.onGotFocus) control.onGotFocus();
    });
}

void FormMouse(Form& form, Mouse what, int button, int shift, double x, double y) {
    if (!form.Loaded()) return;
    form.backend().Deliver([&] {
        if (!form.Loaded()) return;
        switch (what) {
            case Mouse::Down: form.Form_MouseDown(button, shift, x, y); break;
            case Mouse::Move: form.Form_MouseMove(button, shift, x, y); break;
            case Mouse::Up: form.Form_MouseUp(button, shift, x, y); break;
        }
    });
}

void FormDblClick(Form& form) {
    if (!form.Loaded()) return;
    form.backend().Deliver([&form] {
        if (form.Loaded()) form.Form_DblClick();
    });
}

void FormWheel(Form& form, int delta, int shift) {
    if (!form.Loaded() || delta == 0) return;
    form.backend().Deliver([&form, delta, shift] {
        if (form.Loaded()) form.Form_MouseWheel(delta, shift);
    });
}

void ControlMouse(Control& control, Mouse what, int button, int shift, double x, double y) {
    // A press needs a control the user can reach; the moves and the release of a press go on
    // reaching the control that took it, also when its drag hid or disabled it.
    if (what == Mouse::Down ? !Reachable(control) : !control.Owner().Loaded()) return;
    Backend& backend = control.Owner().backend();
    switch (what) {
        case Mouse::Down:
            if (control.onMouseDown) backend.Deliver([&] { control.onMouseDown(button, shift, x, y); });
            break;
        case Mouse::Move:
            if (control.onMouseMove) backend.Deliver([&] { control.onMouseMove(button, shift, x, y); });
            break;
        case Mouse::Up: {
            if (control.onMouseUp) backend.Deliver([&] { control.onMouseUp(button, shift, x, y); });
            const bool over = x >= 0 && y >= 0 && x < control.Width() && y < control.Height();
            if (control.Kind() == ControlKind::Label && button == kLeftButton && over &&
                control.onClick && Reachable(control)) {
                backend.Deliver([&control] { control.onClick(); });
            }
            break;
        }
    }
}

void SelectRows(ListView& list, const std::vector<std::size_t>& rows) {
    if (!list.Owner().Loaded()) return;
    list.Owner().backend().Deliver([&list, &rows] { list.ViewSelected(rows); });
}

void Scroll(ScrollBar& bar, int value) {
    if (!Reachable(bar)) return;
    value = std::clamp(value, std::min(bar.Min(), bar.Max()), std::max(bar.Min(), bar.Max()));
    bar.Owner().backend().Deliver([&bar, value] { bar.SetValue(value); });
}

int PageOf(const ScrollBar& bar) { return std::max(1, (bar.Max() - bar.Min()) / 10); }

bool ScrollKey(ScrollBar& bar, int keyCode) {
    int value = bar.Value();
    switch (keyCode) {
        case kKeyLeft:
        case kKeyUp: value -= 1; break;
        case kKeyRight:
        case kKeyDown: value += 1; break;
        case kKeyPageUp: value -= PageOf(bar); break;
        case kKeyPageDown: value += PageOf(bar); break;
        case kKeyHome: value = bar.Min(); break;
        case kKeyEnd: value = bar.Max(); break;
        default: return false;
    }
    Scroll(bar, value);
    return true;
}

Control* NextTabStop(const Form& form, const Control* from, bool backward,
                     const std::function<bool(const Control&)>& placed) {
    auto isStop = [&placed](const Control& c) {
        if (!TakesFocus(c) || !c.ShownInForm() || !placed(c)) return false;
        for (const Control* k = &c; k != nullptr; k = k->Container()) {
            if (!k->Enabled()) return false;
        }
        return true;
    };
    const auto& all = form.Controls();
    const auto n = static_cast<std::ptrdiff_t>(all.size());
    if (n == 0) return nullptr;
    // Without a control to start from, the first stop is the first one (or the last one).
    std::ptrdiff_t at = backward ? 0 : n - 1;
    for (std::ptrdiff_t i = 0; i < n; ++i) {
        if (all[static_cast<std::size_t>(i)].get() == from) at = i;
    }
    for (std::ptrdiff_t step = 1; step <= n; ++step) {
        const std::ptrdiff_t i = ((backward ? at - step : at + step) % n + n) % n;
        Control* c = all[static_cast<std::size_t>(i)].get();
        if (isStop(*c)) return c;
    }
    return nullptr;
}

}  // namespace tavrolin::dispatch
