// The Windows program: reads its arguments, wires the Win32 backend to the program and runs the
// message loop until the control window has gone. Every way out saves as the Exit button does.
// The program's own headers first: <windows.h> defines macros (RGB) that the core's names share.
#include "app/CommandLine.h"
#include "app/Program.h"
#include "control/FieldRules.h"
#include "ruler/Ruler.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <shellapi.h>

#include <iterator>
#include <string>
#include <vector>

#include "win32/Snapshot.h"
#include "win32/Win32Backend.h"
#include "win32/Win32Platform.h"

namespace {

using tavrolin::win32::Utf8;
using tavrolin::win32::Wide;

// A standard handle that the starter named but did not hand to this process is only a number,
// which a file opened later may receive: messages for the console would then go into that file.
// Such a handle is forgotten before anything is opened. (The C runtime checks its own streams
// as it starts.)
void ForgetInvalidStandardHandles() {
    for (const DWORD which : {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE}) {
        const HANDLE h = GetStdHandle(which);
        if (h == nullptr || h == INVALID_HANDLE_VALUE) continue;
        if (GetFileType(h) == FILE_TYPE_UNKNOWN && GetLastError() != NO_ERROR) {
            SetStdHandle(which, nullptr);
        }
    }
}

// A window program has no console of its own: the text goes where its output is sent, else to
// the console it was started from; false when there is neither.
bool WriteToConsole(const std::string& text, bool error) {
    HANDLE out = GetStdHandle(error ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    DWORD written = 0;
    if (out != nullptr && out != INVALID_HANDLE_VALUE && GetFileType(out) != FILE_TYPE_UNKNOWN &&
        WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr)) {
        return true;
    }
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) return false;
    bool done = false;
    HANDLE console = CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_WRITE, nullptr,
                                 OPEN_EXISTING, 0, nullptr);
    if (console != INVALID_HANDLE_VALUE) {
        const std::wstring wide = Wide(text);
        done = WriteConsoleW(console, wide.c_str(), static_cast<DWORD>(wide.size()), &written,
                             nullptr) != FALSE;
        CloseHandle(console);
    }
    FreeConsole();
    return done;
}

// What the user asked for at a terminal; with no console to show it, a message box.
void Say(const std::string& text, bool error = false) {
    if (WriteToConsole(text, error)) return;
    MessageBoxW(nullptr, Wide(text).c_str(), L"Tavrolin",
                MB_OK | (error ? MB_ICONERROR : MB_ICONINFORMATION));
}

std::vector<std::string> Arguments() {
    std::vector<std::string> args;
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argv == nullptr) return args;
    for (int i = 1; i < argc; ++i) args.push_back(Utf8(argv[i]));
    LocalFree(argv);
    return args;
}

// Windows' own line ends for the console and the message box.
std::string CrLf(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n' && (out.empty() || out.back() != '\r')) out += '\r';
        out += c;
    }
    return out;
}

// The manual the help names: beside the program, where the About page looks too.
std::string ManualForHelp() {
    wchar_t path[MAX_PATH * 4];
    const DWORD n = GetModuleFileNameW(nullptr, path, static_cast<DWORD>(std::size(path)));
    if (n == 0 || n >= std::size(path)) return {};
    std::wstring folder(path, n);
    folder.resize(folder.find_last_of(L"\\/"));
    return tavrolin::FindManual(Utf8(folder.c_str()), [](const std::string& file) {
        const DWORD attributes = GetFileAttributesW(Wide(file).c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
    });
}

std::wstring FullPath(const std::string& path) {
    const std::wstring wide = Wide(path);
    const DWORD n = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (n == 0) return wide;
    std::wstring full(n, L'\0');
    const DWORD got = GetFullPathNameW(wide.c_str(), n, full.data(), nullptr);
    full.resize(got);
    return full;
}

// Lets the windows show and paint before the screen is grabbed.
void SettleWindows(tavrolin::win32::Win32Backend& backend) {
    const ULONGLONG until = GetTickCount64() + 300;
    while (GetTickCount64() < until) {
        backend.DoEvents();
        Sleep(10);
    }
}

// --trace-startup: the time from the process's creation to the end of the ruler's first paint,
// on the system's clock.
double Seconds(const FILETIME& t) {
    return static_cast<double>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime) *
           1e-7;
}

double Now() {
    FILETIME t{};
    GetSystemTimePreciseAsFileTime(&t);
    return Seconds(t);
}

struct StartupTrace {
    double exec = 0;
    double main = 0;
};

// The first time the ruler's window is painted, whether the system asked for it or a change
// was painted at once, the line is written.
void TraceFirstPaint(tavrolin::win32::Win32Backend& backend, HWND ruler, StartupTrace& trace) {
    FILETIME created{}, exited{}, kernel{}, user{};
    trace.exec = GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)
                     ? Seconds(created)
                     : trace.main;
    if (ruler == nullptr) return;
    backend.onPainted = [&backend, ruler, &trace](HWND painted) {
        if (painted != ruler) return;
        GdiFlush();  // the paint has been handed to the system
        WriteToConsole(CrLf(tavrolin::StartupTraceText("Ruler", trace.exec, trace.main, Now())),
                       true);
        backend.onPainted = nullptr;
    };
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    ForgetInvalidStandardHandles();
    StartupTrace trace;
    trace.main = Now();
    const tavrolin::CommandLineRequest request = tavrolin::ParseCommandLine(Arguments());
    switch (request.action) {
        case tavrolin::CommandLineRequest::Action::Version:
            Say(std::string("tavrolin ") + tavrolin::VersionNumber() + "\r\n");
            return 0;
        case tavrolin::CommandLineRequest::Action::Help:
            Say(CrLf(tavrolin::HelpText(
                ManualForHelp(), {.userFolder = "%APPDATA%\\Tavrolin\\", .snapshotNote = ""})));
            return 0;
        case tavrolin::CommandLineRequest::Action::Refuse:
            Say(CrLf("tavrolin: " + request.problem + "\n" + tavrolin::UsageText()), true);
            return 2;
        case tavrolin::CommandLineRequest::Action::Run:
            break;
    }
    const std::string& snapshotPath = request.snapshotPath;

    tavrolin::win32::Win32Backend backend(instance);
    tavrolin::win32::Win32Platform platform(backend);
    tavrolin::Program program(backend, platform, request.instance);
    auto exitProgram = [&program] {
        if (program.Running()) program.Exit();
    };
    // The session's end, a close request from outside: save as the Exit button does.
    backend.onEndProgram = exitProgram;

    program.Start();
    // Before the windows are shown: nothing has been painted yet.
    if (request.traceStartup) {
        TraceFirstPaint(backend, backend.HandleOf(program.ruler().hWnd()), trace);
    }
    backend.Sync();

    if (!snapshotPath.empty()) {
        SettleWindows(backend);
        const std::wstring path = FullPath(snapshotPath);
        const bool written = tavrolin::win32::WriteSnapshot(backend, platform, Utf8(path.c_str()));
        exitProgram();
        if (!written) {
            Say("tavrolin: cannot write " + Utf8(path.c_str()) + "\r\n", true);
            return 1;
        }
        Say(Utf8(path.c_str()) + "\r\n");
        return 0;
    }

    backend.Run([&program] { return program.Running(); });
    // The loop ended without the control window unloading: save all the same.
    exitProgram();
    return 0;
}
