// The backend without a display: the model is the whole truth. Tests drive input through the
// UserInput helpers, say what the user does in a modal dialog and paint what the screen shows.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "forms/Backend.h"

namespace tavrolin {

class HeadlessBackend : public Backend {
public:
    // Text metrics in pixels: a fixed advance per character and line height.
    static constexpr double kCharWidthPx = 7;
    static constexpr double kLineHeightPx = 16;

    void DoEvents() override;
    void Sync() override;
    void RunModal(Form& form) override;
    void SetFocus(Form& form, Control* control) override;
    double TextWidth(const Form& form, const std::string& text) const override;
    double TextHeight(const Form& form, const std::string& text) const override;
    void Quit() override { quitRequested_ = true; }
    void WindowCreated(Form&) override {}
    void WindowDestroyed(Form& form) override;
    // Serves the screen from screenPicture: what it paints where a monitor is (every pixel
    // when no monitor is known), 0 beyond every monitor; without a picture the screen cannot
    // be read.
    ScreenPixels ReadScreen(int left, int top, int width, int height) override;

    // What the user does while a modal form is up; without a script the dialog is closed
    // (hidden) at once.
    std::function<void(Form&)> modalScript;
    // What the screen shows beneath the program's windows at each desktop pixel, 0xRRGGBB.
    std::function<std::uint32_t(int x, int y)> screenPicture;

    // Each running timer's period passes once: its tick runs.
    void RunTimers();
    std::size_t TimerCount() const { return RunningTimers().size(); }
    // How often the screen was read.
    int ScreenReads() const { return screenReads_; }

    bool QuitRequested() const { return quitRequested_; }
    int DoEventsCount() const { return doEvents_; }
    int SyncCount() const { return syncs_; }
    Form* FocusForm() const { return focusForm_; }
    Control* FocusControl() const { return focusControl_; }

private:
    bool quitRequested_ = false;
    int doEvents_ = 0;
    int syncs_ = 0;
    int screenReads_ = 0;
    Form* focusForm_ = nullptr;
    Control* focusControl_ = nullptr;
};

}  // namespace tavrolin
