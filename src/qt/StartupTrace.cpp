#include "qt/StartupTrace.h"

#include <QApplication>
#include <QEvent>
#include <QObject>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <sstream>

#include <unistd.h>

#include "app/CommandLine.h"
#include "qt/FormWindow.h"

namespace tavrolin::qt {

namespace {

#ifdef __linux__
constexpr clockid_t kWallClock = CLOCK_BOOTTIME;  // the clock of the process start times
#else
constexpr clockid_t kWallClock = CLOCK_MONOTONIC;
#endif

double Seconds(clockid_t clock) {
    timespec ts{};
    clock_gettime(clock, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

// When the kernel started the process, on the boot-time clock. The kernel gives it in clock
// ticks (10 ms); below that, the time spent before main is the loader's and the libraries'
// start-up, which runs on the CPU, so the CPU time used by then fills in the fraction.
double ExecTime(double mainBoot, double cpuBeforeMain) {
#ifndef __linux__
    return mainBoot - cpuBeforeMain;
#else
    std::ifstream in("/proc/self/stat");
    std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::size_t close = stat.rfind(')');
    if (close == std::string::npos) return mainBoot - cpuBeforeMain;
    std::istringstream fields(stat.substr(close + 2));
    std::string field;
    // After the name come the state (field 3) ... the start time (field 22).
    for (int i = 3; i < 22 && fields >> field; ++i) {
    }
    unsigned long long ticks = 0;
    if (!(fields >> ticks)) return mainBoot - cpuBeforeMain;
    const double tick = 1.0 / static_cast<double>(sysconf(_SC_CLK_TCK));
    const double coarse = static_cast<double>(ticks) * tick;
    // The exec lies within one tick after the recorded start.
    return std::clamp(mainBoot - cpuBeforeMain, coarse, coarse + tick);
#endif
}

struct Trace {
    double mainBoot = 0;       // the wall clock at main
    double cpuBeforeMain = 0;  // process CPU time at main
    std::string formName;
    bool done = false;
};

Trace& TheTrace() {
    static Trace trace;
    return trace;
}

class FirstPaintWatcher : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* e) override {
        Trace& t = TheTrace();
        if (t.done || e->type() != QEvent::Paint) return false;
        auto* window = dynamic_cast<FormWindow*>(watched);
        if (window == nullptr || window->form() == nullptr || window->form()->Name() != t.formName) {
            return false;
        }
        t.done = true;
        // Reported once this paint has been handed to the display and the server has taken it.
        QMetaObject::invokeMethod(
            qApp,
            [this] {
                QGuiApplication::sync();
                Report();
                qApp->removeEventFilter(this);
                deleteLater();
            },
            Qt::QueuedConnection);
        return false;
    }

private:
    static void Report() {
        const Trace& t = TheTrace();
        const double now = Seconds(kWallClock);
        const double exec = ExecTime(t.mainBoot, t.cpuBeforeMain);
        std::fputs(StartupTraceText(t.formName, exec, t.mainBoot, now).c_str(), stderr);
        std::fflush(stderr);
    }
};

}  // namespace

void NoteMainReached() {
    Trace& t = TheTrace();
    t.mainBoot = Seconds(kWallClock);
    t.cpuBeforeMain = Seconds(CLOCK_PROCESS_CPUTIME_ID);
}

void TraceFirstPaint(const std::string& formName) {
    Trace& t = TheTrace();
    if (qApp == nullptr) return;
    t.formName = formName;
    qApp->installEventFilter(new FirstPaintWatcher);
}

}  // namespace tavrolin::qt
