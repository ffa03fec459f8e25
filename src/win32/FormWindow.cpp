#include "win32/FormWindow.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "forms/Dispatch.h"

namespace tavrolin::win32 {

namespace {

// Work posted to the window itself, run from the message loop.
constexpr UINT kMsgDestroy = WM_APP + 1;
constexpr UINT kMsgActivate = WM_APP + 2;
constexpr UINT_PTR kSubclassId = 1;

struct Styles {
    DWORD style;
    DWORD exStyle;
};

Styles StylesFor(BorderStyle border) {
    switch (border) {
        case BorderStyle::None:
            // A tool window has no task-bar button.
            return {WS_POPUP | WS_CLIPCHILDREN, WS_EX_TOOLWINDOW};
        case BorderStyle::ToolWindow:
            return {WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, WS_EX_TOOLWINDOW};
        case BorderStyle::Fixed:
            break;
    }
    return {WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN, 0};
}

// The style bits a border decides; the others (visible, minimised, layered, topmost) belong
// to the window's state and the window services.
constexpr DWORD kBorderStyleBits =
    WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_THICKFRAME;
constexpr DWORD kBorderExStyleBits = WS_EX_TOOLWINDOW;

// A mouse message carries Shift and Ctrl as they were when it was posted; only Alt is asked
// for, each question being a trip to the window server during a drag.
int ShiftMask(WPARAM mouseKeys) {
    int mask = 0;
    if (mouseKeys & MK_SHIFT) mask |= kShiftMask;
    if (mouseKeys & MK_CONTROL) mask |= kCtrlMask;
    if (GetKeyState(VK_MENU) < 0) mask |= kAltMask;
    return mask;
}

// A key message carries none of them.
int ShiftMask() {
    return ShiftMask((GetKeyState(VK_SHIFT) < 0 ? MK_SHIFT : 0) |
                     (GetKeyState(VK_CONTROL) < 0 ? MK_CONTROL : 0));
}

int ButtonsOf(WPARAM wParam) {
    int mask = 0;
    if (wParam & MK_LBUTTON) mask |= kLeftButton;
    if (wParam & MK_RBUTTON) mask |= kRightButton;
    if (wParam & MK_MBUTTON) mask |= kMiddleButton;
    return mask;
}

int ButtonOf(UINT msg) {
    switch (msg) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_LBUTTONDBLCLK: return kLeftButton;
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_RBUTTONDBLCLK: return kRightButton;
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP:
        case WM_MBUTTONDBLCLK: return kMiddleButton;
        default: return 0;
    }
}

bool IsDown(UINT msg) {
    return msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN;
}
bool IsUp(UINT msg) { return msg == WM_LBUTTONUP || msg == WM_RBUTTONUP || msg == WM_MBUTTONUP; }
bool IsDoubleClick(UINT msg) {
    return msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDBLCLK || msg == WM_MBUTTONDBLCLK;
}

std::wstring WindowText(HWND h) {
    const int n = GetWindowTextLengthW(h);
    std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
    const int got = GetWindowTextW(h, text.data(), n + 1);
    text.resize(static_cast<std::size_t>(std::max(got, 0)));
    return text;
}

// The model counts selections in bytes of its UTF-8 text, an edit control in UTF-16 units.
int ToModelOffset(const std::wstring& shown, int index) {
    index = std::clamp(index, 0, static_cast<int>(shown.size()));
    return static_cast<int>(Utf8(shown.data(), index).size());
}

int ToDisplayIndex(const std::string& model, int offset) {
    offset = std::clamp(offset, 0, static_cast<int>(model.size()));
    return static_cast<int>(Wide(model.substr(0, static_cast<std::size_t>(offset))).size());
}

bool Intersects(const RECT& a, const RECT& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

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
    const Styles s = StylesFor(form.Border());
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

// ---------------------------------------------------------------- showing the model

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
    const Styles want = StylesFor(form_->Border());
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

void FormWindow::Damage(const RECT* part) {
    RECT client{};
    GetClientRect(hwnd_, &client);
    RECT r = client;
    if (part != nullptr && !IntersectRect(&r, part, &client)) return;
    UnionRect(&dirty_, &dirty_, &r);
}

void FormWindow::PaintPending() {
    if (hwnd_ == nullptr) return;
    if (!IsRectEmpty(&dirty_)) {
        const RECT part = dirty_;
        dirty_ = RECT{};
        // Painted at once rather than invalidated for a WM_PAINT: a drag repaints at every
        // move of the mouse, and the round of update regions a WM_PAINT takes costs more than
        // the painting. A hidden window is painted whole by the system when it is shown.
        if (IsWindowVisible(hwnd_)) {
            HDC dc = GetDC(hwnd_);
            PaintInto(dc, part);
            ReleaseDC(hwnd_, dc);
        }
    }
    if (paintPending_) {
        paintPending_ = false;
        UpdateWindow(hwnd_);
    }
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
}

void FormWindow::ApplyVisibility() {
    applying_ = true;
    const bool shown = IsWindowVisible(hwnd_) != FALSE;
    if (!form_->Visible()) {
        if (shown) ShowWindow(hwnd_, SW_HIDE);
    } else if (form_->GetWindowState() == WindowState::Minimized) {
        if (!IsIconic(hwnd_) || !shown) ShowWindow(hwnd_, SW_SHOWMINNOACTIVE);
    } else if (IsIconic(hwnd_)) {
        ShowWindow(hwnd_, SW_RESTORE);
    } else if (!shown) {
        // The borderless windows come up without taking the focus from the control window.
        ShowWindow(hwnd_, form_->Border() == BorderStyle::None ? SW_SHOWNA : SW_SHOW);
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
    HWND target = focusRequest_ != nullptr ? ChildOf(focusRequest_) : hwnd_;
    if (target == nullptr) target = hwnd_;
    if (GetForegroundWindow() != hwnd_) SetForegroundWindow(hwnd_);
    if (GetFocus() != target) ::SetFocus(target);
}

POINT FormWindow::ControlOrigin(const Control* c) const {
    // Every control is a child of the form's window, placed in its containers' frame.
    const PixelScale s = Scale();
    POINT at{0, 0};
    for (const Control* k = c->Container(); k != nullptr; k = k->Container()) {
        at.x += s.ToPixelsX(k->Left());
        at.y += s.ToPixelsY(k->Top());
    }
    return at;
}

FormWindow::View& FormWindow::EnsureView(Control* c) {
    View& view = views_[c];
    if (c->Kind() != ControlKind::Line && view.child == nullptr) {
        CreateChild(c, view);
        ApplyControl(c, view);
    }
    return view;
}

void FormWindow::CreateChild(Control* c, View& view) {
    if (c->Container() != nullptr) EnsureView(c->Container());
    const wchar_t* cls = L"STATIC";
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
    DWORD exStyle = 0;
    switch (c->Kind()) {
        case ControlKind::Line:
            return;
        case ControlKind::Label:
            // Notify: the label takes the mouse, as the model's labels do.
            style |= SS_NOTIFY | SS_LEFT;
            break;
        case ControlKind::TextBox:
            cls = L"EDIT";
            view.multiLine = static_cast<TextBox*>(c)->MultiLine();
            style |= WS_TABSTOP | ES_AUTOHSCROLL;
            if (view.multiLine) style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
            // A read-out's borderless window is its frame; the room of a sunken edge would
            // crop the text it is sized to.
            if (form_->Border() != BorderStyle::None) exStyle = WS_EX_CLIENTEDGE;
            break;
        case ControlKind::Frame:
            cls = L"BUTTON";
            // Clipped by its siblings: they lie above it, and its face must not paint over them.
            style = WS_CHILD | WS_CLIPSIBLINGS | BS_GROUPBOX;
            break;
        case ControlKind::CheckBox:
            // Not the automatic kind: the model decides the value.
            cls = L"BUTTON";
            style |= WS_TABSTOP | BS_CHECKBOX;
            break;
        case ControlKind::OptionButton:
            cls = L"BUTTON";
            style |= WS_TABSTOP | BS_RADIOBUTTON;
            break;
        case ControlKind::CommandButton:
            cls = L"BUTTON";
            style |= WS_TABSTOP | BS_PUSHBUTTON;
            break;
        case ControlKind::ScrollBar:
            cls = L"SCROLLBAR";
            style |= WS_TABSTOP |
                     (static_cast<ScrollBar*>(c)->Horizontal() ? SBS_HORZ : SBS_VERT);
            break;
    }
    HWND child = CreateWindowExW(exStyle, cls, L"", style, 0, 0, 0, 0, hwnd_, nullptr,
                                 backend_.Instance(), nullptr);
    if (child == nullptr) return;
    if (c->Kind() == ControlKind::Frame) framesChanged_ = true;
    SetWindowSubclass(child, ChildProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
    byChild_[child] = c;
    view.child = child;
}

void FormWindow::ApplyControls() {
    const PixelScale s = Scale();
    damage_.Begin();
    for (const auto& owned : form_->Controls()) {
        Control* c = owned.get();
        if (c->Kind() == ControlKind::Line) {
            const auto& line = static_cast<const Line&>(*c);
            if (c->Dirty() || damage_.IsNew(line)) {
                damage_.Changed(line, line.ShownInForm() ? LineBox(line, s) : PixelBox{});
            }
            c->ClearDirty();
            continue;
        }
        auto it = views_.find(c);
        if (it == views_.end() || it->second.child == nullptr) {
            EnsureView(c);
        } else {
            View& view = it->second;
            const bool multi = c->Kind() == ControlKind::TextBox &&
                               static_cast<TextBox*>(c)->MultiLine();
            if (c->Kind() == ControlKind::TextBox && multi != view.multiLine) {
                // Single and multi-line editing are different styles fixed at creation.
                if (!view.tip.empty()) {
                    TTTOOLINFOW info{};
                    info.cbSize = sizeof info;
                    info.hwnd = hwnd_;
                    info.uId = reinterpret_cast<UINT_PTR>(view.child);
                    SendMessageW(tips_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
                }
                byChild_.erase(view.child);
                DestroyWindow(view.child);
                view = View{};
                CreateChild(c, view);
                ApplyControl(c, view);
            } else if (c->Dirty() || view.force) {
                ApplyControl(c, view);
            } else if (view.child != nullptr &&
                       (IsWindowVisible(view.child) != FALSE) != c->ShownInForm()) {
                // A frame that was hidden or shown takes what it holds along.
                ShowWindow(view.child, c->ShownInForm() ? SW_SHOWNA : SW_HIDE);
            }
            view.force = false;
        }
        c->ClearDirty();
    }
    if (framesChanged_) {
        // Frames below the controls they hold, an outer frame below the frames inside it.
        framesChanged_ = false;
        const auto& all = form_->Controls();
        for (auto it = all.rbegin(); it != all.rend(); ++it) {
            if ((*it)->Kind() != ControlKind::Frame) continue;
            if (HWND frame = ChildOf(it->get())) {
                SetWindowPos(frame, HWND_BOTTOM, 0, 0, 0, 0,
                             SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            }
        }
    }
    if (damage_.All()) {
        Damage(nullptr);
        return;
    }
    // One rectangle around the changed lines: one blit of the bitmap to the window.
    for (const PixelBox& b : damage_.Boxes()) {
        const RECT r{b.left, b.top, b.right, b.bottom};
        Damage(&r);
    }
}

void FormWindow::ApplyControl(Control* c, View& view) {
    HWND w = view.child;
    if (w == nullptr) return;
    const PixelScale s = Scale();
    const POINT origin = ControlOrigin(c);
    const int x = origin.x + s.ToPixelsX(c->Left());
    const int y = origin.y + s.ToPixelsY(c->Top());
    const int cx = s.ToPixelsX(c->Width());
    const int cy = s.ToPixelsY(c->Height());
    RECT now{};
    GetWindowRect(w, &now);
    MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&now), 2);
    if (now.left != x || now.top != y || now.right - now.left != cx || now.bottom - now.top != cy) {
        SetWindowPos(w, nullptr, x, y, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if ((IsWindowEnabled(w) != FALSE) != c->Enabled()) EnableWindow(w, c->Enabled());

    // What was last given to the control is remembered rather than asked back: during a drag
    // the read-outs change many times a second, and each question is a message to the control.
    const bool underline = c->Kind() == ControlKind::Label && static_cast<Label*>(c)->Underline();
    HFONT font = backend_.Font(c->FontSize(), c->FontBold(), underline, dpi_);
    if (view.font != font) {
        SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        view.font = font;
    }

    ApplyTip(c, view);

    const std::wstring caption = Wide(c->Caption());
    switch (c->Kind()) {
        case ControlKind::Line:
            break;
        case ControlKind::Label: {
            const auto* model = static_cast<Label*>(c);
            DWORD align = SS_LEFT;
            if (model->Alignment() == Label::Align::Center) align = SS_CENTER;
            if (model->Alignment() == Label::Align::Right) align = SS_RIGHT;
            if (align == SS_LEFT && !model->WordWrap()) align = SS_LEFTNOWORDWRAP;
            const auto style = static_cast<DWORD>(GetWindowLongPtrW(w, GWL_STYLE));
            const DWORD want = (style & ~SS_TYPEMASK) | align;
            if (want != style) SetWindowLongPtrW(w, GWL_STYLE, static_cast<LONG_PTR>(want));
            ApplyCaption(view, caption);
            break;
        }
        case ControlKind::TextBox:
            ApplyText(*static_cast<TextBox*>(c), view);
            break;
        case ControlKind::Frame:
        case ControlKind::CommandButton:
            ApplyCaption(view, caption);
            break;
        case ControlKind::CheckBox:
        case ControlKind::OptionButton: {
            ApplyCaption(view, caption);
            const bool on = c->Kind() == ControlKind::CheckBox
                                ? static_cast<CheckBox*>(c)->Value() != 0
                                : static_cast<OptionButton*>(c)->Value();
            SendMessageW(w, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
            break;
        }
        case ControlKind::ScrollBar: {
            const auto* model = static_cast<ScrollBar*>(c);
            SCROLLINFO info{};
            info.cbSize = sizeof info;
            info.fMask = SIF_RANGE | SIF_POS;
            info.nMin = model->Min();
            info.nMax = model->Max();
            info.nPos = model->Value();
            SetScrollInfo(w, SB_CTL, &info, TRUE);
            break;
        }
    }
    // Colours come with WM_CTLCOLOR*, asked for as the control paints.
    const Color fore = c->ForeColor(), back = BackOf(c);
    if (fore != view.fore || back != view.back) {
        InvalidateRect(w, nullptr, TRUE);
        view.fore = fore;
        view.back = back;
    }
    // Visibility last: a control shown before its geometry is set flashes at the old place.
    if ((IsWindowVisible(w) != FALSE) != c->ShownInForm()) {
        ShowWindow(w, c->ShownInForm() ? SW_SHOWNA : SW_HIDE);
    }
}

void FormWindow::ApplyCaption(View& view, const std::wstring& caption) {
    if (view.captionShown && view.caption == caption) return;
    SetWindowTextW(view.child, caption.c_str());
    view.caption = caption;
    view.captionShown = true;
}

Color FormWindow::BackOf(const Control* c) const {
    if (c->HasBackColor()) return c->BackColor();
    if (c->Kind() == ControlKind::TextBox) return static_cast<Color>(GetSysColor(COLOR_WINDOW));
    return form_->BackColor();
}

void FormWindow::ApplyTip(Control* c, View& view) {
    const std::wstring tip = Wide(c->ToolTipText());
    if (tip == view.tip) return;
    if (tips_ == nullptr) {
        tips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                                backend_.Instance(), nullptr);
        if (tips_ == nullptr) return;
        // Long help texts wrap instead of running across the screen.
        SendMessageW(tips_, TTM_SETMAXTIPWIDTH, 0, 400);
    }
    TTTOOLINFOW info{};
    info.cbSize = sizeof info;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = hwnd_;
    info.uId = reinterpret_cast<UINT_PTR>(view.child);
    info.lpszText = const_cast<wchar_t*>(tip.c_str());
    if (view.tip.empty()) {
        SendMessageW(tips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    } else if (tip.empty()) {
        SendMessageW(tips_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    } else {
        SendMessageW(tips_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
    }
    view.tip = tip;
}

void FormWindow::ApplyText(TextBox& box, View& view) {
    HWND w = view.child;
    const bool readOnly = (GetWindowLongPtrW(w, GWL_STYLE) & ES_READONLY) != 0;
    if (readOnly != box.Locked()) SendMessageW(w, EM_SETREADONLY, box.Locked(), 0);
    const std::wstring want = Wide(box.Text());
    if (WindowText(w) != want) {
        // The model changed or refused the text: keep the cursor where it was, within bounds.
        DWORD start = 0;
        SendMessageW(w, EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
        SetWindowTextW(w, want.c_str());
        const auto cursor = static_cast<WPARAM>(std::min<std::size_t>(start, want.size()));
        SendMessageW(w, EM_SETSEL, cursor, static_cast<LPARAM>(cursor));
    }
    if (box.SelStart() != view.selStart || box.SelLength() != view.selLength) {
        const int from = ToDisplayIndex(box.Text(), box.SelStart());
        const int to = ToDisplayIndex(box.Text(), box.SelStart() + box.SelLength());
        SendMessageW(w, EM_SETSEL, static_cast<WPARAM>(from), static_cast<LPARAM>(to));
        view.selStart = box.SelStart();
        view.selLength = box.SelLength();
    }
}

// ---------------------------------------------------------------- painting

namespace {

RECT RectOf(const PixelBox& b) { return RECT{b.left, b.top, b.right, b.bottom}; }
PixelBox BoxOf(const RECT& r) { return PixelBox{r.left, r.top, r.right, r.bottom}; }

// A colour of the model (0x00BBGGRR) as a pixel of a 32-bit DIB (0x00RRGGBB).
std::uint32_t PixelOf(Color c) {
    return static_cast<std::uint32_t>((RedOf(c) << 16) | (GreenOf(c) << 8) | BlueOf(c));
}

}  // namespace

RECT FormWindow::LineBounds(const Line& line) const {
    return RectOf(LineBox(line, Scale()));
}

void FormWindow::Paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    PaintInto(dc, ps.rcPaint);
    EndPaint(hwnd_, &ps);
}

void FormWindow::PaintInto(HDC dc, const RECT& part) {
    RECT client{};
    GetClientRect(hwnd_, &client);
    const SIZE need{std::max<LONG>(1, client.right), std::max<LONG>(1, client.bottom)};
    if (mem_ == nullptr || mem_->Width() < need.cx || mem_->Height() < need.cy) {
        // One bitmap the size of the window, kept: a drag repaints without allocating. Its
        // pixels are at hand, so that thousands of ticks are filled in memory rather than by
        // a call to the system each.
        auto bitmap = std::make_unique<Dib>(dc, need.cx, need.cy);
        if (!bitmap->Ok()) return;
        mem_ = std::move(bitmap);
    }
    HDC memDc = mem_->Dc();
    std::uint32_t* memBits = mem_->Bits();
    // What lies beyond the screens waits until the window brings it on screen: a ruler may be
    // many screens long, and only its part on screen is worth a repaint during a drag.
    RECT screen = backend_.Desktop();
    MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&screen), 2);
    const PixelBox onScreen = OnDesktop(BoxOf(part), BoxOf(screen));
    RECT exposed = RectOf(onScreen);
    const RECT bitmapRect{0, 0, mem_->Width(), mem_->Height()};
    if (onScreen.Empty() || !IntersectRect(&exposed, &exposed, &bitmapRect)) exposed = RECT{};
    if (!EqualRect(&exposed, &part)) {
        if (IsRectEmpty(&deferred_)) {
            deferred_ = part;
        } else {
            UnionRect(&deferred_, &deferred_, &part);
        }
    }
    if (IsRectEmpty(&exposed) || form_ == nullptr) return;
    GdiFlush();  // the system has finished with the bitmap before its pixels are written
    const LONG stride = mem_->Width();
    auto fill = [&](RECT r, std::uint32_t pixel) {
        if (!IntersectRect(&r, &r, &exposed)) return;
        for (LONG y = r.top; y < r.bottom; ++y) {
            std::fill(memBits + y * stride + r.left, memBits + y * stride + r.right, pixel);
        }
    };
    fill(exposed, PixelOf(form_->BackColor()));
    const PixelScale s = Scale();
    for (const Line* line : form_->Lines()) {
        if (line->Container() != nullptr || !line->ShownInForm()) continue;
        // Every line of the ruler and the crosshairs is level or plumb, and filled.
        const PixelBox filled = LineFill(*line, s);
        if (!filled.Empty()) {
            fill(RectOf(filled), PixelOf(line->BorderColor()));
            continue;
        }
        const RECT bounds = LineBounds(*line);
        if (!Intersects(bounds, exposed)) continue;
        const int ax = s.ToPixelsX(line->X1()), ay = s.ToPixelsY(line->Y1());
        const int bx = s.ToPixelsX(line->X2()), by = s.ToPixelsY(line->Y2());
        const int w = line->BorderWidth();
        LOGBRUSH lb{BS_SOLID, static_cast<COLORREF>(line->BorderColor()), 0};
        HPEN pen = ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_SQUARE | PS_JOIN_MITER,
                                static_cast<DWORD>(std::max(1, w)), &lb, 0, nullptr);
        HGDIOBJ oldPen = SelectObject(memDc, pen);
        MoveToEx(memDc, ax, ay, nullptr);
        LineTo(memDc, bx, by);
        SelectObject(memDc, oldPen);
        DeleteObject(pen);
        GdiFlush();  // later lines are written into the pixels directly
    }
    BitBlt(dc, exposed.left, exposed.top, exposed.right - exposed.left,
           exposed.bottom - exposed.top, memDc, exposed.left, exposed.top, SRCCOPY);
    if (backend_.onPainted) backend_.onPainted(hwnd_);
}

// ---------------------------------------------------------------- what the user does

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

void FormWindow::Reconcile(Control* c) {
    // After a click the control shows its own idea of the value; the next Sync shows the
    // model's, also when the model refused the change and so marked nothing.
    auto it = views_.find(c);
    if (it == views_.end()) return;
    it->second.force = true;
    form_->MarkDirty(kDirtyControls);
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

void FormWindow::PushText(TextBox& box) {
    if (form_ == nullptr || backend_.Syncing()) return;
    HWND w = ChildOf(&box);
    if (w == nullptr) return;
    const std::string text = Utf8(WindowText(w).c_str());
    backend_.Deliver([this, &box, text] {
        box.SetText(text);
        // SetText puts the model's cursor at the end; the editor's is where the user typed.
        if (form_ != nullptr && box.Text() == text) PushSelection(box);
    });
}

void FormWindow::PushSelection(TextBox& box) {
    if (form_ == nullptr || backend_.Syncing()) return;
    auto it = views_.find(&box);
    if (it == views_.end() || it->second.child == nullptr) return;
    View& view = it->second;
    DWORD start = 0, end = 0;
    SendMessageW(view.child, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    const std::wstring shown = WindowText(view.child);
    const int from = ToModelOffset(shown, static_cast<int>(start));
    const int to = ToModelOffset(shown, static_cast<int>(end));
    box.SetSelection(from, to - from);
    view.selStart = box.SelStart();
    view.selLength = box.SelLength();
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
            if (wParam == VK_TAB && c->Kind() != ControlKind::TextBox) {
                Tab(c, GetKeyState(VK_SHIFT) < 0);
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
        case WM_SETFOCUS:
            if (!backend_.Syncing() && !backend_.ReportingFocus()) {
                Form* form = form_;
                backend_.Deliver([this, form, c] {
                    backend_.ReportFocus(*form, c);
                    if (c->onGotFocus) c->onGotFocus();
                });
            }
            break;
        default:
            break;
    }
    return DefSubclassProc(child, msg, wParam, lParam);
}

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
