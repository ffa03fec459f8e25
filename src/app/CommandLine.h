// The program's arguments: the options a user may give at a terminal, the instance argument
// that is left, and the texts every entry point prints (help, usage, the start-up trace).
#pragma once

#include <string>
#include <vector>

namespace tavrolin {

struct CommandLineRequest {
    enum class Action {
        Run,      // start, on the instance argument `instance`
        Help,     // print HelpText and end
        Version,  // print the version and end
        Refuse,   // print `problem` and the usage on standard error, end with status 2
    };
    Action action = Action::Run;
    std::string instance;       // the words left for the instance argument, joined by blanks
    std::string snapshotPath;   // --snapshot FILE.png: set when the program is to take a picture
    bool traceStartup = false;  // --trace-startup: report the first paint of the ruler
    std::string problem;        // for Refuse: one line saying what was wrong
};

// An argument that starts with "--" and is no known option is refused rather than taken for an
// instance name; after "--" every word is an instance word, so that an instance may still be
// named "--x". Words that start with a single "-" (other than -h) are instance words.
CommandLineRequest ParseCommandLine(const std::vector<std::string>& args);

// The program's version, "1.0.0", as --version prints it.
const char* VersionNumber();

// The usage lines, ending in a line feed.
std::string UsageText();
// What differs in the help between the systems the program is built for.
struct HelpSystem {
    std::string userFolder = "~/.config/tavrolin/";  // where settings go for an installed
                                                     // program or an unwritable folder
    std::string snapshotNote = "works on a virtual display (Xvfb)";
};

// What a user needs at a terminal. `manual` is where the manual was found (empty: not found).
std::string HelpText(const std::string& manual, const HelpSystem& system = {});

// The line --trace-startup prints once the form `formName` has first been painted; the times
// are seconds on one clock: the process's start, the entry of main and the end of the paint.
std::string StartupTraceText(const std::string& formName, double exec, double main,
                             double painted);

}  // namespace tavrolin
