// The Windows program: reads its arguments, wires the Win32 backend to the program and runs the
// message loop until the control window has gone. Every way out saves as the Exit button does.
// The program's own headers first: <windows.h> defines macros (RGB) that the core's names share.
#include "app/Program.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "win32/Snapshot.h"
#include "win32/Win32Backend.h"
#include "win32/Win32Platform.h"

namespace {

#define TAVROLIN_STR2(x) #x
#define TAVROLIN_STR(x) TAVROLIN_STR2(x)
constexpr const char* kVersion = TAVROLIN_STR(TAVROLIN_VERSION_MAJOR) "." TAVROLIN_STR(
    TAVROLIN_VERSION_MINOR) "." TAVROLIN_STR(TAVROLIN_VERSION_PATCH);

constexpr const char* kUsage =
    "usage: tavrolin [INSTANCE] | --snapshot FILE.png [INSTANCE] | --version | --help\r\n"
    "\r\n"
    "  INSTANCE             up to 4 characters choosing the settings file TavrolinXXXX.cfg\r\n"
    "  --snapshot FILE.png  start, write a picture of the screen, exit\r\n"
    "  --version            print the version\r\n"
    "  --help               print this help\r\n";

using tavrolin::win32::Utf8;
using tavrolin::win32::Wide;

// A window program has no console of its own: the text goes where its output is sent, else to
// the console it was started from, else into a message box.
void Say(const std::string& text, bool error = false) {
    HANDLE out = GetStdHandle(error ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    DWORD written = 0;
    if (out != nullptr && out != INVALID_HANDLE_VALUE && GetFileType(out) != FILE_TYPE_UNKNOWN &&
        WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr)) {
        return;
    }
    if (AttachConsole(ATTACH_PARENT_PROCESS)) {
        HANDLE console = CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_WRITE, nullptr,
                                     OPEN_EXISTING, 0, nullptr);
        if (console != INVALID_HANDLE_VALUE) {
            const std::wstring wide = Wide(text);
            WriteConsoleW(console, wide.c_str(), static_cast<DWORD>(wide.size()), &written, nullptr);
            CloseHandle(console);
            FreeConsole();
            return;
        }
        FreeConsole();
    }
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

std::string Join(const std::vector<std::string>& words, std::size_t from) {
    std::string out;
    for (std::size_t i = from; i < words.size(); ++i) {
        if (!out.empty()) out += ' ';
        out += words[i];
    }
    return out;
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

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    const std::vector<std::string> args = Arguments();
    std::string snapshotPath;
    std::size_t instanceFrom = 0;
    if (!args.empty()) {
        if (args[0] == "--version") {
            Say(std::string("tavrolin ") + kVersion + "\r\n");
            return 0;
        }
        if (args[0] == "--help" || args[0] == "-h" || args[0] == "/?") {
            Say(kUsage);
            return 0;
        }
        if (args[0] == "--snapshot") {
            if (args.size() < 2 || args[1].empty()) {
                Say(std::string("tavrolin: --snapshot needs a file name\r\n") + kUsage, true);
                return 2;
            }
            snapshotPath = args[1];
            instanceFrom = 2;
        }
    }

    tavrolin::win32::Win32Backend backend(instance);
    tavrolin::win32::Win32Platform platform(backend);
    tavrolin::Program program(backend, platform, Join(args, instanceFrom));
    auto exitProgram = [&program] {
        if (program.Running()) program.Exit();
    };
    // The session's end, a close request from outside: save as the Exit button does.
    backend.onEndProgram = exitProgram;

    program.Start();
    backend.Sync();

    if (!snapshotPath.empty()) {
        SettleWindows(backend);
        const std::wstring path = FullPath(snapshotPath);
        const bool written = tavrolin::win32::WriteSnapshot(path);
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
