// The program: reads its arguments, sets Qt up for pixel-exact top-level windows, wires the Qt
// backend to the program and runs the event loop until the control window has gone.
#include <QApplication>
#include <QElapsedTimer>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <semaphore.h>
#include <unistd.h>

#include "app/CommandLine.h"
#include "app/Program.h"
#include "control/FieldRules.h"
#include "qt/QtBackend.h"
#include "qt/QtPlatform.h"
#include "qt/Snapshot.h"
#include "qt/StartupTrace.h"

#ifndef QT_NO_SESSIONMANAGER
#include <QSessionManager>
#endif
#ifdef TAVROLIN_SESSION_BUS
#include <QDBusConnection>
#endif
#ifdef TAVROLIN_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

namespace {

using namespace std::chrono_literals;

// A program started with a standard stream closed (`tavrolin 2>&-`) would give that number to
// the first file it opens, the display's connection, and its messages would go into it.
void OpenClosedStandardStreams() {
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
        const int opened = ::open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
        if (opened >= 0 && opened != fd) {
            ::dup2(opened, fd);
            ::close(opened);
        }
    }
}

// Where --help says the manual is: the search the About page makes, from the executable's folder.
std::string ManualForHelp() {
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return {};
    return tavrolin::FindManual(exe.parent_path().string(), [](const std::string& path) {
        std::error_code missing;
        return std::filesystem::is_regular_file(path, missing);
    });
}

// Qt cannot start without a display and would abort with a hint meant for a broken
// installation. While the application is made, its messages are held back: a fatal one ends
// the program with one line of its own (no lock has been claimed yet), the others are passed on
// once Qt has started.
struct HeldMessage {
    QtMsgType type;
    QString text;
};
QtMessageHandler qtHandler = nullptr;
std::vector<HeldMessage> heldMessages;

void HoldWhileStarting(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type != QtFatalMsg) {
        heldMessages.push_back({type, text});
        return;
    }
    const QByteArray display = qgetenv("DISPLAY");
    const bool wayland = !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    if (display.isEmpty() && !wayland) {
        std::fprintf(stderr,
                     "tavrolin: no display found (DISPLAY is not set); on a virtual display "
                     "(Xvfb), `tavrolin --snapshot FILE.png` writes a picture of Tavrolin's "
                     "windows\n");
    } else if (!display.isEmpty()) {
        std::fprintf(stderr,
                     "tavrolin: cannot open the display %s; on a virtual display (Xvfb), "
                     "`tavrolin --snapshot FILE.png` writes a picture of Tavrolin's windows\n",
                     display.constData());
    } else {
        std::fprintf(stderr, "tavrolin: cannot start on this desktop: %s\n",
                     text.toLocal8Bit().constData());
    }
    (void)context;
    std::fflush(stderr);
    std::_Exit(1);
}

// A display that takes the connection and never answers would hold Qt's start-up for ever. No
// lock has been claimed yet: past the deadline the program says which display and ends.
class StartupDeadline {
public:
    explicit StartupDeadline(std::chrono::seconds limit) {
        const QByteArray display = qgetenv("DISPLAY");
        const QByteArray wayland = qgetenv("WAYLAND_DISPLAY");
        message_ = "tavrolin: the display " +
                   (display.isEmpty() ? wayland.toStdString() : display.toStdString()) +
                   " does not answer\n";
        thread_ = std::thread([this, limit] { Watch(limit); });
    }
    StartupDeadline(const StartupDeadline&) = delete;
    StartupDeadline& operator=(const StartupDeadline&) = delete;
    ~StartupDeadline() { Met(); }

    void Met() {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            met_ = true;
        }
        ready_.notify_one();
        if (thread_.joinable()) thread_.join();
    }

private:
    void Watch(std::chrono::seconds limit) {
        std::unique_lock<std::mutex> lock(mutex_);
        if (ready_.wait_for(lock, limit, [this] { return met_; })) return;
        std::fputs(message_.c_str(), stderr);
        std::fflush(stderr);
        std::_Exit(1);
    }

    std::mutex mutex_;
    std::condition_variable ready_;
    bool met_ = false;
    std::string message_;
    std::thread thread_;
};

void StartHoldingMessages() { qtHandler = qInstallMessageHandler(HoldWhileStarting); }

void PassHeldMessages() {
    qInstallMessageHandler(qtHandler);
    const QMessageLogContext context;
    for (const HeldMessage& m : heldMessages) {
        if (qtHandler != nullptr) {
            qtHandler(m.type, context, m.text);
        } else {
            std::fprintf(stderr, "%s\n", m.text.toLocal8Bit().constData());
        }
    }
    heldMessages.clear();
}

// Signals end the program as its Exit button does; the handler only wakes the event loop, and
// the watchdog below.
int signalPipe[2] = {-1, -1};
sem_t signalled;
bool watching = false;
// How far the session has come on its way out: its settings saved and its lock let go, or no
// lock held and nothing to save.
enum class Session { Running, Saved, NothingToSave };
std::atomic<Session> session{Session::Running};

// The windows' unloading and Qt's own end talk to the display: a frozen X server would hold
// them for ever after a signal. Once the session is saved and its lock let go, the program ends
// shortly whatever the display does. Should the save not even begin (the event loop itself
// waiting on the display), the program ends without it: its lock, held by nobody then, is taken
// back by the next start.
constexpr auto kSaveLimit = 10s;
constexpr auto kEndLimit = 3s;

void WatchAfterSignal() {
    while (::sem_wait(&signalled) != 0) {
    }
    const auto signalledAt = std::chrono::steady_clock::now();
    while (session.load() == Session::Running) {
        if (std::chrono::steady_clock::now() - signalledAt > kSaveLimit) {
            std::fputs("tavrolin: the display does not answer; ended without saving\n", stderr);
            std::fflush(stderr);
            std::_Exit(1);
        }
        std::this_thread::sleep_for(20ms);
    }
    std::this_thread::sleep_for(kEndLimit);
    std::fputs(session.load() == Session::Saved
                   ? "tavrolin: the display does not answer; the settings are saved\n"
                   : "tavrolin: the display does not answer\n",
               stderr);
    std::fflush(stderr);
    std::_Exit(0);
}

void OnSignal(int) {
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(signalPipe[1], &byte, 1);
    if (watching) ::sem_post(&signalled);
    errno = saved;
}

bool InstallSignalPipe() {
    if (::pipe(signalPipe) != 0) return false;
    for (int fd : signalPipe) {
        ::fcntl(fd, F_SETFD, FD_CLOEXEC);
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    }
    if (::sem_init(&signalled, 0, 0) == 0) {
        std::thread(WatchAfterSignal).detach();
        watching = true;
    }
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int sig : {SIGTERM, SIGINT, SIGHUP}) {
        // A hang-up that the starter ignores (`nohup tavrolin`) stays ignored.
        struct sigaction inherited {};
        if (sig == SIGHUP && ::sigaction(sig, nullptr, &inherited) == 0 &&
            inherited.sa_handler == SIG_IGN) {
            continue;
        }
        ::sigaction(sig, &action, nullptr);
    }
    return true;
}

// The running program's platform: letting the session's lock go, the last step of the save on
// the way out, is what the watchdog waits for.
class ProgramPlatform final : public tavrolin::qt::QtPlatform {
public:
    using QtPlatform::QtPlatform;
    void ReleaseLock(const std::string& path, bool remove) override {
        QtPlatform::ReleaseLock(path, remove);
        if (remove) session = Session::Saved;
    }
};

// What Qt reads once as it starts; programs that Tavrolin opens (the browser with the manual)
// get the user's own values back.
struct SavedVariable {
    const char* name;
    bool set;
    QByteArray value;
};
std::vector<SavedVariable> savedEnvironment;

void SetForQt(const char* name, const char* value) {
    savedEnvironment.push_back({name, qEnvironmentVariableIsSet(name), qgetenv(name)});
    if (value != nullptr) {
        qputenv(name, value);
    } else {
        qunsetenv(name);
    }
}

void PrepareEnvironment() {
    // One pixel of the ruler is one pixel of the screen: no scaling by the platform's density,
    // nor by a factor left in the environment for other programs.
    SetForQt("QT_ENABLE_HIGHDPI_SCALING", "0");
    SetForQt("QT_SCALE_FACTOR", nullptr);
    SetForQt("QT_SCREEN_SCALE_FACTORS", nullptr);
    // Wayland lets no window place itself; XWayland does. Should the X server not answer, Qt
    // falls back to Wayland rather than not starting at all.
    const bool wayland = !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
                         qgetenv("XDG_SESSION_TYPE") == "wayland";
    if (wayland && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        SetForQt("QT_QPA_PLATFORM",
                 qEnvironmentVariableIsEmpty("DISPLAY") ? "wayland;xcb" : "xcb;wayland");
    }
}

// Once Qt has chosen its platform: the user's environment back, and one line on what does not
// work when that platform is Wayland itself.
void PlatformChosen() {
    for (const SavedVariable& v : savedEnvironment) {
        if (v.set) {
            qputenv(v.name, v.value);
        } else {
            qunsetenv(v.name);
        }
    }
    if (!QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) return;
    std::fprintf(stderr,
                 "tavrolin: running on Wayland without XWayland: windows cannot place "
                 "themselves, so the ruler, crosshairs and read-outs stay where the desktop "
                 "puts them\n");
}

// Work the first window would otherwise wait for, done on a thread of its own that is joined
// when the object goes out of scope.
using Work = void (*)();

class WarmUp {
public:
    explicit WarmUp(Work work) {
        if (work != nullptr) thread_ = std::thread(work);
    }
    WarmUp(const WarmUp&) = delete;
    WarmUp& operator=(const WarmUp&) = delete;
    ~WarmUp() {
        if (thread_.joinable()) thread_.join();
    }

private:
    std::thread thread_;
};

// Reading the font configuration takes longer than anything else before the first text is
// measured, and needs nothing of Qt: it overlaps Qt's own start-up.
Work FontsWarmUp() {
#ifdef TAVROLIN_FONTCONFIG
    return [] { FcInit(); };
#else
    return nullptr;
#endif
}

// Accessibility connects to the session bus when the first window is filled in. Without a bus
// address libdbus forks a helper to look for one, and the main thread would wait for it while
// the ruler is not yet on screen.
Work SessionBusWarmUp() {
#ifdef TAVROLIN_SESSION_BUS
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("xcb") || platform.startsWith(QLatin1String("wayland"))) {
        return [] { QDBusConnection::sessionBus(); };
    }
#endif
    return nullptr;
}

// When the display goes away, Qt ends the process with exit(): the session's changes are saved
// and the lock let go on the way out, as the Exit button would.
tavrolin::Program* programOnDisplay = nullptr;

void SaveWhenTheDisplayIsGone() {
    if (programOnDisplay != nullptr) programOnDisplay->EndWithoutDisplay();
}

struct OnDisplay {
    explicit OnDisplay(tavrolin::Program& program) {
        programOnDisplay = &program;
        static const bool registered = std::atexit(SaveWhenTheDisplayIsGone) == 0;
        (void)registered;
    }
    OnDisplay(const OnDisplay&) = delete;
    OnDisplay& operator=(const OnDisplay&) = delete;
    ~OnDisplay() { programOnDisplay = nullptr; }
};

// Lets the windows map and paint before they are grabbed.
void SettleWindows(tavrolin::qt::QtBackend& backend) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 300) {
        backend.DoEvents();
        QThread::msleep(10);
    }
}

}  // namespace

int main(int argc, char** argv) {
    OpenClosedStandardStreams();
    tavrolin::qt::NoteMainReached();
    const tavrolin::CommandLineRequest request =
        tavrolin::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    switch (request.action) {
        case tavrolin::CommandLineRequest::Action::Version:
            std::printf("tavrolin %s\n", tavrolin::VersionNumber());
            return 0;
        case tavrolin::CommandLineRequest::Action::Help:
            std::fputs(tavrolin::HelpText(ManualForHelp()).c_str(), stdout);
            return 0;
        case tavrolin::CommandLineRequest::Action::Refuse:
            std::fprintf(stderr, "tavrolin: %s\n%s", request.problem.c_str(),
                         tavrolin::UsageText().c_str());
            return 2;
        case tavrolin::CommandLineRequest::Action::Run: break;
    }
    const std::string& snapshotPath = request.snapshotPath;
    const std::string& commandLine = request.instance;
    const WarmUp fonts(FontsWarmUp());

    PrepareEnvironment();
    // Qt sees no arguments: an instance argument such as "-style" is the program's own.
    int qtArgc = 1;
    char* qtArgv[] = {argv[0], nullptr};
    StartHoldingMessages();
    StartupDeadline deadline(15s);
    QApplication app(qtArgc, qtArgv);
    deadline.Met();
    PassHeldMessages();
    const WarmUp sessionBus(SessionBusWarmUp());  // joined before the application goes
    QApplication::setApplicationName(QStringLiteral("tavrolin"));
    QApplication::setApplicationVersion(QString::fromLatin1(tavrolin::VersionNumber()));
    if (request.traceStartup) tavrolin::qt::TraceFirstPaint("Ruler");

    tavrolin::qt::QtBackend backend;
    ProgramPlatform platform(backend);
    tavrolin::Program program(backend, platform, commandLine);
    const OnDisplay onDisplay(program);

    auto exitProgram = [&program] {
        if (program.Running()) program.Exit();
    };
    std::unique_ptr<QSocketNotifier> signalNotifier;
    if (InstallSignalPipe()) {
        signalNotifier =
            std::make_unique<QSocketNotifier>(signalPipe[0], QSocketNotifier::Read);
        QObject::connect(signalNotifier.get(), &QSocketNotifier::activated, &app, [&] {
            char buffer[16];
            while (::read(signalPipe[0], buffer, sizeof buffer) > 0) {
            }
            exitProgram();
        });
    }
#ifndef QT_NO_SESSIONMANAGER
    // The desktop session ends: save as the Exit button does.
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &app,
                     [&](QSessionManager&) { exitProgram(); });
#endif
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &app, exitProgram);
    PlatformChosen();

    program.Start();
    if (!program.g().LockHeld) session = Session::NothingToSave;
    backend.Sync();

    if (!snapshotPath.empty()) {
        SettleWindows(backend);
        std::error_code ec;
        std::string path = std::filesystem::absolute(snapshotPath, ec).string();
        if (ec) path = snapshotPath;
        const bool written = tavrolin::qt::WriteSnapshot(backend, platform, path);
        exitProgram();
        if (!written) {
            std::fprintf(stderr, "tavrolin: cannot write %s\n", path.c_str());
            return 1;
        }
        std::printf("%s\n", path.c_str());
        return 0;
    }

    if (program.Running() && !backend.QuitRequested()) app.exec();
    // Quit without the control window unloading (the session's end): save all the same.
    exitProgram();
    return 0;
}
