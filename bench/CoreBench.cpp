// The gestures a user feels, timed through the core on the headless backend: laying out the
// ticks, one move of a scale drag, a marker drag and a crosshair drag, the measurement text and
// the settings file.
#include <benchmark/benchmark.h>

#include <fstream>
#include <memory>
#include <string>

#include "BenchProgram.h"
#include "app/Program.h"
#include "control/MainWindow.h"
#include "control/MeasurementLog.h"
#include "control/MeasurementsWindow.h"
#include "crosshair/CrossDistance.h"
#include "crosshair/Crosshair.h"
#include "crosshair/EdgeWalk.h"
#include "crosshair/Loupe.h"
#include "crosshair/LoupeWindow.h"
#include "crosshair/Measure.h"
#include "forms/HeadlessBackend.h"
#include "forms/UserInput.h"
#include "platform/RecordingPlatform.h"
#include "ruler/Ruler.h"
#include "settings/ConfigFile.h"

namespace tavrolin::bench {
namespace {

// The program started over the headless backend with the ruler that `lengthPx` names.
class HeadlessRun {
public:
    HeadlessRun(int lengthPx, bool measurement) {
        WriteSettings(folder, lengthPx, measurement);
        platform.programFolder = folder.str();
        platform.userConfigFolder = folder.File("user-config");
        platform.virtualScreenWidthPx = std::max(1920, lengthPx);
        backend.screen().TwipsPerPixelX = kTwipsPerPixel;
        backend.screen().TwipsPerPixelY = kTwipsPerPixel;
        program = std::make_unique<Program>(backend, platform, "");
        program->Start();
    }
    ~HeadlessRun() { program->Exit(false); }

    Ruler& ruler() { return program->ruler(); }
    GeneralCode& g() { return program->g(); }

    BenchFolder folder;
    HeadlessBackend backend;
    RecordingPlatform platform;
    std::unique_ptr<Program> program;
};

void PerTick(benchmark::State& state, int ticks) {
    state.counters["ticks"] = ticks;
    state.counters["per_tick"] = benchmark::Counter(
        ticks, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_ReDrawTicks(benchmark::State& state) {
    HeadlessRun run(static_cast<int>(state.range(0)), false);
    Ruler& ruler = run.ruler();
    GeneralCode& g = run.g();
    const std::int32_t spacing = g.TickSpacing;
    int flip = 0;
    for (auto _ : state) {
        // A new spacing each time, as in a drag: every tick really moves.
        g.TickSpacing = spacing + (flip ^= 1);
        ruler.ReDrawTicks();
        benchmark::ClobberMemory();
    }
    g.TickSpacing = spacing;
    PerTick(state, static_cast<int>(ruler.Tick.size()));
}
// 41 ticks (the first start), about 1000, and about 3850 (11520 pixels at three per tick).
BENCHMARK(BM_ReDrawTicks)->ArgName("px")->Arg(kDefaultRuler)->Arg(2976)->Arg(kDesktopRuler);

void BM_ScaleDragMove(benchmark::State& state) {
    const int lengthPx = static_cast<int>(state.range(0));
    HeadlessRun run(lengthPx, false);
    Ruler& ruler = run.ruler();
    GeneralCode& g = run.g();
    RulerDrag drag(ruler, g, lengthPx);
    ScaleDragPath& path = drag.path;
    auto at = [&](double along, auto&& send) {
        double x, y;
        drag.Point(along, x, y);
        send(x, y);
    };
    at(path.press, [&](double x, double y) { user::MouseDown(ruler, kLeftButton, 0, x, y); });
    if (ruler.GrabTick <= g.CenterIndex) {
        state.SkipWithError("the press missed the ticks right of the centre");
        return;
    }
    path.Grabbed(ruler.GrabTick - g.CenterIndex);
    int flip = 0;
    for (auto _ : state) {
        at(path.to[flip ^= 1],
           [&](double x, double y) { user::MouseMove(ruler, kLeftButton, 0, x, y); });
    }
    PerTick(state, static_cast<int>(ruler.Tick.size()));
    state.counters["spacing"] = g.TickSpacing;
}
BENCHMARK(BM_ScaleDragMove)->ArgName("px")->Arg(kDefaultRuler)->Arg(kDesktopRuler);

// One step of a marker drag: SetMarker, the distance in the control window and the read-out.
void BM_MarkerDragMove(benchmark::State& state) {
    HeadlessRun run(kDefaultRuler, true);
    Ruler& ruler = run.ruler();
    double across, along;
    MarkerPress(ruler, across, along);
    user::MouseDown(ruler, kLeftButton, 0, across, along);
    if (ruler.GrabMarker != 0) {
        state.SkipWithError("the press missed the marker");
        return;
    }
    int flip = 0;
    for (auto _ : state) {
        user::MouseMove(ruler, kLeftButton, 0, across, along + ((flip ^= 1) ? 300 : 600));
    }
    state.SetLabel(run.program->mainWindow().MeasureDist.Text());
}
BENCHMARK(BM_MarkerDragMove);

// The measurement pair activated by a press on Cross0, which is then dragged: each step moves
// the window and updates the read-out beside the pair.
class CrosshairRun : public HeadlessRun {
public:
    // With `loupe` the loupe is on: each step also reads the screen around the centre (here a
    // painted one) and magnifies it.
    explicit CrosshairRun(bool loupe = false) : HeadlessRun(kDefaultRuler, true) {
        backend.screenPicture = [](int x, int) { return x % 7 == 0 ? 0x000000u : 0xFFFFFFu; };
        if (loupe) SetLoupe(*program, true);
        user::MouseDown(program->cross0(), kLeftButton, 0, 75, 75);
    }
    Crosshair& cross() { return program->cross0(); }
};

void BM_CrosshairDragMove(benchmark::State& state) {
    CrosshairRun run(state.range(0) != 0);
    DragCross0(state, *run.program, [](Crosshair& c, double x, double y) {
        user::MouseMove(c, kLeftButton, 0, x, y);
    });
    if (state.range(0) != 0 && !run.program->loupe().Visible()) {
        state.SkipWithError("the loupe did not show");
    }
}
BENCHMARK(BM_CrosshairDragMove)->ArgName("loupe")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_CrossDistanceUpdate(benchmark::State& state) {
    CrosshairRun run;
    CrossDistance& readout = run.program->crossDistance();
    GeneralCode& g = run.g();
    const std::int32_t x1 = g.CrossX[1];
    int flip = 0;
    for (auto _ : state) {
        g.CrossX[1] = x1 + ((flip ^= 1) ? 15 : 0);
        readout.Update();
    }
}
BENCHMARK(BM_CrossDistanceUpdate);

// An edge jump of the farthest reach: the strip of 400 pixels read from the screen, the pixels
// of the program's windows over it, and the walk to a bar on its last pixel.
void BM_EdgeJump(benchmark::State& state) {
    HeadlessRun run(kDefaultRuler, true);
    const PixelPoint start{1000, 1000};
    const int barLeft = start.x + kEdgeJumpLimit;
    run.backend.screenPicture = [barLeft](int x, int) {
        return x >= barLeft && x < barLeft + 100 ? 0x000000u : 0xFFFFFFu;
    };
    if (EdgeJump(run.backend, start, 1, 0) != PixelPoint{barLeft, start.y}) {
        state.SkipWithError("the jump did not reach the bar");
        return;
    }
    for (auto _ : state) benchmark::DoNotOptimize(EdgeJump(run.backend, start, 1, 0));
}
BENCHMARK(BM_EdgeJump)->Unit(benchmark::kMicrosecond);

// The loupe's picture at 8x over the edge of a bar: the screen's pixels read, the pixels of the
// program's windows over them, and the magnified picture with its grid, outline and text.
void BM_LoupePicture(benchmark::State& state) {
    HeadlessRun run(kDefaultRuler, true);
    run.backend.screenPicture = [](int x, int) { return x >= 1000 ? 0x000000u : 0xFFFFFFu; };
    const PixelPoint centre{1000, 700};
    if (PaintLoupe(run.backend, centre, kLoupeZoomDefault).rgb.empty()) {
        state.SkipWithError("the screen was not read");
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(PaintLoupe(run.backend, centre, kLoupeZoomDefault));
    }
}
BENCHMARK(BM_LoupePicture)->Unit(benchmark::kMicrosecond);

// Enter on the ruler: the reading made, recorded and appended to the log file beside the
// settings, which takes it before the next key.
void BM_RecordReading(benchmark::State& state) {
    HeadlessRun run(kDefaultRuler, true);
    for (auto _ : state) RecordReading(*run.program);
    if (!run.program->log().FileProblem().empty()) {
        state.SkipWithError(run.program->log().FileProblem().c_str());
    }
    state.counters["rows"] = static_cast<double>(run.program->log().Rows().size());
}
BENCHMARK(BM_RecordReading)->Unit(benchmark::kMicrosecond);

// A log of a hundred thousand readings read at start, then the Measurements window opened on
// it with the newest rows in sight.
void BM_MeasurementsOpen(benchmark::State& state) {
    HeadlessRun run(kDefaultRuler, true);
    Program& program = *run.program;
    RecordReading(program);
    LogRow row = program.log().Rows().front();
    std::string text = CsvRecord(LogColumns());
    for (int i = 1; i <= 100000; ++i) {
        row.number = i;
        text += CsvRecord(LogFields(row));
    }
    std::ofstream(LogFileOf(program.g().ConfigPath), std::ios::binary | std::ios::trunc) << text;
    for (auto _ : state) {
        program.log().Clear();
        LoadLog(program);
        OpenMeasurements(program);
        program.backend().Sync();
        state.PauseTiming();
        program.UnloadMeasurements();
        state.ResumeTiming();
    }
    state.counters["rows"] = static_cast<double>(program.log().Rows().size());
}
BENCHMARK(BM_MeasurementsOpen)->Unit(benchmark::kMillisecond);

void BM_FormatMeasure(benchmark::State& state) {
    struct Case {
        double value;
        int code;
        double other;
    };
    // Pixels, millimetres, and user units by magnitude with an uncertainty beside them.
    static constexpr Case kCases[] = {{500, 0, -1}, {3.14159, 2, -1}, {12.5, 4, 0.05}};
    const Case c = kCases[state.range(0)];
    for (auto _ : state) {
        double value = c.value;
        int code = c.code;
        benchmark::DoNotOptimize(FormatMeasure(value, code, c.other));
    }
}
BENCHMARK(BM_FormatMeasure)->ArgName("case")->Arg(0)->Arg(1)->Arg(2);

void BM_ConfigFormat(benchmark::State& state) {
    RulerRect rect;
    const Settings s = RulerSettings(kDefaultRuler, true, rect);
    for (auto _ : state) benchmark::DoNotOptimize(FormatConfig(s, rect));
}
BENCHMARK(BM_ConfigFormat);

void BM_ConfigParse(benchmark::State& state) {
    RulerRect rect;
    const Settings s = RulerSettings(kDefaultRuler, true, rect);
    const std::string text = FormatConfig(s, rect);
    for (auto _ : state) {
        Settings read;
        ParseConfig(text, read);
        ClampSettings(read, kTwipsPerPixel);
        benchmark::DoNotOptimize(read);
    }
}
BENCHMARK(BM_ConfigParse);

// The settings file as the program writes it on exit (a new file synced to disk, then renamed
// over the old one) and reads it at load, with the values pushed into the control window.
void BM_ConfigWriteFile(benchmark::State& state) {
    HeadlessRun run(kDefaultRuler, true);
    for (auto _ : state) run.ruler().ValuesToFile("To");
}
BENCHMARK(BM_ConfigWriteFile)->Unit(benchmark::kMicrosecond);

void BM_ConfigReadFile(benchmark::State& state) {
    HeadlessRun run(kDefaultRuler, true);
    run.ruler().ValuesToFile("To");
    for (auto _ : state) run.ruler().ValuesToFile("From");
}
BENCHMARK(BM_ConfigReadFile)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tavrolin::bench
