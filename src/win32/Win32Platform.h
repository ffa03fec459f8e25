// The window services' calls as the real Windows calls, made on the real windows of the forms
// with exactly the parameters the program passes; the screen, clock and folders of this
// machine. Files come from Platform itself.
#pragma once

#include "platform/Platform.h"

namespace tavrolin::win32 {

class Win32Backend;

class Win32Platform : public Platform {
public:
    explicit Win32Platform(Win32Backend& backend) : backend_(backend) {}

    std::int32_t SetWindowPos(std::int32_t hWnd, std::int32_t hWndInsertAfter, std::int32_t x,
                              std::int32_t y, std::int32_t cx, std::int32_t cy,
                              std::int32_t wFlags) override;
    std::int32_t GetSystemMetrics(std::int32_t nIndex) override;
    std::int32_t GetDesktopWindow() override;
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

private:
    Win32Backend& backend_;
};

}  // namespace tavrolin::win32
