// A platform for tests and headless runs: window-system calls are recorded (and their effect on
// window styles kept), the screen, today and the folders are whatever the test sets. Files are
// real, in the folders given.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace tavrolin {

class RecordingPlatform : public Platform {
public:
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
    bool SetClipboardText(const std::string& text) override {
        clipboard = text;
        return true;
    }
    char DecimalSeparator() override { return decimalSeparator; }
    std::string AskSavePath(const std::string& title, const std::string& suggested,
                            const std::string& filterName, const std::string& extension) override {
        askedSave.push_back(title + "|" + suggested + "|" + filterName + "|" + extension);
        return savePath;
    }
    Date Today() override { return today; }
    LocalTime Now() override { return now; }
    std::string ProgramFolder() override { return programFolder; }
    std::string UserConfigFolder() override { return userConfigFolder; }
    bool IsSystemFolder(const std::string& folder) override {
        return programFolderIsSystem && folder == programFolder;
    }
    bool FolderWritable(const std::string& folder) override {
        return !(programFolderReadOnly && folder == programFolder) &&
               Platform::FolderWritable(folder);
    }

    static constexpr std::int32_t kDesktopWindow = 0x10;

    // What the test sets.
    int virtualScreenWidthPx = 1920;
    int virtualScreenHeightPx = 1080;
    Date today{2026, 12, 8};
    LocalTime now{{2026, 12, 8}, 14, 5, 9};
    std::string programFolder;
    std::string userConfigFolder;
    // An installed program's folder, which the user may not write (root may write any).
    bool programFolderReadOnly = false;
    // A program installed in a system folder, which keeps its settings in the user's folder.
    bool programFolderIsSystem = false;
    // What ShellExecuteA returns: above 32 the document opened, 32 or less it did not.
    std::int32_t shellExecuteResult = 42;

    char decimalSeparator = '.';
    // What the save dialog answers: a path, or empty as when the user cancels.
    std::string savePath;
    // What the program did.
    std::vector<std::string> calls;  // e.g. "SetWindowPos(65552, -1, 0, 0, 0, 0, 3)"
    std::map<std::int32_t, std::int32_t> exStyle;
    std::map<std::int32_t, int> alpha;
    std::set<std::int32_t> topmost;
    std::vector<std::string> opened;
    std::vector<int> sleeps;
    std::string clipboard;
    std::vector<std::string> askedSave;  // "title|suggested|filter|extension"
    int CountCalls(const std::string& prefix) const;
};

}  // namespace tavrolin
