// The same gestures through the Win32 backend under Wine: the mouse message enters the ruler's
// window, the model changes, the backend shows the change and GDI repaints the ruler before the
// next message is taken.
#include <benchmark/benchmark.h>

#include <cstddef>
#include <memory>
#include <string>

#include "BenchProgram.h"
#include "app/Program.h"
#include "crosshair/Crosshair.h"
#include "crosshair/LoupeWindow.h"
#include "control/MainWindow.h"
#include "forms/Control.h"
#include "forms/Form.h"
#include "ruler/Ruler.h"
#include "win32/FormWindow.h"
#include "win32/Win32Backend.h"
#include "win32/Win32Platform.h"

namespace tavrolin::bench {
namespace {

// The machine's platform, with the settings in a folder of the benchmark's own.
class BenchPlatform : public win32::Win32Platform {
public:
    BenchPlatform(win32::Win32Backend& backend, std::string folder)
        : Win32Platform(backend), folder_(std::move(folder)) {}
    std::string ProgramFolder() override { return folder_; }
    std::string UserConfigFolder() override { return folder_ + "\\user-config"; }

private:
    std::string folder_;
};

class Win32Run {
public:
    Win32Run(int lengthPx, bool measurement) {
        // The settings are written for 15 twips to the pixel.
        backend.screen().TwipsPerPixelX = kTwipsPerPixel;
        backend.screen().TwipsPerPixelY = kTwipsPerPixel;
        WriteSettings(folder, lengthPx, measurement);
        program = std::make_unique<Program>(backend, platform, "");
        program->Start();
        for (int i = 0; i < 3; ++i) backend.DoEvents();
    }
    ~Win32Run() {
        program->Exit(false);
        backend.DoEvents();
    }

    Ruler& ruler() { return program->ruler(); }
    GeneralCode& g() { return program->g(); }

    // A mouse message at a point of `form` in twips, as the system delivers it; then what else
    // waits is handled (the system's own mouse moves for windows moved under the pointer) and
    // the changes are shown and painted, as before the program waits for the next message.
    void Mouse(Form& form, UINT msg, double x, double y) {
        const PixelScale s = backend.Scale();
        const WPARAM held = msg == WM_LBUTTONUP ? 0 : MK_LBUTTON;
        SendMessageW(backend.HandleOf(form.hWnd()), msg, held,
                     MAKELPARAM(s.ToPixelsX(x), s.ToPixelsY(y)));
        backend.DoEvents();
    }

    BenchFolder folder;
    win32::Win32Backend backend{GetModuleHandleW(nullptr)};
    BenchPlatform platform{backend, folder.str()};
    std::unique_ptr<Program> program;
};

void BM_Win32ScaleDragMove(benchmark::State& state) {
    const int lengthPx = static_cast<int>(state.range(0));
    Win32Run run(lengthPx, false);
    Ruler& ruler = run.ruler();
    GeneralCode& g = run.g();
    RulerDrag drag(ruler, g, lengthPx);
    ScaleDragPath& path = drag.path;
    auto at = [&](UINT msg, double along) {
        double x, y;
        drag.Point(along, x, y);
        run.Mouse(ruler, msg, x, y);
    };
    at(WM_LBUTTONDOWN, path.press);
    if (ruler.GrabTick <= g.CenterIndex) {
        state.SkipWithError("the press missed the ticks right of the centre");
        return;
    }
    path.Grabbed(ruler.GrabTick - g.CenterIndex);
    int flip = 0;
    for (auto _ : state) at(WM_MOUSEMOVE, path.to[flip ^= 1]);
    at(WM_LBUTTONUP, path.to[flip]);
    state.counters["ticks"] = static_cast<double>(ruler.Tick.size());
    state.counters["spacing"] = g.TickSpacing;
}
BENCHMARK(BM_Win32ScaleDragMove)
    ->ArgName("px")
    ->Arg(kDefaultRuler)
    ->Arg(kDesktopRuler)
    ->Unit(benchmark::kMicrosecond);

void BM_Win32MarkerDragMove(benchmark::State& state) {
    Win32Run run(kDefaultRuler, true);
    Ruler& ruler = run.ruler();
    double across, along;
    MarkerPress(ruler, across, along);
    run.Mouse(ruler, WM_LBUTTONDOWN, across, along);
    if (ruler.GrabMarker != 0) {
        state.SkipWithError("the press missed the marker");
        return;
    }
    int flip = 0;
    for (auto _ : state) run.Mouse(ruler, WM_MOUSEMOVE, across, along + ((flip ^= 1) ? 300 : 600));
    run.Mouse(ruler, WM_LBUTTONUP, across, along);
    state.SetLabel(run.program->mainWindow().MeasureDist.Text());
}
BENCHMARK(BM_Win32MarkerDragMove)->Unit(benchmark::kMicrosecond);

// Reading the screen beneath a crosshair, as much of it as a loupe shows at 8x.
void BM_Win32ReadScreenLoupeArea(benchmark::State& state) {
    Win32Run run(kDefaultRuler, true);
    ReadLoupeAreas(state, run.backend);
}
BENCHMARK(BM_Win32ReadScreenLoupeArea)->Unit(benchmark::kMicrosecond);

// A crosshair dragged, with the loupe off (0) and on (1): with it on each step also reads the
// screen around the centre and shows the magnified picture.
void BM_Win32CrosshairDragMove(benchmark::State& state) {
    Win32Run run(kDefaultRuler, true);
    if (state.range(0) != 0) SetLoupe(*run.program, true);
    run.Mouse(run.program->cross0(), WM_LBUTTONDOWN, 75, 75);
    DragCross0(state, *run.program, [&](Crosshair& c, double x, double y) {
        run.Mouse(c, WM_MOUSEMOVE, x, y);
    });
}
BENCHMARK(BM_Win32CrosshairDragMove)
    ->ArgName("loupe")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMicrosecond);

// The loupe's whole refresh at 8x: the screen read, the picture made, shown and painted.
void BM_Win32LoupeRefresh(benchmark::State& state) {
    Win32Run run(kDefaultRuler, true);
    RefreshLoupe(state, *run.program, [&] {
        run.Mouse(run.program->cross0(), WM_LBUTTONDOWN, 75, 75);
        run.Mouse(run.program->cross0(), WM_LBUTTONUP, 75, 75);
    }, [&] { run.backend.DoEvents(); });
}
BENCHMARK(BM_Win32LoupeRefresh)->Unit(benchmark::kMicrosecond);

// An edge jump's read and walk over 400 pixels of the screen.
void BM_Win32EdgeJumpOverScreen(benchmark::State& state) {
    Win32Run run(kDefaultRuler, true);
    JumpOverScreen(state, run.backend);
}
BENCHMARK(BM_Win32EdgeJumpOverScreen)->Unit(benchmark::kMicrosecond);

// Opening a window on a hundred thousand rows: the form with its list shown and synced, and
// the list's first paint, which asks for the cells in sight only.
void BM_Win32ListOpen(benchmark::State& state) {
    win32::Win32Backend backend{GetModuleHandleW(nullptr)};
    backend.screen().TwipsPerPixelX = kTwipsPerPixel;
    backend.screen().TwipsPerPixelY = kTwipsPerPixel;
    constexpr std::size_t kRows = 100000;
    std::size_t asked = 0;
    for (auto _ : state) {
        auto form = std::make_unique<Form>(backend, "Measurements");
        form->SetBorder(BorderStyle::Fixed);
        form->Move(1500, 1500, 9000, 6000);
        auto& list = form->Add<ListView>("List");
        list.Move(120, 120, 8760, 5000);
        list.SetColumns({{"No.", 600, true}, {"Time", 1800, false}, {"X", 900, true},
                         {"Y", 900, true}, {"Distance", 1200, true}, {"Units", 900, false}});
        list.cellText = [&asked](std::size_t row, std::size_t column) {
            ++asked;
            return std::to_string(row * 10 + column);
        };
        list.RowsAdded(kRows);
        list.ScrollTo(kRows - 1);  // the newest rows in sight
        form->Show();
        backend.Sync();
        RedrawWindow(backend.HandleOf(form->hWnd()), nullptr, nullptr,
                     RDW_UPDATENOW | RDW_ALLCHILDREN);
        state.PauseTiming();
        form.reset();
        backend.DoEvents();
        state.ResumeTiming();
    }
    state.counters["cells"] = benchmark::Counter(static_cast<double>(asked),
                                                 benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_Win32ListOpen)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tavrolin::bench

BENCHMARK_MAIN();
