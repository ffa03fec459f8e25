#include "win32/Win32Platform.h"

#include "win32/Win32Backend.h"

#include "forms/Form.h"

#include <commdlg.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>

namespace tavrolin::win32 {

namespace {

// The program names windows by the 32-bit handles of its forms; any other value is a real
// window handle (the desktop's), which Windows keeps within 32 bits.
HWND Real(const Win32Backend& backend, std::int32_t hWnd) {
    if (HWND h = backend.HandleOf(hWnd)) return h;
    return reinterpret_cast<HWND>(static_cast<std::intptr_t>(hWnd));
}

}  // namespace

std::int32_t Win32Platform::SetWindowPos(std::int32_t hWnd, std::int32_t hWndInsertAfter,
                                         std::int32_t x, std::int32_t y, std::int32_t cx,
                                         std::int32_t cy, std::int32_t wFlags) {
    // HWND_TOPMOST (-1) and HWND_NOTOPMOST (-2) are handle values of their own.
    HWND after = reinterpret_cast<HWND>(static_cast<std::intptr_t>(hWndInsertAfter));
    if (hWndInsertAfter > 0) after = Real(backend_, hWndInsertAfter);
    auto flags = static_cast<UINT>(wFlags);
    // Raised into the topmost band, a window that never takes the focus is not activated.
    const Form* form = backend_.FindForm(hWnd);
    if (form != nullptr && !form->TakesFocus()) flags |= SWP_NOACTIVATE;
    const BOOL done = ::SetWindowPos(Real(backend_, hWnd), after, x, y, cx, cy, flags);
    if (done && hWndInsertAfter == -1) backend_.MarkTopmost(hWnd, true);
    if (done && hWndInsertAfter == -2) backend_.MarkTopmost(hWnd, false);
    return done ? 1 : 0;
}

std::int32_t Win32Platform::GetSystemMetrics(std::int32_t nIndex) {
    return ::GetSystemMetrics(nIndex);
}

std::int32_t Win32Platform::GetDesktopWindow() {
    return static_cast<std::int32_t>(reinterpret_cast<std::intptr_t>(::GetDesktopWindow()));
}

std::int32_t Win32Platform::GetWindowLongA(std::int32_t hWnd, std::int32_t nIndex) {
    return ::GetWindowLongA(Real(backend_, hWnd), nIndex);
}

std::int32_t Win32Platform::SetWindowLongA(std::int32_t hWnd, std::int32_t nIndex,
                                           std::int32_t dwNewLong) {
    return ::SetWindowLongA(Real(backend_, hWnd), nIndex, dwNewLong);
}

std::int32_t Win32Platform::SetLayeredWindowAttributes(std::int32_t hWnd, std::int32_t crKey,
                                                       std::uint8_t bAlpha, std::int32_t dwFlags) {
    return ::SetLayeredWindowAttributes(Real(backend_, hWnd), static_cast<COLORREF>(crKey), bAlpha,
                                        static_cast<DWORD>(dwFlags));
}

std::int32_t Win32Platform::ShellExecuteA(std::int32_t hWnd, const std::string& lpOperation,
                                          const std::string& lpFile,
                                          const std::string& lpParameters,
                                          const std::string& lpDirectory, std::int32_t nShowCmd) {
    HINSTANCE result = ::ShellExecuteA(Real(backend_, hWnd), lpOperation.c_str(), lpFile.c_str(),
                                       lpParameters.c_str(), lpDirectory.c_str(), nShowCmd);
    return static_cast<std::int32_t>(reinterpret_cast<std::intptr_t>(result));
}

void Win32Platform::Sleep(std::int32_t milliseconds) {
    // What the handler changed is on screen during the wait (a marker's flash). Painting
    // reaches the screen when the thread next waits as a window thread does: Wine hands its
    // windows' pixels to the X server then, and a plain Sleep would leave them unshown until
    // after the wait. No message is taken from the queue meanwhile.
    backend_.Flush();
    const ULONGLONG until =
        GetTickCount64() + static_cast<ULONGLONG>(milliseconds > 0 ? milliseconds : 0);
    for (;;) {
        const ULONGLONG now = GetTickCount64();
        MsgWaitForMultipleObjectsEx(0, nullptr, now < until ? static_cast<DWORD>(until - now) : 0,
                                    0, 0);
        if (GetTickCount64() >= until) break;
    }
}

bool Win32Platform::SetClipboardText(const std::string& text) {
    // Lines of plain text end in CR LF on Windows, as the programs pasted into read them.
    std::string lines;
    lines.reserve(text.size() + text.size() / 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) lines += '\r';
        lines += text[i];
    }
    const std::wstring wide = Wide(lines);
    const SIZE_T bytes = (wide.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (memory == nullptr) return false;
    void* to = GlobalLock(memory);
    if (to == nullptr) {
        GlobalFree(memory);
        return false;
    }
    std::memcpy(to, wide.c_str(), bytes);
    GlobalUnlock(memory);
    // A window of the program's own opens the clipboard: opened with none, it would have no
    // owner once emptied, and would then take no data. Another program may hold it a moment.
    HWND owner = backend_.HelperWindow();
    bool open = false;
    for (int attempt = 0; attempt < 10 && owner != nullptr; ++attempt) {
        if ((open = OpenClipboard(owner) != FALSE)) break;
        ::Sleep(10);
    }
    if (!open) {
        GlobalFree(memory);
        return false;
    }
    const bool done = EmptyClipboard() && SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    CloseClipboard();
    if (!done) GlobalFree(memory);  // the system owns it only once it took it
    return done;
}

char Win32Platform::DecimalSeparator() {
    wchar_t separator[8]{};
    const int n = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, separator,
                                  static_cast<int>(std::size(separator)));
    return n > 0 && separator[0] == L',' ? ',' : '.';
}

std::string Win32Platform::AskSavePath(const std::string& title, const std::string& suggested,
                                       const std::string& filterName,
                                       const std::string& extension) {
    // Room for a long path; the dialog starts in the suggested file's folder.
    std::wstring file = Wide(suggested);
    file.resize(std::max<std::size_t>(file.size() + 1, 32768), L'\0');
    const std::wstring caption = Wide(title);
    const std::wstring ext = Wide(extension);
    // "CSV files (*.csv)", "*.csv": pairs of texts, each ended by a zero, the list by another.
    std::wstring filter = Wide(filterName) + L" (*." + ext + L")";
    filter.push_back(L'\0');
    filter += L"*." + ext;
    filter.push_back(L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = GetActiveWindow();
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrTitle = caption.empty() ? nullptr : caption.c_str();
    dialog.lpstrDefExt = ext.empty() ? nullptr : ext.c_str();
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_EXPLORER |
                   OFN_HIDEREADONLY;
    bool chosen = false;
    backend_.AsModal(dialog.hwndOwner, [&] { chosen = GetSaveFileNameW(&dialog) != FALSE; });
    if (!chosen) return {};
    return Utf8(file.c_str());
}

Date Win32Platform::Today() { return Now().date; }

LocalTime Win32Platform::Now() {
    SYSTEMTIME t{};
    GetLocalTime(&t);
    return LocalTime{Date{t.wYear, t.wMonth, t.wDay}, t.wHour, t.wMinute, t.wSecond};
}

std::string Win32Platform::ProgramFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return {};
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);  // a long path: ask again with room for it
    }
    const std::size_t cut = path.find_last_of(L"\\/");
    if (cut == std::wstring::npos) return {};
    path.resize(cut);
    // A program at a drive's root keeps no trailing separator either: "C:".
    return Utf8(path.c_str());
}

std::string Win32Platform::UserConfigFolder() {
    // Only an absolute folder: a relative one would put the settings wherever the program was
    // started from, and the program's own folder is the one that could not be used. Without
    // one the session runs unsaved.
    const DWORD n = GetEnvironmentVariableW(L"APPDATA", nullptr, 0);
    if (n == 0) return {};
    std::wstring appData(n, L'\0');
    const DWORD got = GetEnvironmentVariableW(L"APPDATA", appData.data(), n);
    if (got == 0 || got >= n) return {};
    appData.resize(got);
    const auto separator = [](wchar_t c) { return c == L'\\' || c == L'/'; };
    const bool drive = appData.size() >= 3 &&
                       ((appData[0] >= L'A' && appData[0] <= L'Z') ||
                        (appData[0] >= L'a' && appData[0] <= L'z')) &&
                       appData[1] == L':' && separator(appData[2]);
    const bool share = appData.size() >= 3 && separator(appData[0]) && separator(appData[1]) &&
                       !separator(appData[2]);
    if (!drive && !share) return {};
    while (appData.size() > 3 && separator(appData.back())) appData.pop_back();
    return Join(Utf8(appData.c_str()), "Tavrolin");
}

}  // namespace tavrolin::win32
