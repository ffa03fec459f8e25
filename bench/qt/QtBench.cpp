// The same gestures through the Qt backend on the offscreen platform: the mouse event enters the
// window, the model changes, the backend shows the change and the ruler is repainted before the
// next event is taken.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMouseEvent>
#include <cstdio>
#include <memory>
#include <string>

#include "BenchProgram.h"
#include "app/Program.h"
#include "control/MainWindow.h"
#include "crosshair/Crosshair.h"
#include "crosshair/LoupeWindow.h"
#include "forms/Control.h"
#include "forms/Form.h"
#include "qt/FormWindow.h"
#include "qt/OffscreenSetup.h"
#include "qt/QtBackend.h"
#include "qt/QtPlatform.h"
#include "ruler/Ruler.h"

namespace tavrolin::bench {
namespace {

// The machine's platform, with the settings in a folder of the benchmark's own.
class BenchPlatform : public qt::QtPlatform {
public:
    BenchPlatform(qt::QtBackend& backend, std::string folder)
        : QtPlatform(backend), folder_(std::move(folder)) {}
    std::string ProgramFolder() override { return folder_; }
    std::string UserConfigFolder() override { return folder_ + "/user-config"; }

private:
    std::string folder_;
};

class QtRun {
public:
    QtRun(int lengthPx, bool measurement) {
        WriteSettings(folder, lengthPx, measurement);
        program = std::make_unique<Program>(backend, platform, "");
        program->Start();
        for (int i = 0; i < 3; ++i) backend.DoEvents();
    }
    ~QtRun() {
        program->Exit(false);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    Ruler& ruler() { return program->ruler(); }
    GeneralCode& g() { return program->g(); }
    qt::FormWindow& WindowOf(const Form& form) { return *backend.WindowOf(form); }

    // A mouse event at a point of `form` in twips, as the window system sends it; then the
    // changes are shown and painted, as before the program waits for the next event.
    void Mouse(Form& form, QEvent::Type type, double x, double y) {
        qt::FormWindow& w = WindowOf(form);
        const QPointF local(backend.Scale().ToPixels(x, y));
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        const Qt::MouseButtons held =
            type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent e(type, local, w.mapToGlobal(local), button, held, Qt::NoModifier);
        QApplication::sendEvent(&w, &e);
        backend.Flush();
    }

    BenchFolder folder;
    qt::QtBackend backend;
    BenchPlatform platform{backend, folder.str()};
    std::unique_ptr<Program> program;
};

void BM_QtScaleDragMove(benchmark::State& state) {
    const int lengthPx = static_cast<int>(state.range(0));
    QtRun run(lengthPx, false);
    Ruler& ruler = run.ruler();
    GeneralCode& g = run.g();
    RulerDrag drag(ruler, g, lengthPx);
    ScaleDragPath& path = drag.path;
    auto at = [&](QEvent::Type type, double along) {
        double x, y;
        drag.Point(along, x, y);
        run.Mouse(ruler, type, x, y);
    };
    at(QEvent::MouseButtonPress, path.press);
    if (ruler.GrabTick <= g.CenterIndex) {
        state.SkipWithError("the press missed the ticks right of the centre");
        return;
    }
    path.Grabbed(ruler.GrabTick - g.CenterIndex);
    int flip = 0;
    for (auto _ : state) at(QEvent::MouseMove, path.to[flip ^= 1]);
    at(QEvent::MouseButtonRelease, path.to[flip]);
    state.counters["ticks"] = static_cast<double>(ruler.Tick.size());
    state.counters["spacing"] = g.TickSpacing;
}
BENCHMARK(BM_QtScaleDragMove)
    ->ArgName("px")
    ->Arg(kDefaultRuler)
    ->Arg(kDesktopRuler)
    ->Unit(benchmark::kMicrosecond);

void BM_QtMarkerDragMove(benchmark::State& state) {
    QtRun run(kDefaultRuler, true);
    Ruler& ruler = run.ruler();
    double across, along;
    MarkerPress(ruler, across, along);
    run.Mouse(ruler, QEvent::MouseButtonPress, across, along);
    if (ruler.GrabMarker != 0) {
        state.SkipWithError("the press missed the marker");
        return;
    }
    int flip = 0;
    for (auto _ : state) {
        run.Mouse(ruler, QEvent::MouseMove, across, along + ((flip ^= 1) ? 300 : 600));
    }
    run.Mouse(ruler, QEvent::MouseButtonRelease, across, along);
    state.SetLabel(run.program->mainWindow().MeasureDist.Text());
}
BENCHMARK(BM_QtMarkerDragMove)->Unit(benchmark::kMicrosecond);

void BM_QtCrosshairDragMove(benchmark::State& state) {
    QtRun run(kDefaultRuler, true);
    if (state.range(0) != 0) SetLoupe(*run.program, true);
    run.Mouse(run.program->cross0(), QEvent::MouseButtonPress, 75, 75);
    DragCross0(state, *run.program, [&](Crosshair& c, double x, double y) {
        run.Mouse(c, QEvent::MouseMove, x, y);
    });
}
// With the loupe on (argument 1) each step also reads the screen around the centre and shows
// the magnified picture; only a display whose screen can be read makes that a real read.
BENCHMARK(BM_QtCrosshairDragMove)->ArgName("loupe")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// Reading the screen beneath a crosshair, as much of it as a loupe shows at 8x. Run only on a
// display whose screen can be read (QT_QPA_PLATFORM=xcb): the offscreen platform has none.
void BM_QtReadScreenLoupeArea(benchmark::State& state) {
    QtRun run(kDefaultRuler, true);
    ReadLoupeAreas(state, run.backend);
}

// An edge jump's read and walk over 400 pixels of the screen.
void BM_QtEdgeJumpOverScreen(benchmark::State& state) {
    QtRun run(kDefaultRuler, true);
    JumpOverScreen(state, run.backend);
}

// The loupe's whole refresh at 8x: the screen read, the picture made, shown and painted.
void BM_QtLoupeRefresh(benchmark::State& state) {
    QtRun run(kDefaultRuler, true);
    RefreshLoupe(state, *run.program, [&] {
        run.Mouse(run.program->cross0(), QEvent::MouseButtonPress, 75, 75);
        run.Mouse(run.program->cross0(), QEvent::MouseButtonRelease, 75, 75);
    }, [&] { run.backend.Flush(); });
}

// Opening a window whose list holds a long log of readings: the window shown, the list made and
// filled, the newest row brought into sight and all of it painted. The rows' text is made as it
// is asked for, so the time is the view's alone.
void BM_QtListOpen(benchmark::State& state) {
    const auto rows = static_cast<std::size_t>(state.range(0));
    qt::QtBackend backend;
    std::size_t asked = 0;
    for (auto _ : state) {
        Form form(backend, "Measurements");
        form.Move(1500, 1500, 12000, 6000);
        auto& list = form.Add<ListView>("Rows");
        list.Move(0, 0, 12000, 5400);
        std::vector<ListView::Column> columns = {{"No.", 600, true},   {"Time", 2400, false},
                                                 {"Instance", 1200, false}, {"X", 900, true},
                                                 {"Y", 900, true},     {"Distance", 1200, true},
                                                 {"Angle", 900, true}, {"Units", 900, false}};
        list.SetColumns(std::move(columns));
        list.cellText = [&asked](std::size_t row, std::size_t column) {
            ++asked;
            char text[32];
            std::snprintf(text, sizeof text, "%zu.%03zu", row, column);
            return std::string(text);
        };
        list.RowsAdded(rows);
        list.ScrollTo(rows - 1);
        form.Show();
        backend.Flush();
        state.PauseTiming();
        form.Unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.ResumeTiming();
    }
    state.counters["cells"] =
        benchmark::Counter(static_cast<double>(asked), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_QtListOpen)->ArgName("rows")->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tavrolin::bench

int main(int argc, char** argv) {
    const auto runtimeDir = tavrolin::qt::PrepareOffscreenRun();
    // The offscreen platform's complaints about raise() and opacity are not ours to fix.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& msg) {
        if (type >= QtCriticalMsg) fprintf(stderr, "%s\n", qPrintable(msg));
    });
    QApplication app(argc, argv);
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        benchmark::RegisterBenchmark("BM_QtReadScreenLoupeArea",
                                     tavrolin::bench::BM_QtReadScreenLoupeArea)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark("BM_QtLoupeRefresh", tavrolin::bench::BM_QtLoupeRefresh)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark("BM_QtEdgeJumpOverScreen",
                                     tavrolin::bench::BM_QtEdgeJumpOverScreen)
            ->Unit(benchmark::kMicrosecond);
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
