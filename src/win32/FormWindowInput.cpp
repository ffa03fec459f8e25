// What the user does to the window and its controls, taken from the system's messages and
// handed to the model's dispatch (forms/Dispatch.h, forms/KeyDispatch.h), which decides what it
// means; here stay only the system's side of it: the mouse capture, the controls' own handling
// of a message, and what an edit control then shows.
#include "win32/FormWindow.h"

#include <commctrl.h>
#include <windowsx.h>

#include "forms/Dispatch.h"
#include "win32/FormWindowParts.h"
#include "win32/KeyMapping.h"

namespace tavrolin::win32 {

void FormWindow::DeliverMouse(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (form_ == nullptr) return;
    // Windows turns the pointer's screen place into the window's coordinates as the message
    // is taken from the queue, so a window that a drag moves under the pointer is in its new
    // place here.
    const POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    const PixelScale s = Scale();
    const double x = s.ToTwipsX(p.x);
    const double y = s.ToTwipsY(p.y);
    const int shift = ShiftMask(wParam);
    if (IsDoubleClick(msg)) {
        // The second press of a double click is no MouseDown of its own, but it holds the
        // button until its release comes.
        buttons_ |= ButtonOf(msg);
        SetCapture(hwnd_);
        dispatch::FormDblClick(*form_);
        return;
    }
    const int button = msg == WM_MOUSEMOVE ? ButtonsOf(wParam) : ButtonOf(msg);
    if (IsDown(msg)) {
        buttons_ |= button;
        SetCapture(hwnd_);
    }
    const dispatch::Mouse what = IsDown(msg) ? dispatch::Mouse::Down
                                 : IsUp(msg) ? dispatch::Mouse::Up
                                             : dispatch::Mouse::Move;
    dispatch::FormMouse(*form_, what, button, shift, x, y);
    if (IsUp(msg) && !detached_) {
        buttons_ &= ~button;
        if (buttons_ == 0 && GetCapture() == hwnd_) ReleaseCapture();
    }
}

void FormWindow::HoldMouse(HWND child, UINT msg, int button) {
    // A control keeps the mouse while a button pressed on it is down, as the form's window
    // does: a drag that leaves a small control (the grip's letter) at a fast move of the hand
    // still reaches it. Edit controls and buttons hold the mouse themselves; a scroll bar has
    // tracked its whole drag in a loop of its own by now, and the button is up again.
    if (IsDown(msg) || IsDoubleClick(msg)) {
        const int vk = button == kLeftButton ? VK_LBUTTON
                       : button == kRightButton ? VK_RBUTTON
                                                : VK_MBUTTON;
        if (GetKeyState(vk) >= 0) return;
        buttons_ |= button;
        if (GetCapture() == nullptr) {
            SetCapture(child);
            heldBy_ = child;
        }
    } else if (IsUp(msg)) {
        buttons_ &= ~button;
        // Only a hold of our own: a button that holds the mouse itself clicks as it lets go.
        if (buttons_ == 0 && heldBy_ == child && GetCapture() == child) ReleaseCapture();
    }
}

keys::KeyResult FormWindow::DeliverKeyDown(Control* target, int keyCode) {
    Form* form = form_;
    keys::KeyResult result;
    const int shift = ShiftMask();
    backend_.Deliver([&] {
        result = keys::Key(*form, target, keyCode, shift, keys::kCharacterLater);
    });
    // The character message this key brings next counts only when the key went on as itself.
    swallowChar_ = result.verdict != keys::Verdict::PassOn;
    return result;
}

bool FormWindow::DeliverChar(Control* target, int& ascii) {
    if (swallowChar_) {
        swallowChar_ = false;
        return false;
    }
    Form* form = form_;
    backend_.Deliver([&] { ascii = keys::Press(*form, target, ascii); });
    return ascii != 0 && form_ != nullptr;
}

bool FormWindow::Wheel(WPARAM wParam, LPARAM lParam) {
    // Older Windows gives the wheel to the focus window, newer ones (scrolling inactive
    // windows) to the window under the pointer: either way it is the form under the pointer's.
    const POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    Form* target = backend_.FormAt(p);
    if (target == nullptr) return false;
    const bool mine = target == form_;
    dispatch::FormWheel(*target, GET_WHEEL_DELTA_WPARAM(wParam),
                        ShiftMask(GET_KEYSTATE_WPARAM(wParam)));
    return mine;
}

void FormWindow::Command(HWND child, int code) {
    Control* c = ControlOf(child);
    if (c == nullptr || form_ == nullptr || backend_.Syncing()) return;
    switch (c->Kind()) {
        case ControlKind::TextBox:
            if (code == EN_CHANGE) PushText(static_cast<TextBox&>(*c));
            break;
        case ControlKind::CheckBox:
        case ControlKind::OptionButton:
            if (code == BN_CLICKED) {
                Reconcile(c);
                dispatch::Click(*c);
            }
            break;
        case ControlKind::CommandButton:
            if (code == BN_CLICKED) dispatch::Click(*c);
            break;
        default:
            break;
    }
}

void FormWindow::Scroll(HWND child, int request) {
    Control* c = ControlOf(child);
    if (c == nullptr || c->Kind() != ControlKind::ScrollBar || backend_.Syncing()) return;
    auto* bar = static_cast<ScrollBar*>(c);
    const int page = dispatch::PageOf(*bar);
    int value = bar->Value();
    switch (request) {
        case SB_LINELEFT: value -= 1; break;
        case SB_LINERIGHT: value += 1; break;
        case SB_PAGELEFT: value -= page; break;
        case SB_PAGERIGHT: value += page; break;
        case SB_LEFT: value = bar->Min(); break;
        case SB_RIGHT: value = bar->Max(); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: {
            SCROLLINFO info{};
            info.cbSize = sizeof info;
            info.fMask = SIF_TRACKPOS;
            GetScrollInfo(child, SB_CTL, &info);
            value = info.nTrackPos;
            break;
        }
        default: return;
    }
    Reconcile(c);
    dispatch::Scroll(*bar, value);
}

void FormWindow::Tab(const Control* from, bool backward) {
    // The controls' own order in the form, as on Linux. The system's dialog order would differ:
    // it offers only the chosen button of a group of option buttons, and knows nothing of a
    // disabled frame that holds a control.
    Control* next = dispatch::NextTabStop(*form_, from, backward, [this](const Control& c) {
        return ChildOf(&c) != nullptr;
    });
    HWND child = next != nullptr ? ChildOf(next) : nullptr;
    if (child == nullptr || next == from) return;
    if (next->Kind() == ControlKind::TextBox) {
        // A box reached with Tab has its whole text selected, to be typed over.
        SendMessageW(child, EM_SETSEL, 0, -1);
        PushSelection(static_cast<TextBox&>(*next));
    }
    ::SetFocus(child);
}

LRESULT CALLBACK FormWindow::ChildProc(HWND child, UINT msg, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR /*id*/, DWORD_PTR self) {
    auto* window = reinterpret_cast<FormWindow*>(self);
    if (msg == WM_NCDESTROY) {
        RemoveWindowSubclass(child, ChildProc, kSubclassId);
        return DefSubclassProc(child, msg, wParam, lParam);
    }
    Control* c = window->ControlOf(child);
    if (c == nullptr || window->form_ == nullptr) return DefSubclassProc(child, msg, wParam, lParam);
    return window->HandleChild(c, child, msg, wParam, lParam);
}

LRESULT FormWindow::HandleChild(Control* c, HWND child, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_NCHITTEST:
            // A frame takes the mouse over its whole face, as the model's frames do.
            if (c->Kind() == ControlKind::Frame) return HTCLIENT;
            break;
        case WM_ERASEBKGND:
            if (c->Kind() == ControlKind::Frame) {
                // A group box draws only its edge and caption: its face is the form's colour.
                RECT r{};
                GetClientRect(child, &r);
                HDC dc = reinterpret_cast<HDC>(wParam);
                SetDCBrushColor(dc, static_cast<COLORREF>(c->HasBackColor() ? c->BackColor()
                                                                             : form_->BackColor()));
                FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
                return 1;
            }
            if (c->Kind() == ControlKind::Picture) return 1;  // its paint fills it whole
            break;
        case WM_PAINT:
            if (c->Kind() == ControlKind::Picture) {
                PAINTSTRUCT ps;
                HDC dc = BeginPaint(child, &ps);
                PaintPicture(static_cast<tavrolin::Picture&>(*c), child, dc);
                EndPaint(child, &ps);
                return 0;
            }
            break;
        case WM_PRINTCLIENT:
            if (c->Kind() == ControlKind::Picture) {
                PaintPicture(static_cast<tavrolin::Picture&>(*c), child,
                             reinterpret_cast<HDC>(wParam));
                return 0;
            }
            break;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
        case WM_MOUSEMOVE:
        case WM_LBUTTONDBLCLK: {
            const PixelScale s = Scale();
            const double x = s.ToTwipsX(GET_X_LPARAM(lParam));
            const double y = s.ToTwipsY(GET_Y_LPARAM(lParam));
            const int shift = ShiftMask(wParam);
            const int button = msg == WM_MOUSEMOVE ? ButtonsOf(wParam) : ButtonOf(msg);
            if (msg == WM_LBUTTONDBLCLK) {
                dispatch::DblClick(*c);
                if (form_ == nullptr) return 0;
            } else if (IsDown(msg)) {
                dispatch::ControlMouse(*c, dispatch::Mouse::Down, button, shift, x, y);
            } else if (IsUp(msg)) {
                // The mouse is let go first: a click may open a modal dialog.
                HoldMouse(child, msg, button);
                dispatch::ControlMouse(*c, dispatch::Mouse::Up, button, shift, x, y);
            } else {
                dispatch::ControlMouse(*c, dispatch::Mouse::Move, button, shift, x, y);
            }
            // A handler that unloaded the form leaves nothing for the control to do.
            if (form_ == nullptr) return 0;
            const LRESULT r = DefSubclassProc(child, msg, wParam, lParam);
            if (form_ != nullptr && !IsUp(msg)) HoldMouse(child, msg, button);
            if (form_ != nullptr && c->Kind() == ControlKind::TextBox &&
                (msg == WM_LBUTTONUP || (msg == WM_MOUSEMOVE && (wParam & MK_LBUTTON)))) {
                PushSelection(static_cast<TextBox&>(*c));
            }
            return r;
        }
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN: {
            const keys::KeyResult key = DeliverKeyDown(keys::TargetOf(c), static_cast<int>(wParam));
            if (form_ == nullptr || key.verdict == keys::Verdict::Swallow) return 0;
            if (key.verdict == keys::Verdict::Replace && c->Kind() == ControlKind::TextBox) {
                // A handler put another key in this one's place: the box types its character.
                LRESULT r = 0;
                if (key.ascii != 0) {
                    r = DefSubclassProc(child, WM_CHAR, static_cast<WPARAM>(key.ascii), lParam);
                }
                if (form_ != nullptr) PushSelection(static_cast<TextBox&>(*c));
                return r;
            }
            // A list does nothing of a key a handler replaced: its rows are no text to type in.
            if (key.verdict == keys::Verdict::Replace && c->Kind() == ControlKind::ListView) {
                return 0;
            }
            if (wParam == VK_TAB && c->Kind() != ControlKind::TextBox) {
                Tab(c, GetKeyState(VK_SHIFT) < 0);
                return 0;
            }
            if (c->Kind() == ControlKind::ScrollBar &&
                dispatch::ScrollKey(static_cast<ScrollBar&>(*c), static_cast<int>(wParam))) {
                return 0;
            }
            const LRESULT r = DefSubclassProc(child, msg, wParam, lParam);
            if (form_ != nullptr && c->Kind() == ControlKind::TextBox) {
                PushSelection(static_cast<TextBox&>(*c));
            }
            return r;
        }
        case WM_CHAR: {
            Control* target = keys::TargetOf(c);
            if (wParam == VK_TAB && c->Kind() == ControlKind::TextBox) {
                // Tab moves on from a multi-line box too: its text never holds tabs.
                if (swallowChar_) {
                    swallowChar_ = false;  // a handler took the key
                } else {
                    Tab(c, GetKeyState(VK_SHIFT) < 0);
                }
                return 0;
            }
            // Ctrl+C, Ctrl+V, Ctrl+X and Ctrl+Z are the editor's commands, not characters typed
            // into the text: they reach the edit control past the key filters (a paste is
            // judged by the Change it brings).
            const bool command = wParam < 32 && wParam != VK_BACK && wParam != VK_RETURN &&
                                 wParam != VK_ESCAPE;
            if (command && swallowChar_) {
                swallowChar_ = false;  // its KeyDown was taken by a handler
                return 0;
            }
            int ascii = wParam < 256 && !command ? static_cast<int>(wParam) : 0;
            const int typed = ascii;
            if (ascii != 0 && !DeliverChar(target, ascii)) return 0;
            if (form_ == nullptr) return 0;
            if (typed != 0 && ascii != typed) wParam = static_cast<WPARAM>(ascii);
            const LRESULT r = DefSubclassProc(child, msg, wParam, lParam);
            if (form_ != nullptr && c->Kind() == ControlKind::TextBox) {
                PushSelection(static_cast<TextBox&>(*c));
            }
            return r;
        }
        case WM_CAPTURECHANGED:
            buttons_ = 0;
            heldBy_ = nullptr;
            break;  // the control's own drag ends too
        case WM_MOUSEWHEEL: {
            if (!Wheel(wParam, lParam) || form_ == nullptr) return 0;
            // Under the pointer: the control scrolls as well if it can. What it does not take
            // goes on to the form's window, which has delivered it already.
            wheelPassedOn_ = true;
            const LRESULT r = DefSubclassProc(child, msg, wParam, lParam);
            wheelPassedOn_ = false;
            return r;
        }
        case WM_SETFOCUS:
            if (!backend_.Syncing() && !backend_.ReportingFocus()) dispatch::FocusIn(*c);
            break;
        case WM_NOTIFY:
            if (c->Kind() == ControlKind::ListView) {
                LRESULT r = 0;
                if (ListHeaderNotify(*reinterpret_cast<const NMHDR*>(lParam), r)) return r;
            }
            break;
        default:
            break;
    }
    return DefSubclassProc(child, msg, wParam, lParam);
}

}  // namespace tavrolin::win32
