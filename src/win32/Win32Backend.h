// The forms model shown with the Windows API alone: one real top-level window per loaded form,
// input delivered into the model, the model's changes applied to the windows after each event.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "forms/Backend.h"
#include "forms/PixelScale.h"
#include "platform/WideText.h"

namespace tavrolin::win32 {

class FormWindow;

using tavrolin::Utf8;
using tavrolin::Wide;

class Win32Backend : public Backend {
public:
    // Takes the twips per pixel from the screen's density; the process should be DPI aware.
    explicit Win32Backend(HINSTANCE instance);
    ~Win32Backend() override;

    void DoEvents() override;
    void Sync() override;
    void RunModal(Form& form) override;
    void SetFocus(Form& form, Control* control) override;
    double TextWidth(const Form& form, const std::string& text) const override;
    double TextHeight(const Form& form, const std::string& text) const override;
    void Quit() override;
    // What the screen's device context shows, monitor by monitor (our own windows included).
    ScreenPixels ReadScreen(int left, int top, int width, int height) override;
    void WindowCreated(Form& form) override;
    void WindowDestroyed(Form& form) override;
    void ArmTimer(int id, int milliseconds) override;
    void DisarmTimer(int id) override;

    PixelScale Scale() const { return {screen().TwipsPerPixelX, screen().TwipsPerPixelY}; }
    HINSTANCE Instance() const { return instance_; }
    // The virtual screen in pixels (its origin is negative with a monitor left of or above the
    // primary one), kept: asking the system costs trips to the window server in every paint.
    const RECT& Desktop() const { return desktop_; }
    // The monitors were added, removed or rearranged.
    void ReadScreens();
    bool QuitRequested() const { return quitRequested_; }
    // Sync and paint what changed now, without handling input (before a sleep).
    void Flush();
    // What the message loop does before it waits: the model's changes applied, and painted
    // unless more input waits.
    void ShowChanges();
    // Runs the message loop until Quit or until `running` says the program has ended. Each
    // event's changes are shown before the next event is taken.
    void Run(const std::function<bool()>& running);

    FormWindow* WindowOf(const Form& form) const;
    // The loaded form whose window (or a control of it) is at a point of the screen; null when
    // none of the program's windows is there.
    Form* FormAt(POINT screenPoint) const;
    // The real window of a model window handle; null when the form has no window.
    HWND HandleOf(std::int32_t hWnd) const;
    // The system's message font, and its variants for the controls, at a monitor's density
    // (0: the system's).
    HFONT Font(double points = 0, bool bold = false, bool underline = false, int dpi = 0) const;
    int Dpi() const { return dpi_; }
    HCURSOR Cursor() const;
    const std::wstring& ClassName() const { return className_; }
    // A message-only window of the program's own: the system's timers tick to it, and it owns
    // what the program puts on the clipboard. Null when the system made none.
    HWND HelperWindow();
    // Runs one of the system's own modal dialogs owned by `owner`: the program's other windows
    // take no input until it returns, as with the program's own dialogs.
    void AsModal(HWND owner, const std::function<void()>& dialog);

    // The user moved the focus: the model follows without the window being asked again.

    // The program's way out when the session ends or a close request reaches a window that
    // has no close box (taskkill sends one to every window); set by the entry point.
    std::function<void()> onEndProgram;
    void EndProgram();
    // Told of each window whose lines were painted.
    std::function<void(HWND)> onPainted;

private:
    struct FontKey {
        int height;
        bool bold;
        bool underline;
        bool operator==(const FontKey&) const = default;
    };
    struct FontKeyHash {
        std::size_t operator()(const FontKey& k) const {
            return static_cast<std::size_t>(k.height) * 4 + (k.bold ? 2 : 0) + (k.underline ? 1 : 0);
        }
    };
    void ApplyPointer();
    static LRESULT CALLBACK TimerWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    bool PumpOne(bool wait);

    void PlaceDialog(Form& form);

    HINSTANCE instance_;
    std::wstring className_ = L"TavrolinForm";
    int dpi_ = 96;
    RECT desktop_{};
    LOGFONTW messageFont_{};
    mutable std::unordered_map<FontKey, HFONT, FontKeyHash> fonts_;
    std::unordered_map<const Form*, FormWindow*> windows_;
    std::vector<Form*> modal_;
    int appliedPointer_ = 0;
    bool quitRequested_ = false;
    bool ending_ = false;
    // The helper window, made when first needed.
    HWND helperWindow_ = nullptr;
};

}  // namespace tavrolin::win32
