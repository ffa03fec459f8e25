#include "app/CommandLine.h"

#include <cstdio>
#include <utility>

namespace tavrolin {

#define TAVROLIN_STR2(x) #x
#define TAVROLIN_STR(x) TAVROLIN_STR2(x)

const char* VersionNumber() {
    return TAVROLIN_STR(TAVROLIN_VERSION_MAJOR) "." TAVROLIN_STR(
        TAVROLIN_VERSION_MINOR) "." TAVROLIN_STR(TAVROLIN_VERSION_PATCH);
}

CommandLineRequest ParseCommandLine(const std::vector<std::string>& args) {
    CommandLineRequest request;
    auto refuse = [&request](std::string problem) {
        request.action = CommandLineRequest::Action::Refuse;
        request.problem = std::move(problem);
        return request;
    };
    std::vector<const std::string*> words;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (optionsEnded || a.rfind("--", 0) != 0) {
            if (!optionsEnded && a == "-h") {
                request.action = CommandLineRequest::Action::Help;
                return request;
            }
            words.push_back(&a);
        } else if (a == "--") {
            optionsEnded = true;
        } else if (a == "--help") {
            request.action = CommandLineRequest::Action::Help;
            return request;
        } else if (a == "--version") {
            request.action = CommandLineRequest::Action::Version;
            return request;
        } else if (a == "--trace-startup") {
            request.traceStartup = true;
        } else if (a == "--snapshot") {
            if (i + 1 >= args.size() || args[i + 1].empty()) return refuse("--snapshot needs a file name");
            request.snapshotPath = args[++i];
        } else {
            return refuse("unknown option " + a);
        }
    }
    for (const std::string* w : words) {
        if (!request.instance.empty()) request.instance += ' ';
        request.instance += *w;
    }
    return request;
}

std::string UsageText() {
    return "usage: tavrolin [INSTANCE]\n"
           "       tavrolin --snapshot FILE.png [INSTANCE]\n"
           "       tavrolin --version | --help\n";
}

std::string HelpText(const std::string& manual, const HelpSystem& system) {
    std::string text =
        "Tavrolin lays an on-screen ruler over whatever the screen shows.\n"
        "\n" +
        UsageText() +
        "\n"
        "It has two modes, switched on its control window (titled \"Tavrolin\"):\n"
        "  SEM Optimization Mode  a ruler of centre, primary, secondary and other ticks: a guide\n"
        "                         for adjusting focus and astigmatism equally on each side of\n"
        "                         the centre.\n"
        "  Measurement Mode       two markers on the ruler and two crosshairs measure distances\n"
        "                         in millimetres, inches, pixels or units calibrated on a scale\n"
        "                         bar in the image.\n"
        "\n"
        "INSTANCE, up to 4 characters, chooses the settings file: none gives Tavrolin.cfg,\n"
        "\"abcd\" gives TavrolinABCD.cfg. Another copy started while one runs takes Tavrolin1.cfg,\n"
        "then 2 up to 9; an eleventh runs without saving. The settings file lies beside the\n"
        "program, or in " +
        system.userFolder +
        " when the program is installed or its folder\n"
        "cannot be written; it is saved when Tavrolin ends.\n"
        "\n"
        "Options:\n"
        "  --snapshot FILE.png  start, write a picture of the desktop with Tavrolin's windows,\n"
        "                       end and save as usual" +
        (system.snapshotNote.empty() ? std::string() : "; " + system.snapshotNote) +
        "\n"
        "  --trace-startup      print the time from start to the first paint of the ruler\n"
        "  --version            print the version\n"
        "  -h, --help           print this help\n"
        "  --                   what follows is the instance argument, even if it starts\n"
        "                       with \"--\"\n"
        "\n";
    if (manual.empty()) {
        text += "The manual (docs/manual/index.html) was not found beside the program nor where an\n"
                "installation puts it (share/doc/tavrolin/manual/).\n";
    } else {
        text += "The manual: " + manual + "\n";
    }
    return text;
}

std::string StartupTraceText(const std::string& formName, double exec, double main,
                             double painted) {
    char line[160];
    std::snprintf(line, sizeof line,
                  " %.1f ms after exec (%.1f ms before main, %.1f ms from main)\n",
                  (painted - exec) * 1e3, (main - exec) * 1e3, (painted - main) * 1e3);
    return "tavrolin: startup: first paint of " + formName + line;
}

}  // namespace tavrolin
