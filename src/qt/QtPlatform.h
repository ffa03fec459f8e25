// The window-system calls behind the window services, made with Qt: the stay-on-top hint,
// window opacity, the desktop's default application, the clipboard and the save dialog; the
// screen, clock, language and folders of this machine. Files come from Platform itself.
#pragma once

#include <map>

#include "platform/Platform.h"

namespace tavrolin::qt {

class QtBackend;

class QtPlatform : public Platform {
public:
    explicit QtPlatform(QtBackend& backend) : backend_(backend) {}

    std::int32_t SetWindowPos(std::int32_t hWnd, std::int32_t hWndInsertAfter, std::int32_t x,
                              std::int32_t y, std::int32_t cx, std::int32_t cy,
                              std::int32_t wFlags) override;
    std::int32_t GetSystemMetrics(std::int32_t nIndex) override;
    std::int32_t GetDesktopWindow() override { return kDesktopWindow; }
    std::int32_t GetWindowLongA(std::int32_t hWnd, std::int32_t nIndex) override;
    std::int32_t SetWindowLongA(std::int32_t hWnd, std::int32_t nIndex,
                                std::int32_t dwNewLong) override;
    std::int32_t SetLayeredWindowAttributes(std::int32_t hWnd, std::int32_t crKey,
                                            std::uint8_t bAlpha, std::int32_t dwFlags) override;
    std::int32_t ShellExecuteA(std::int32_t hWnd, const std::string& lpOperation,
                               const std::string& lpFile, const std::string& lpParameters,
                               const std::string& lpDirectory, std::int32_t nShowCmd) override;
    void Sleep(std::int32_t milliseconds) override;
    bool SetClipboardText(const std::string& text) override;
    char DecimalSeparator() override;
    std::string AskSavePath(const std::string& title, const std::string& suggested,
                            const std::string& filterName, const std::string& extension) override;
    Date Today() override;
    LocalTime Now() override;
    std::string ProgramFolder() override;
    std::string UserConfigFolder() override;

    static constexpr std::int32_t kDesktopWindow = 0x10;
    // The shell's answers: above 32 is success.
    static constexpr std::int32_t kShellOpened = 42;
    static constexpr std::int32_t kShellFileNotFound = 2;

private:
    QtBackend& backend_;
    std::map<std::int32_t, std::int32_t> exStyle_;
};

}  // namespace tavrolin::qt
