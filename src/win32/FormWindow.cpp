// The window's life, its state and density, and its window procedure. Its controls, its
// lists, its painting and what the user does to it are in FormWindowControls.cpp,
// FormWindowList.cpp, FormWindowPaint.cpp and FormWindowInput.cpp.
#include "win32/FormWindow.h"

#include <algorithm>

#include "win32/FormWindowParts.h"

namespace tavrolin::win32 {

namespace {

struct Styles {
    DWORD style;
    DWORD exStyle;
};

Styles StylesFor(const Form& form) {
    // A window that never takes the focus is not activated when it is clicked either.
    const DWORD noFocus = form.TakesFocus() ? 0 : WS_EX_NOACTIVATE;
    switch (form.Border()) {
        case BorderStyle::None:
            // A tool window has no task-bar button.
            return {WS_POPUP | WS_CLIPCHILDREN, WS_EX_TOOLWINDOW | noFocus};
        case BorderStyle::ToolWindow:
            return {WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
                    WS_EX_TOOLWINDOW | noFocus};
        case BorderStyle::Fixed:
            break;
    }
    return {WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN, noFocus};
}

// The style bits a border decides; the others (visible, minimised, layered, topmost) belong
// to the window's state and the window services.
constexpr DWORD kBorderStyleBits =
    WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_THICKFRAME;

constexpr DWORD kBorderExStyleBits = WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;

// Windows 10's per-monitor calls are looked up, so that the program still runs where they are
// missing (there every monitor has the system's density).
template <typename Fn>
Fn User32Call(const char* name) {
    FARPROC proc = GetProcAddress(GetModuleHandleW(L"user32.dll"), name);
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(proc));
}

UINT DpiOfWindow(HWND h) {
    static const auto call = User32Call<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
    return call != nullptr ? call(h) : 0;
}

void AddFrame(RECT& r, HWND h, UINT dpi) {
    static const auto call =
        User32Call<BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT)>("AdjustWindowRectExForDpi");
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(h, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(h, GWL_EXSTYLE));
    if (call == nullptr || dpi == 0 || !call(&r, style, FALSE, exStyle, dpi)) {
        AdjustWindowRectEx(&r, style, FALSE, exStyle);
    }
}

}  // namespace

FormWindow::FormWindow(Win32Backend& backend, Form& form) : backend_(backend), form_(&form) {
    const Styles s = StylesFor(form);
    hwnd_ = CreateWindowExW(s.exStyle, backend_.ClassName().c_str(), Wide(form.Caption()).c_str(),
                            s.style, 0, 0, 1, 1, nullptr, nullptr, backend_.Instance(), this);
    if (hwnd_ == nullptr) return;
    // A captioned window made on a monitor of another density is laid out for that one.
    if (form.Border() != BorderStyle::None) dpi_ = static_cast<int>(DpiOfWindow(hwnd_));
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(backend_.Font(0, false, false, dpi_)), 0);
}

PixelScale FormWindow::Scale() const {
    const PixelScale s = backend_.Scale();
    if (dpi_ <= 0 || dpi_ == backend_.Dpi()) return s;
    const double k = static_cast<double>(backend_.Dpi()) / dpi_;
    return {s.ToTwipsX(k), s.ToTwipsY(k)};
}

void FormWindow::DpiChanged(int dpi, const RECT& suggested) {
    if (form_->Border() == BorderStyle::None) return;  // pixel-true wherever it goes
    dpi_ = dpi;
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(backend_.Font(0, false, false, dpi_)), 0);
    // The system's place for the window on the new monitor, at the size of its contents there.
    const RECT size = OuterSize();
    SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, size.right - size.left,
                 size.bottom - size.top, SWP_NOZORDER | SWP_NOACTIVATE);
    for (const auto& owned : form_->Controls()) {
        auto it = views_.find(owned.get());
        if (it != views_.end()) ApplyControl(owned.get(), it->second);
    }
    ApplyShape();
    damage_.Clear();  // its boxes are pixels of the old density
    Damage(nullptr);
}

FormWindow::~FormWindow() {
    if (backBrush_ != nullptr) DeleteObject(backBrush_);
}

void FormWindow::Detach() {
    form_ = nullptr;
    focusRequest_ = nullptr;
    focusPending_ = false;
    views_.clear();
    damage_.Clear();
    byChild_.clear();
    if (hwnd_ == nullptr) {
        delete this;
        return;
    }
    // The window may be inside its own handler (Esc on the ruler, a close request): it goes
    // once that handler has returned. Nor is it hidden first: a program that ends takes its
    // windows along at once, where Wine without a window manager waits two seconds for each
    // activated window it hides.
    detached_ = true;
    PostMessageW(hwnd_, kMsgDestroy, 0, 0);
}

HWND FormWindow::ChildOf(const Control* control) const {
    auto it = views_.find(control);
    return it == views_.end() ? nullptr : it->second.child;
}

Control* FormWindow::ControlOf(HWND child) const {
    auto it = byChild_.find(child);
    return it == byChild_.end() ? nullptr : it->second;
}

// ---------------------------------------------------------------- showing the window's state

void FormWindow::ShowModel() {
    if (form_ == nullptr || hwnd_ == nullptr) return;
    const std::uint32_t dirty = form_->DirtyFlags();
    if (dirty & kDirtyAppearance) ApplyStyle();
    if (dirty & (kDirtyGeometry | kDirtyAppearance)) ApplyGeometry();
    if (dirty & kDirtyControls) ApplyControls();
    // Shown last, so that the window appears in its place with its contents.
    if (dirty & kDirtyVisibility) ApplyVisibility();
    if (focusPending_) ApplyFocus();
    form_->ClearDirty();
}

void FormWindow::ApplyStyle() {
    const Styles want = StylesFor(*form_);
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE));
    const DWORD newStyle = (style & ~kBorderStyleBits) | want.style;
    const DWORD newEx = (exStyle & ~kBorderExStyleBits) | want.exStyle;
    if (newStyle != style || newEx != exStyle) {
        SetWindowLongPtrW(hwnd_, GWL_STYLE, static_cast<LONG_PTR>(newStyle));
        SetWindowLongPtrW(hwnd_, GWL_EXSTYLE, static_cast<LONG_PTR>(newEx));
        applying_ = true;
        SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        applying_ = false;
    }
    const std::wstring title = Wide(form_->Caption());
    if (WindowText(hwnd_) != title) SetWindowTextW(hwnd_, title.c_str());
    Damage(nullptr);  // the back colour
}

RECT FormWindow::OuterSize() const {
    // The form's size is its client area, its place the window's outer corner, as on Linux.
    const PixelScale s = Scale();
    RECT r{0, 0, std::max(1, s.ToPixelsX(form_->Width())), std::max(1, s.ToPixelsY(form_->Height()))};
    if (form_->Border() != BorderStyle::None) AddFrame(r, hwnd_, static_cast<UINT>(dpi_));
    return r;
}

void FormWindow::ApplyGeometry() {
    // The place is on the desktop, whose pixels are the same for every window; the size is the
    // window's own, at its monitor's density.
    const PixelScale s = backend_.Scale();
    const int x = s.ToPixelsX(form_->Left());
    const int y = s.ToPixelsY(form_->Top());
    const RECT r = OuterSize();
    const int w = r.right - r.left;
    const int h = r.bottom - r.top;
    applying_ = true;
    if (IsIconic(hwnd_)) {
        WINDOWPLACEMENT wp{};
        wp.length = sizeof wp;
        GetWindowPlacement(hwnd_, &wp);
        wp.rcNormalPosition = RECT{x, y, x + w, y + h};
        SetWindowPlacement(hwnd_, &wp);
    } else {
        RECT now{};
        GetWindowRect(hwnd_, &now);
        if (now.left != x || now.top != y || now.right - now.left != w || now.bottom - now.top != h) {
            SetWindowPos(hwnd_, nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    applying_ = false;
    ApplyShape();
}

void FormWindow::ApplyShape() {
    // The parts in the window's own pixels, converted as its size is, from the client area's
    // corner; the system takes the region from the window's outer corner.
    std::vector<RECT> parts;
    parts.reserve(form_->Shape().size());
    if (!form_->Shape().empty()) {
        const PixelScale s = Scale();
        const RECT outer = OuterSize();  // the client area from (0,0), its frame around it
        const LONG dx = -outer.left;
        const LONG dy = -outer.top;
        for (const ScreenRect& part : form_->Shape()) {
            const LONG left = dx + s.ToPixelsX(part.Left);
            const LONG top = dy + s.ToPixelsY(part.Top);
            parts.push_back(RECT{left, top, left + std::max(0, s.ToPixelsX(part.Width)),
                                 top + std::max(0, s.ToPixelsY(part.Height))});
        }
    }
    const auto same = [](const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; };
    if (std::equal(parts.begin(), parts.end(), shapeShown_.begin(), shapeShown_.end(), same)) {
        return;  // a drag moves a shaped window many times a second: its region stays
    }
    shapeShown_ = parts;
    if (parts.empty()) {
        SetWindowRgn(hwnd_, nullptr, TRUE);  // the whole window again
        return;
    }
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    for (const RECT& part : parts) {
        if (part.right <= part.left || part.bottom <= part.top) continue;
        HRGN piece = CreateRectRgnIndirect(&part);
        CombineRgn(region, region, piece, RGN_OR);
        DeleteObject(piece);
    }
    // The system owns the region from here on.
    if (!SetWindowRgn(hwnd_, region, TRUE)) {
        DeleteObject(region);
        shapeShown_.clear();
    }
}

void FormWindow::ApplyVisibility() {
    applying_ = true;
    const bool shown = IsWindowVisible(hwnd_) != FALSE;
    if (!form_->Visible()) {
        if (shown) ShowWindow(hwnd_, SW_HIDE);
    } else if (form_->GetWindowState() == WindowState::Minimized) {
        if (!IsIconic(hwnd_) || !shown) ShowWindow(hwnd_, SW_SHOWMINNOACTIVE);
    } else if (IsIconic(hwnd_)) {
        ShowWindow(hwnd_, form_->TakesFocus() ? SW_RESTORE : SW_SHOWNOACTIVATE);
    } else if (!shown) {
        // The borderless windows come up without taking the focus from the control window.
        const bool quiet = form_->Border() == BorderStyle::None || !form_->TakesFocus();
        ShowWindow(hwnd_, quiet ? SW_SHOWNA : SW_SHOW);
    }
    applying_ = false;
}

void FormWindow::RequestFocus(Control* control) {
    focusRequest_ = control;
    focusPending_ = true;
}

void FormWindow::ApplyFocus() {
    if (!IsWindowVisible(hwnd_)) return;  // stays pending until the window is shown
    focusPending_ = false;
    if (!form_->TakesFocus()) return;  // the focus stays where it is
    HWND target = focusRequest_ != nullptr ? ChildOf(focusRequest_) : hwnd_;
    if (target == nullptr) target = hwnd_;
    if (GetForegroundWindow() != hwnd_) SetForegroundWindow(hwnd_);
    if (GetFocus() != target) ::SetFocus(target);
}

// ---------------------------------------------------------------- the window procedure

LRESULT CALLBACK FormWindow::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        auto* self = static_cast<FormWindow*>(create->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<FormWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self == nullptr) return DefWindowProcW(hwnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        delete self;
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    if (msg == kMsgDestroy) {
        DestroyWindow(hwnd);  // deletes the object
        return 0;
    }
    return self->OnMessage(msg, wParam, lParam);
}

LRESULT FormWindow::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (form_ == nullptr) {
        // Unloaded, waiting to go: nothing reaches the model any more.
        if (msg == WM_CLOSE) return 0;
        return DefWindowProcW(hwnd_, msg, wParam, lParam);
    }
    switch (msg) {
        case WM_ERASEBKGND:
            return 1;  // the paint fills the background in the same pass
        case WM_PAINT:
            Paint();
            return 0;
        case WM_PRINTCLIENT: {
            // Themed check boxes draw their parent's background behind them.
            RECT r{};
            GetClientRect(hwnd_, &r);
            SetDCBrushColor(reinterpret_cast<HDC>(wParam), static_cast<COLORREF>(form_->BackColor()));
            FillRect(reinterpret_cast<HDC>(wParam), &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
            return 0;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSCROLLBAR: {
            HDC dc = reinterpret_cast<HDC>(wParam);
            Control* c = ControlOf(reinterpret_cast<HWND>(lParam));
            if (c == nullptr) break;
            SetTextColor(dc, static_cast<COLORREF>(c->ForeColor()));
            const Color back = BackOf(c);
            SetBkColor(dc, static_cast<COLORREF>(back));
            if (backBrush_ == nullptr || backBrushColor_ != back) {
                if (backBrush_ != nullptr) DeleteObject(backBrush_);
                backBrush_ = CreateSolidBrush(static_cast<COLORREF>(back));
                backBrushColor_ = back;
            }
            return reinterpret_cast<LRESULT>(backBrush_);
        }
        case WM_SETCURSOR:
            // The program's pointer shape holds over every window, as a screen-wide pointer.
            if (backend_.screen().MousePointer != kPointerDefault) {
                SetCursor(backend_.Cursor());
                return TRUE;
            }
            break;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
        case WM_MOUSEMOVE:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDBLCLK:
            DeliverMouse(msg, wParam, lParam);
            return 0;
        case WM_CAPTURECHANGED:
            buttons_ = 0;
            return 0;
        case WM_MOUSEACTIVATE:
            // Clicked and dragged, the window leaves the focus where it was.
            if (!form_->TakesFocus()) return MA_NOACTIVATE;
            break;
        case WM_MOUSEWHEEL:
            // A wheel its control passed on has been delivered already.
            if (!wheelPassedOn_) Wheel(wParam, lParam);
            return 0;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN: {
            const keys::KeyResult key = DeliverKeyDown(nullptr, static_cast<int>(wParam));
            if (form_ == nullptr || key.verdict == keys::Verdict::Swallow) return 0;
            // The window itself has the focus, none of its controls: Tab enters them.
            if (wParam == VK_TAB && msg == WM_KEYDOWN) Tab(nullptr, GetKeyState(VK_SHIFT) < 0);
            break;  // Alt+F4 and the system keys go on to Windows
        }
        case WM_CHAR: {
            int ascii = wParam < 256 ? static_cast<int>(wParam) : 0;
            if (ascii != 0) DeliverChar(nullptr, ascii);
            return 0;
        }
        case WM_COMMAND:
            if (lParam != 0) Command(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
            return 0;
        case WM_HSCROLL:
        case WM_VSCROLL:
            if (lParam != 0) Scroll(reinterpret_cast<HWND>(lParam), LOWORD(wParam));
            return 0;
        case WM_NOTIFY: {
            LRESULT result = 0;
            if (ListNotify(*reinterpret_cast<NMHDR*>(lParam), result)) return result;
            break;
        }
        case kMsgListSelection:
            ReportListSelection(reinterpret_cast<HWND>(wParam));
            return 0;
        case WM_ACTIVATE:
            // Handled after the activation has finished: it may come inside a Sync.
            PostMessageW(hwnd_, kMsgActivate, LOWORD(wParam) != WA_INACTIVE, 0);
            break;
        case kMsgActivate: {
            Form* form = form_;
            const bool active = wParam != 0;
            backend_.Deliver([form, active] {
                if (!form->Loaded()) return;
                if (active) {
                    form->Form_Activate();
                } else {
                    form->Form_Deactivate();
                }
            });
            return 0;
        }
        case WM_GETMINMAXINFO: {
            // A ruler may be far longer than the screen is wide.
            auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
            info->ptMaxTrackSize = POINT{32767, 32767};
            if (form_->Border() == BorderStyle::None) info->ptMinTrackSize = POINT{1, 1};
            return 0;
        }
        case WM_WINDOWPOSCHANGED: {
            const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
            if (!IsRectEmpty(&deferred_) && (pos->flags & (SWP_NOMOVE | SWP_NOSIZE)) !=
                                                (SWP_NOMOVE | SWP_NOSIZE)) {
                // Part of what was beyond the screens may be on one now.
                InvalidateRect(hwnd_, &deferred_, FALSE);
                deferred_ = RECT{};
                paintPending_ = true;
            }
            // The user moved a captioned window by its title bar. A borderless one has no
            // handle for the user: only the program places it, and a place the window system
            // reports for it is the system's own (a window manager under Wine reporting its
            // first placement of a window late, from before it honoured the place asked for);
            // taken into the model, a crosshair's partner once went from (0,0) to the corner.
            if (!applying_ && !backend_.Syncing() && !(pos->flags & SWP_NOMOVE) &&
                form_->Border() != BorderStyle::None && !IsIconic(hwnd_) &&
                !(form_->DirtyFlags() & kDirtyGeometry)) {
                const PixelScale s = backend_.Scale();
                if (pos->x != s.ToPixelsX(form_->Left()) || pos->y != s.ToPixelsY(form_->Top())) {
                    form_->WindowSystemMoved(s.ToTwipsX(pos->x), s.ToTwipsY(pos->y));
                }
            }
            break;  // on to WM_SIZE and WM_MOVE
        }
        case WM_SIZE:
            if (!applying_ && !backend_.Syncing() && !(form_->DirtyFlags() & kDirtyVisibility)) {
                const WindowState now =
                    wParam == SIZE_MINIMIZED ? WindowState::Minimized : WindowState::Normal;
                if (form_->GetWindowState() != now && wParam != SIZE_MAXIMIZED) {
                    form_->WindowSystemState(now);
                }
            }
            return 0;
        case WM_CLOSE:
            if (form_->Border() == BorderStyle::None) {
                // No close box: the request came from outside (taskkill, Alt+F4), and is the
                // program's to answer as a whole.
                backend_.EndProgram();
            } else {
                Form* form = form_;
                backend_.Deliver([form] {
                    if (form->Loaded()) form->Form_QueryClose();
                });
            }
            return 0;
        case WM_DPICHANGED:
            // A monitor's density may have changed with it (the user's scale setting).
            backend_.ReadScreens();
            DpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;
        case WM_DISPLAYCHANGE:
            backend_.ReadScreens();
            InvalidateRect(hwnd_, nullptr, FALSE);
            deferred_ = RECT{};
            paintPending_ = true;
            break;
        case WM_QUERYENDSESSION:
            return TRUE;
        case WM_ENDSESSION:
            // After this returns Windows may end the process at once: save now.
            if (wParam) backend_.EndProgram();
            return 0;
        default:
            break;
    }
    return DefWindowProcW(hwnd_, msg, wParam, lParam);
}

}  // namespace tavrolin::win32
