// What the program asks of the machine: the window system's calls behind the window services,
// the screen's size, sleeping, today's date, the program's folders and files. Tests put a
// recording implementation in its place.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tavrolin {

struct Date {
    int year = 0;
    int month = 0;
    int day = 0;
    friend bool operator==(const Date&, const Date&) = default;
};

// Days from `from` to `to` (negative when `to` is earlier); invalid dates are normalised the way
// a calendar adds overflowing days and months.
long DaysBetween(const Date& from, const Date& to);

class Platform {
public:
    virtual ~Platform() = default;

    // Window-system calls, with the parameters the window services pass.
    virtual std::int32_t SetWindowPos(std::int32_t hWnd, std::int32_t hWndInsertAfter,
                                      std::int32_t x, std::int32_t y, std::int32_t cx,
                                      std::int32_t cy, std::int32_t wFlags) = 0;
    // 78, 79: width and height of the virtual screen in pixels.
    virtual std::int32_t GetSystemMetrics(std::int32_t nIndex) = 0;
    virtual std::int32_t GetDesktopWindow() = 0;
    virtual std::int32_t GetWindowLongA(std::int32_t hWnd, std::int32_t nIndex) = 0;
    virtual std::int32_t SetWindowLongA(std::int32_t hWnd, std::int32_t nIndex,
                                        std::int32_t dwNewLong) = 0;
    virtual std::int32_t SetLayeredWindowAttributes(std::int32_t hWnd, std::int32_t crKey,
                                                    std::uint8_t bAlpha,
                                                    std::int32_t dwFlags) = 0;
    virtual std::int32_t ShellExecuteA(std::int32_t hWnd, const std::string& lpOperation,
                                       const std::string& lpFile,
                                       const std::string& lpParameters,
                                       const std::string& lpDirectory,
                                       std::int32_t nShowCmd) = 0;
    virtual void Sleep(std::int32_t milliseconds) = 0;

    virtual Date Today() = 0;
    // The folder of the executable, without a trailing separator.
    virtual std::string ProgramFolder() = 0;
    // The per-user folder for settings when the program folder cannot be written.
    virtual std::string UserConfigFolder() = 0;

    // Files. The default implementations use the real file system.
    virtual char PathSeparator() const;
    std::string Join(const std::string& folder, const std::string& name) const;
    // The file's modification time as seconds since the epoch; nothing when it cannot be read.
    virtual std::optional<std::int64_t> ModificationTime(const std::string& path);
    virtual bool IsDirectory(const std::string& path);
    virtual std::optional<std::string> ReadFile(const std::string& path,
                                                std::size_t maxBytes = 1 << 20);
    // Replaces the file so that a crash leaves the old or the new content, never a torn file:
    // write a temporary file in the same folder, flush it to disk, rename it over the old one.
    virtual bool WriteFileAtomic(const std::string& path, const std::string& content);
    // Creates the file only when it does not exist yet (the exclusive claim of a lock name).
    virtual bool CreateExclusive(const std::string& path, const std::string& content);
    virtual bool WriteFile(const std::string& path, const std::string& content);
    virtual bool DeleteFile(const std::string& path);
    virtual bool FolderWritable(const std::string& folder);
    virtual bool MakeFolders(const std::string& folder);
};

}  // namespace tavrolin
