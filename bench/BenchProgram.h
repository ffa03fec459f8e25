// What the benchmarks share: a program folder of its own with a chosen ruler in its settings
// file, and the pointer positions of a scale drag on that ruler.
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>

#include "app/GeneralCode.h"
#include "app/Program.h"
#include "control/MainWindow.h"
#include "crosshair/Crosshair.h"
#include "crosshair/EdgeWalk.h"
#include "crosshair/LoupeWindow.h"
#include "forms/Backend.h"
#include "ruler/Ruler.h"
#include "settings/ConfigFile.h"
#include "settings/Settings.h"

namespace tavrolin::bench {

constexpr double kTwipsPerPixel = 15;
// The ruler of a first start, and one as long as three 3840-pixel screens side by side at the
// smallest spacing: about 3850 ticks.
constexpr int kDefaultRuler = 0;
constexpr int kDesktopRuler = 11520;

class BenchFolder {
public:
    BenchFolder() {
        std::random_device rd;
        path_ = std::filesystem::temp_directory_path() /
                ("tavrolin-bench-" + std::to_string(rd()) + std::to_string(rd()));
        std::filesystem::create_directories(path_);
    }
    ~BenchFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    BenchFolder(const BenchFolder&) = delete;
    BenchFolder& operator=(const BenchFolder&) = delete;
    std::string str() const { return path_.string(); }
    std::string File(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

// The settings of a first start, in SEM Optimization Mode or Measurement Mode; with a length in
// pixels, a horizontal ruler that long at the smallest spacing (three pixels).
inline Settings RulerSettings(int lengthPx, bool measurement, RulerRect& rect) {
    Settings s = Settings::Defaults(kTwipsPerPixel, kTwipsPerPixel, 6210);
    s.MeasureMode = measurement ? 1 : 0;
    rect = {static_cast<double>(s.RulerStartTop), static_cast<double>(s.RulerStartHeight),
            static_cast<double>(s.RulerStartLeft), static_cast<double>(s.RulerStartWidth)};
    if (lengthPx > 0) {
        s.IsHorizontal = 1;
        s.TickSpacing = static_cast<std::int32_t>(3 * kTwipsPerPixel);
        rect = {1500, measurement ? 750.0 : 900.0, 0, lengthPx * kTwipsPerPixel};
    }
    return s;
}

inline void WriteSettings(const BenchFolder& folder, int lengthPx, bool measurement) {
    RulerRect rect;
    const Settings s = RulerSettings(lengthPx, measurement, rect);
    std::ofstream out(folder.File("Tavrolin.cfg"), std::ios::binary | std::ios::trunc);
    out << FormatConfig(s, rect);
}

// A scale drag: the pointer presses on a tick `grab` places from the centre and is then pulled
// alternately to two wider spacings, both past the one-pixel dead zone, so that every move
// changes the spacing and lays out every tick again. At the smallest spacing a neighbour within
// the grab tolerance may take the press; `Grabbed` then aims the pull from that tick.
struct ScaleDragPath {
    double half = 0;     // the centre tick, twips from the ruler's start
    int spacing = 0;
    int grab = 0;        // ticks from the centre
    double press = 0;    // along the ruler, twips from its start
    double to[2] = {};   // where the pointer alternates between
    double across = 0;   // across the ruler, on every tick's line

    ScaleDragPath(double length, double thickness, int spacingTwips, int grabTicks)
        : half(std::nearbyint(length / 2)), spacing(spacingTwips) {
        press = half + grabTicks * spacing;
        across = thickness - 50;  // the shortest ticks are 113 twips long
        Grabbed(grabTicks);
    }
    void Grabbed(int ticks) {
        grab = ticks;
        const int step = std::max(1, static_cast<int>(std::ceil(2 * kTwipsPerPixel / grab)));
        to[0] = half + grab * (spacing + step);
        to[1] = half + grab * (spacing + 2 * step);
    }
};

// The scale drag on `ruler` as it stands: a long ruler is grabbed far out, the default one on a
// primary tick.
struct RulerDrag {
    bool horizontal;
    ScaleDragPath path;
    RulerDrag(const Ruler& ruler, const GeneralCode& g, int lengthPx)
        : horizontal(g.IsHorizontal != 0),
          path(horizontal ? ruler.Width() : ruler.Height(),
               horizontal ? ruler.Height() : ruler.Width(), g.TickSpacing,
               lengthPx > 0 ? 96 : 8) {}
    // The form point `along` the ruler on the line every tick crosses.
    void Point(double along, double& x, double& y) const {
        x = horizontal ? along : path.across;
        y = horizontal ? path.across : along;
    }
};

// Where a press takes measurement marker 0: the middle of its line.
inline void MarkerPress(const Ruler& ruler, double& across, double& along) {
    const Line& mark = *ruler.Line2[0];
    across = (mark.X1() + mark.X2()) / 2;
    along = mark.Y1();
}

// Runs `step(d)`, d 0 and 1 in turn, while the backend can read the screen; an error where it
// cannot.
template <class Step>
void OnReadableScreen(benchmark::State& state, Backend& backend, Step step) {
    const ScreenPixels first = backend.ReadScreen(100, 100, 1, 1);
    if (!first.Read()) {
        state.SkipWithError(first.problem.c_str());
        return;
    }
    int flip = 0;
    for (auto _ : state) step(flip ^= 1);
}

// Reads the screen beneath a crosshair, as much of it as a loupe shows at 8x, one pixel off
// each time.
inline void ReadLoupeAreas(benchmark::State& state, Backend& backend) {
    OnReadableScreen(state, backend, [&](int d) {
        benchmark::DoNotOptimize(backend.ReadScreen(100 + d, 100 + d, 20, 22));
    });
}

// An edge jump of the farthest reach over the real screen: the strip of 400 pixels beyond a
// point read and walked. Black at the strip's far end is not asked of the screen; with nothing
// to meet the walk covers the whole strip, as the farthest jump does.
inline void JumpOverScreen(benchmark::State& state, Backend& backend) {
    OnReadableScreen(state, backend, [&](int d) {
        benchmark::DoNotOptimize(EdgeJump(backend, PixelPoint{1000, 700 + d}, 1, 0));
    });
}

// Cross0, once a press has made its pair active, dragged back and forth by 300 x 400 pixels:
// `move(crosshair, x, y)` gives the window system's mouse move at a point of it, twips.
template <class Move>
void DragCross0(benchmark::State& state, Program& program, Move move) {
    Crosshair& c = program.cross0();
    if (!program.g().CrossActive) {
        state.SkipWithError("the press did not activate the pair");
        return;
    }
    const double x = c.StartX, y = c.StartY;
    int flip = 0;
    for (auto _ : state) {
        const double d = (flip ^= 1) ? 1 : -1;
        move(c, x + d * 300 * kTwipsPerPixel, y + d * 400 * kTwipsPerPixel);
    }
    state.SetLabel(program.mainWindow().MeasureDist.Text());
}

// The loupe turned on and shown by `activate` (a click on Cross0), then refreshed as its timer
// does: the screen read around the centre, the picture made, and `show` showing it.
inline void RefreshLoupe(benchmark::State& state, Program& program,
                         const std::function<void()>& activate, const std::function<void()>& show) {
    SetLoupe(program, true);
    activate();
    LoupeWindow& loupe = program.loupe();
    if (!loupe.Visible() || loupe.View.Rgb().empty()) {
        state.SkipWithError(("the loupe shows no picture: " + loupe.Info.Caption()).c_str());
        return;
    }
    for (auto _ : state) {
        loupe.Update();
        show();
    }
    state.SetLabel(loupe.Info.Caption());
}

}  // namespace tavrolin::bench
