// What the program asks of the machine: the window system's calls behind the window services,
// the screen's size, sleeping, today's date, the program's folders and files. Tests put a
// recording implementation in its place.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace tavrolin {

struct Date {
    int year = 0;
    int month = 0;
    int day = 0;
    friend bool operator==(const Date&, const Date&) = default;
};

// A moment of the local clock, to the second.
struct LocalTime {
    Date date;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// Days from `from` to `to` (negative when `to` is earlier); invalid dates are normalised the way
// a calendar adds overflowing days and months.
long DaysBetween(const Date& from, const Date& to);

// What is found at a path without opening it.
struct FileFacts {
    bool exists = false;    // anything at all, a dangling link included
    bool regular = false;   // a regular file, through a link the user made
    bool readable = false;
    bool writable = false;  // may be replaced: writable, and not made read-only by its mode
    bool link = false;      // the name itself is a symbolic link
    bool foreignLink = false;  // a link another user made: never written through
    bool unfollowed = false;   // a link of a system whose links are never followed, whoever made it
    bool loop = false;      // the name or its folder is a chain of links that never ends
};

// What AppendToLog did.
enum class AppendResult {
    Appended,
    Created,  // the file was new: the header and the text
    Refused,  // something is at the name that is not such a log: a link, a FIFO, another
              // program's or another user's file, a file of several links
    Failed,   // it could not be written (no room, no right to the folder)
};

enum class LockState {
    Taken,     // this platform holds the lock now, with the content asked for in it
    Held,      // a running program holds it, or the name is not a lock file this user may use
    Unprobed,  // a lock file of this user's is there, but the file system keeps no locks: only
               // its content can tell whether a running program wrote it
    Refused,   // the folder would not create the file
};

struct LockResult {
    LockState state = LockState::Refused;
    bool created = false;  // this platform created the file, exclusively
};

class Platform {
public:
    Platform() = default;
    // The held locks are this object's alone.
    Platform(const Platform&) = delete;
    Platform& operator=(const Platform&) = delete;
    virtual ~Platform();

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
    // The clipboard holds `text` (plain text) from now on; false when it would not take it.
    virtual bool SetClipboardText(const std::string& text);
    // The decimal separator of the user's language ('.' or ','), as a spreadsheet of that
    // language reads numbers.
    virtual char DecimalSeparator();
    // Asks the user where to save a file, in the window system's own dialog: `title` its
    // caption, `suggested` the path it proposes, `filterName` and `extension` (such as "CSV
    // files" and "csv") the files it lists. The dialog asks before an existing file is
    // replaced. Empty when the user cancelled.
    virtual std::string AskSavePath(const std::string& title, const std::string& suggested,
                                    const std::string& filterName, const std::string& extension);

    virtual Date Today() = 0;
    virtual LocalTime Now() = 0;
    // The folder of the executable, without a trailing separator.
    virtual std::string ProgramFolder() = 0;
    // The per-user folder for settings when the program folder cannot be written or is a
    // system folder; empty when the user has no usable home folder.
    virtual std::string UserConfigFolder() = 0;
    // True for a folder that programs are installed in (and that settings never go to, even
    // where they could be written, as by root or an administrator).
    virtual bool IsSystemFolder(const std::string& folder);

    // Files. The default implementations use the real file system; paths are UTF-8. Nothing
    // here follows a link it may not, or opens anything that could block (a FIFO, a device).
    virtual char PathSeparator() const;
    std::string Join(const std::string& folder, const std::string& name) const;
    // The file's modification time as seconds since the epoch; nothing when it cannot be read.
    virtual std::optional<std::int64_t> ModificationTime(const std::string& path);
    virtual bool IsDirectory(const std::string& path);
    // The content of a regular file (through a link); nothing for anything else.
    virtual std::optional<std::string> ReadFile(const std::string& path,
                                                std::size_t maxBytes = 1 << 20);
    // What is at `path`, found without opening it.
    virtual FileFacts Inspect(const std::string& path);
    // Replaces the file so that a crash leaves the old or the new content, never a torn file:
    // a new temporary file in the same folder, flushed to disk, renamed over the old one. The
    // file keeps its owner where that can be kept and otherwise its group, its mode, access
    // control list and extended attributes; a file whose group or access list the new one
    // could not keep is written in place instead. A link the user made stays a link, its
    // target replaced; a file of several hard links is replaced at this name only.
    virtual bool WriteFileAtomic(const std::string& path, const std::string& content);
    // Puts a new file at `path` through a temporary file and a rename: whatever is at the name
    // (a link, a file, a FIFO) is replaced, never followed or opened. For files the user names
    // on the command line, such as a picture.
    // (Not "ReplaceFile": Windows' headers make that name a macro.)
    virtual bool PutNewFile(const std::string& path, const std::string& content);
    // Adds `text` at the end of a log file that only grows: a new file is created with `header`
    // before the text; an existing one is written only when it is a regular file of this user's
    // with a single link, reached without a link, whose content begins with `header` (so a
    // file another program wrote is never written into), and never opened in a way that could
    // block. Nothing is truncated or rewritten, and the text has reached the system when the
    // call returns, so a killed program loses none of it.
    virtual AppendResult AppendToLog(const std::string& path, const std::string& header,
                                     const std::string& text);
    // Gives the file at `path` the name `to` in the same folder: the name itself moves (a link
    // is not followed), and nothing already at `to` is replaced. False when something is there
    // or the file could not be renamed.
    virtual bool RenameAside(const std::string& path, const std::string& to);
    // True when files may be created in the folder; nothing is created to find out.
    virtual bool FolderWritable(const std::string& folder);
    virtual bool MakeFolders(const std::string& folder);

    // Lock files. A lock is held by keeping its file open for the whole run; a file that no
    // running program holds is free whatever it says. A lock is only created exclusively, its
    // content in it from the moment its name appears, or taken over while nobody holds it; a
    // file that is not a regular file of this user's with a single link is never written.
    // Only this platform's own locks are released; the rest are let go (not removed) when the
    // platform goes, as when killed.
    virtual LockResult TakeLock(const std::string& path, const std::string& content);
    // After `Unprobed`: replaces the lock file the caller judged left behind with a new one
    // holding `content`, provided the file at `path` is still the one judged; otherwise Held.
    virtual LockResult TakeOverLock(const std::string& path, const std::string& content);
    // Lets a held lock go (or the file an `Unprobed` answer kept open); with `remove` its file
    // goes first, while it is still held, if it is still this platform's file.
    virtual void ReleaseLock(const std::string& path, bool remove);

private:
    void ReleaseAllLocks();
    // Open lock files by path: descriptors on POSIX, handles on Windows.
    std::map<std::string, std::intptr_t> locks_;
};

}  // namespace tavrolin
