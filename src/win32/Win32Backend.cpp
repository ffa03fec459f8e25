#include "win32/Win32Backend.h"

#include <commctrl.h>
#include <shellscalingapi.h>

#include <algorithm>
#include <cmath>

#include "forms/Form.h"
#include "win32/Dib.h"
#include "win32/FormWindow.h"

namespace tavrolin::win32 {

namespace {

LPCWSTR CursorFor(int pointer) {
    switch (pointer) {
        case kPointerCross: return IDC_CROSS;
        case kPointerIBeam: return IDC_IBEAM;
        case kPointerSizeAll:
        case kPointerSizePointer: return IDC_SIZEALL;
        case kPointerSizeNESW: return IDC_SIZENESW;
        case kPointerSizeNS: return IDC_SIZENS;
        case kPointerSizeNWSE: return IDC_SIZENWSE;
        case kPointerSizeWE: return IDC_SIZEWE;
        case kPointerUpArrow: return IDC_UPARROW;
        case kPointerHourglass: return IDC_WAIT;
        case kPointerNoDrop: return IDC_NO;
        case kPointerArrowHourglass: return IDC_APPSTARTING;
        case kPointerArrowQuestion: return IDC_HELP;
        case kPointerHand: return IDC_HAND;
        default: return IDC_ARROW;
    }
}

// Lines of a text as the model keeps them (CR LF or LF between lines).
std::vector<std::wstring> LinesOf(const std::string& text) {
    std::vector<std::wstring> lines;
    std::string line;
    for (char c : text) {
        if (c == '\r') continue;
        if (c == '\n') {
            lines.push_back(Wide(line));
            line.clear();
        } else {
            line += c;
        }
    }
    lines.push_back(Wide(line));
    return lines;
}

// A monitor's own density, where the system tells it (Windows 8.1 and later have shcore.dll).
UINT MonitorDpi(HMONITOR monitor) {
    using Call = HRESULT(WINAPI*)(HMONITOR, MONITOR_DPI_TYPE, UINT*, UINT*);
    static const Call call = [] {
        HMODULE shcore = LoadLibraryExW(L"shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        FARPROC proc = shcore != nullptr ? GetProcAddress(shcore, "GetDpiForMonitor") : nullptr;
        return reinterpret_cast<Call>(reinterpret_cast<void (*)()>(proc));
    }();
    UINT x = 0, y = 0;
    if (call == nullptr || FAILED(call(monitor, MDT_EFFECTIVE_DPI, &x, &y))) return 0;
    return x;
}

}  // namespace

Win32Backend::Win32Backend(HINSTANCE instance) : instance_(instance) {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_LISTVIEW_CLASSES;
    InitCommonControlsEx(&controls);
    HDC screenDc = GetDC(nullptr);
    dpi_ = GetDeviceCaps(screenDc, LOGPIXELSX);
    const int dpiY = GetDeviceCaps(screenDc, LOGPIXELSY);
    ReleaseDC(nullptr, screenDc);
    if (dpi_ <= 0) dpi_ = 96;
    screen().TwipsPerPixelX = 1440.0 / dpi_;
    screen().TwipsPerPixelY = 1440.0 / (dpiY > 0 ? dpiY : dpi_);
    ReadScreens();

    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        messageFont_ = metrics.lfMessageFont;
    } else {
        GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof messageFont_, &messageFont_);
    }

    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    // Double clicks arrive as such: the second press of one is no MouseDown of its own.
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = FormWindow::WindowProc;
    wc.hInstance = instance_;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hIcon = LoadIconW(instance_, MAKEINTRESOURCEW(1));
    wc.lpszClassName = className_.c_str();
    RegisterClassExW(&wc);
}

void Win32Backend::ReadScreens() {
    desktop_.left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    desktop_.top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    desktop_.right = desktop_.left + GetSystemMetrics(SM_CXVIRTUALSCREEN);
    desktop_.bottom = desktop_.top + GetSystemMetrics(SM_CYVIRTUALSCREEN);
    // Each monitor of the desktop, so that a window saved beyond all of them comes back, with
    // the density lengths on it are read with (the system's where it tells none of its own).
    screen().Monitors.clear();
    screen().MonitorDpi.clear();
    EnumDisplayMonitors(
        nullptr, nullptr,
        [](HMONITOR monitor, HDC, LPRECT r, LPARAM self) -> BOOL {
            auto& backend = *reinterpret_cast<Win32Backend*>(self);
            const PixelScale s = backend.Scale();
            backend.screen().Monitors.push_back({s.ToTwipsX(r->left), s.ToTwipsY(r->top),
                                                 s.ToTwipsX(r->right - r->left),
                                                 s.ToTwipsY(r->bottom - r->top)});
            const UINT dpi = MonitorDpi(monitor);
            backend.screen().MonitorDpi.push_back(dpi > 0 ? dpi : backend.dpi_);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(this));
}

Win32Backend::~Win32Backend() {
    if (helperWindow_ != nullptr) DestroyWindow(helperWindow_);  // its timers go with it
    for (auto& [form, window] : windows_) window->Detach();
    windows_.clear();
    for (auto& [key, font] : fonts_) DeleteObject(font);
}

HFONT Win32Backend::Font(double points, bool bold, bool underline, int dpi) const {
    if (dpi <= 0) dpi = dpi_;
    LOGFONTW lf = messageFont_;
    lf.lfHeight = points > 0 ? -MulDiv(static_cast<int>(points * 100 + 0.5), dpi, 7200)
                             : MulDiv(lf.lfHeight, dpi, dpi_);
    lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    lf.lfUnderline = underline ? TRUE : FALSE;
    const FontKey key{lf.lfHeight, bold, underline};
    auto it = fonts_.find(key);
    if (it != fonts_.end()) return it->second;
    HFONT font = CreateFontIndirectW(&lf);
    fonts_.emplace(key, font);
    return font;
}

HCURSOR Win32Backend::Cursor() const { return LoadCursorW(nullptr, CursorFor(screen().MousePointer)); }

FormWindow* Win32Backend::WindowOf(const Form& form) const {
    auto it = windows_.find(&form);
    return it == windows_.end() ? nullptr : it->second;
}

HWND Win32Backend::HandleOf(std::int32_t hWnd) const {
    Form* form = FindForm(hWnd);
    FormWindow* window = form != nullptr ? WindowOf(*form) : nullptr;
    return window != nullptr ? window->Handle() : nullptr;
}

Form* Win32Backend::FormAt(POINT screenPoint) const {
    HWND under = WindowFromPoint(screenPoint);
    if (under == nullptr) return nullptr;
    const HWND top = GetAncestor(under, GA_ROOT);
    for (const auto& entry : windows_) {
        Form* shown = entry.second->form();
        if (entry.second->Handle() == top && shown != nullptr && shown->Loaded()) return shown;
    }
    return nullptr;
}

HWND Win32Backend::HelperWindow() {
    if (helperWindow_ != nullptr) return helperWindow_;
    const wchar_t* name = L"TavrolinHelper";
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = TimerWindowProc;
    wc.hInstance = instance_;
    wc.lpszClassName = name;
    RegisterClassExW(&wc);  // once a process: a second backend finds it there
    helperWindow_ =
        CreateWindowExW(0, name, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance_, nullptr);
    if (helperWindow_ != nullptr) {
        SetWindowLongPtrW(helperWindow_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    return helperWindow_;
}

void Win32Backend::ArmTimer(int id, int milliseconds) {
    if (HWND w = HelperWindow()) {
        SetTimer(w, static_cast<UINT_PTR>(id), static_cast<UINT>(milliseconds), nullptr);
    }
}

void Win32Backend::DisarmTimer(int id) {
    // A tick already queued goes with it; one that slipped through is ignored as stopped.
    if (helperWindow_ != nullptr) KillTimer(helperWindow_, static_cast<UINT_PTR>(id));
}

LRESULT CALLBACK Win32Backend::TimerWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_TIMER) {
        auto* self = reinterpret_cast<Win32Backend*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (self != nullptr) self->TimerFired(static_cast<int>(wParam));
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

void Win32Backend::WindowCreated(Form& form) {
    if (WindowOf(form) != nullptr) return;
    windows_[&form] = new FormWindow(*this, form);
}

void Win32Backend::WindowDestroyed(Form& form) {
    auto it = windows_.find(&form);
    if (it == windows_.end()) return;
    FormWindow* window = it->second;
    windows_.erase(it);
    window->Detach();
}

void Win32Backend::Sync() {
    SyncForms(
        [this](Form& form) {
            FormWindow* window = WindowOf(form);
            if (window != nullptr && (form.DirtyFlags() != 0 || window->HasPendingFocus())) {
                window->ShowModel();
            }
        },
        [this] { ApplyPointer(); });
}

void Win32Backend::ApplyPointer() {
    const int want = screen().MousePointer;
    if (want == appliedPointer_) return;
    appliedPointer_ = want;
    // During a drag the window under the pointer is not asked for its cursor: set it now.
    SetCursor(Cursor());
}

void Win32Backend::Flush() {
    Sync();
    // Only the windows with something to paint: asking each window costs a trip to the
    // window server.
    for (auto& [form, window] : windows_) window->PaintPending();
    GdiFlush();
}

bool Win32Backend::PumpOne(bool wait) {
    MSG msg;
    if (wait) {
        if (GetMessageW(&msg, nullptr, 0, 0) <= 0) {
            quitRequested_ = true;
            return false;
        }
    } else if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        return false;
    } else if (msg.message == WM_QUIT) {
        quitRequested_ = true;
        return false;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    return true;
}

void Win32Backend::DoEvents() {
    Sync();
    while (!quitRequested_ && PumpOne(false)) {
    }
    Flush();
}

void Win32Backend::ShowChanges() {
    // While more input waits, its painting waits with it, as the system's WM_PAINT would:
    // a fast drag paints its last place rather than each place it passed.
    if (HIWORD(GetQueueStatus(QS_INPUT)) != 0) {
        Sync();
    } else {
        Flush();
    }
}

void Win32Backend::Run(const std::function<bool()>& running) {
    while (!quitRequested_ && running()) {
        ShowChanges();
        if (!PumpOne(true)) break;
    }
}

void Win32Backend::PlaceDialog(Form& form) {
    if (DialogHasPlace(form)) return;
    const PixelScale s = Scale();
    std::vector<ScreenRect> areas;
    EnumDisplayMonitors(
        nullptr, nullptr,
        [](HMONITOR monitor, HDC, LPRECT, LPARAM out) -> BOOL {
            MONITORINFO info{};
            info.cbSize = sizeof info;
            if (GetMonitorInfoW(monitor, &info)) {
                const RECT& r = info.rcWork;
                reinterpret_cast<std::vector<ScreenRect>*>(out)->push_back(
                    {static_cast<double>(r.left), static_cast<double>(r.top),
                     static_cast<double>(r.right - r.left), static_cast<double>(r.bottom - r.top)});
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&areas));
    // Over the captioned window it was asked from; a borderless one (the ruler, a crosshair)
    // only tells the monitor, through the pointer that double-clicked it.
    ScreenRect over{};
    bool captioned = false;
    HWND active = GetActiveWindow();
    if (active != nullptr && active != HandleOf(form.hWnd()) &&
        (GetWindowLongPtrW(active, GWL_STYLE) & WS_CAPTION) == WS_CAPTION) {
        RECT r{};
        GetWindowRect(active, &r);
        over = {static_cast<double>(r.left), static_cast<double>(r.top),
                static_cast<double>(r.right - r.left), static_cast<double>(r.bottom - r.top)};
        captioned = true;
    }
    POINT pointer{};
    GetCursorPos(&pointer);
    // The dialog's outer size: its form gives the client area.
    RECT outer{0, 0, s.ToPixelsX(form.Width()), s.ToPixelsY(form.Height())};
    if (HWND h = HandleOf(form.hWnd())) {
        AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongPtrW(h, GWL_STYLE)), FALSE,
                           static_cast<DWORD>(GetWindowLongPtrW(h, GWL_EXSTYLE)));
    }
    PlaceDialogAt(form, outer.right - outer.left, outer.bottom - outer.top,
                  captioned ? &over : nullptr, pointer.x, pointer.y, areas);
}

void Win32Backend::RunModal(Form& form) {
    FormWindow* window = WindowOf(form);
    if (window == nullptr || !form.Loaded() || !form.Visible()) return;
    PlaceDialog(form);
    // The other windows take no input while the dialog is up, as with any modal dialog.
    std::vector<HWND> disabled;
    for (auto& [other, w] : windows_) {
        if (w == window || !IsWindowEnabled(w->Handle())) continue;
        EnableWindow(w->Handle(), FALSE);
        disabled.push_back(w->Handle());
    }
    modal_.push_back(&form);
    // Above the program's own topmost windows while it is up: a ruler lying across the
    // screen's middle would hide its buttons, and they are the way out.
    const HWND dialog = window->Handle();
    const UINT keep = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    SetWindowPos(dialog, HWND_TOPMOST, 0, 0, 0, 0, keep);
    ShowChanges();
    SetWindowPos(dialog, HWND_TOPMOST, 0, 0, 0, 0, keep);  // shown: the top of the band
    while (form.Loaded() && form.Visible() && !quitRequested_) {
        if (!PumpOne(true)) break;
        ShowChanges();
    }
    modal_.pop_back();
    if (IsWindow(dialog) && !Topmost(form.hWnd())) {
        SetWindowPos(dialog, HWND_NOTOPMOST, 0, 0, 0, 0, keep);
    }
    for (HWND h : disabled) {
        if (IsWindow(h)) EnableWindow(h, TRUE);
    }
    if (quitRequested_) PostQuitMessage(0);  // the outer loop ends too
}

void Win32Backend::AsModal(HWND owner, const std::function<void()>& dialog) {
    // The dialog disables its owner itself and gives it the activation back as it closes; a
    // disabled owner would leave the activation to another program's window.
    std::vector<HWND> disabled;
    for (auto& [form, w] : windows_) {
        HWND h = w->Handle();
        if (h == nullptr || h == owner || !IsWindowEnabled(h)) continue;
        EnableWindow(h, FALSE);
        disabled.push_back(h);
    }
    dialog();
    for (HWND h : disabled) {
        if (IsWindow(h)) EnableWindow(h, TRUE);
    }
}

void Win32Backend::SetFocus(Form& form, Control* control) {
    if (ReportingFocus()) return;
    if (FormWindow* window = WindowOf(form)) window->RequestFocus(control);
}

double Win32Backend::TextWidth(const Form& /*form*/, const std::string& text) const {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, Font());
    LONG widest = 0;
    for (const std::wstring& line : LinesOf(text)) {
        SIZE size{};
        GetTextExtentPoint32W(dc, line.c_str(), static_cast<int>(line.size()), &size);
        widest = std::max(widest, size.cx);
    }
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return Scale().ToTwipsX(widest);
}

double Win32Backend::TextHeight(const Form& /*form*/, const std::string& text) const {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, Font());
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return Scale().ToTwipsY(static_cast<double>(tm.tmHeight) *
                            static_cast<double>(LinesOf(text).size()));
}

void Win32Backend::Quit() {
    quitRequested_ = true;
    PostQuitMessage(0);
}

ScreenPixels Win32Backend::ReadScreen(int left, int top, int width, int height) {
    ScreenPixels pixels(left, top, width, height);
    if (pixels.width == 0 || pixels.height == 0) return pixels;
    const RECT wanted{left, top, left + pixels.width, top + pixels.height};
    // The parts of the rectangle that some monitor shows; the rest stays 0.
    struct Parts {
        RECT wanted;
        std::vector<RECT> shown;
    } parts{wanted, {}};
    EnumDisplayMonitors(
        nullptr, &wanted,
        [](HMONITOR, HDC, LPRECT monitor, LPARAM out) -> BOOL {
            auto& found = *reinterpret_cast<Parts*>(out);
            RECT part{};
            if (IntersectRect(&part, monitor, &found.wanted)) found.shown.push_back(part);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&parts));
    pixels.rgb.assign(
        static_cast<std::size_t>(pixels.width) * static_cast<std::size_t>(pixels.height), 0);
    if (parts.shown.empty()) return pixels;
    // The screen's device context has its origin at the primary monitor's top left corner and
    // takes virtual-screen coordinates (negative left of or above the primary monitor). The
    // program is per-monitor DPI aware (its manifest), so they are physical pixels on every
    // monitor: the system neither scales the coordinates nor stretches the pixels.
    HDC screenDc = GetDC(nullptr);
    if (screenDc == nullptr) {
        pixels.rgb.clear();
        pixels.problem = "Windows did not give Tavrolin the screen to read.";
        return pixels;
    }
    Dib copy(screenDc, pixels.width, pixels.height);
    // Each monitor's part on its own: a source reaching beyond the screen is not copied
    // faithfully everywhere (under Wine none of it arrives). CAPTUREBLT: layered (translucent)
    // windows are part of what the screen shows.
    bool read = copy.Ok();
    for (const RECT& part : parts.shown) {
        read = read && BitBlt(copy.Dc(), part.left - left, part.top - top, part.right - part.left,
                              part.bottom - part.top, screenDc, part.left, part.top,
                              SRCCOPY | CAPTUREBLT) != FALSE;
    }
    ReleaseDC(nullptr, screenDc);
    if (!read) {
        pixels.rgb.clear();
        pixels.problem = "Windows refused to let Tavrolin read the screen.";
        return pixels;
    }
    GdiFlush();  // the system has written the pixels before they are read
    for (const RECT& part : parts.shown) {
        for (LONG y = part.top; y < part.bottom; ++y) {
            const std::size_t row =
                static_cast<std::size_t>(y - top) * static_cast<std::size_t>(pixels.width);
            const std::uint32_t* from = copy.Bits() + row;
            std::uint32_t* to = pixels.rgb.data() + row;
            // The bitmap's bytes are blue, green, red, unused: 0x00RRGGBB as a 32-bit word.
            for (LONG x = part.left - left; x < part.right - left; ++x) to[x] = from[x] & 0xFFFFFFu;
        }
    }
    return pixels;
}

void Win32Backend::EndProgram() {
    if (ending_) return;
    ending_ = true;
    if (onEndProgram) onEndProgram();
    ending_ = false;
}

}  // namespace tavrolin::win32
