// Starting the program with chosen settings, for the ruler's scenario tests.
#pragma once

#include <functional>

#include "ProgramFixture.h"
#include "crosshair/Crosshair.h"
#include "crosshair/DistanceWindow.h"
#include "ruler/WexoIcon.h"
#include "settings/ConfigFile.h"
#include "settings/NumberText.h"

namespace tavrolin::testing {

class RulerTest : public ProgramTest {
protected:
    // Starts with the defaults as changed by `edit`; the ruler rectangle is in twips.
    void StartWith(const std::function<void(Settings&)>& edit, RulerRect rect = {1500, 7500, 150, 1500}) {
        Settings s = Settings::Defaults(15, 15, 6210);
        edit(s);
        Spit(folder.File("Tavrolin.cfg"), FormatConfig(s, rect));
        Start();
    }
    // SEM Optimization Mode: a vertical ruler 500 pixels long, 60 pixels thick.
    void StartSem(bool horizontal = false) {
        StartWith(
            [&](Settings& s) {
                s.MeasureMode = 0;
                s.IsHorizontal = horizontal ? 1 : 0;
            },
            horizontal ? RulerRect{1500, 900, 150, 7500} : RulerRect{1500, 7500, 150, 900});
    }
    void StartMeasurement(bool horizontal = false, int units = 3) {
        StartWith(
            [&](Settings& s) {
                s.MeasureMode = 1;
                s.IsHorizontal = horizontal ? 1 : 0;
                s.MeasUnitsIndex = units;
            },
            horizontal ? RulerRect{1500, 750, 150, 7500} : RulerRect{1500, 7500, 150, 750});
    }
    Line& TickLine(int i) { return *TheRuler().Tick[static_cast<std::size_t>(i)]; }
    // The point in the middle of tick i's line.
    std::pair<double, double> OnTick(int i) {
        Line& t = TickLine(i);
        return {(t.X1() + t.X2()) / 2, (t.Y1() + t.Y2()) / 2};
    }
    void Press(double x, double y, int button = kLeftButton) {
        user::MouseDown(TheRuler(), button, 0, x, y);
    }
    void MoveTo(double x, double y, int button = kLeftButton) {
        user::MouseMove(TheRuler(), button, 0, x, y);
    }
    void Release(double x, double y, int button = kLeftButton) {
        user::MouseUp(TheRuler(), button, 0, x, y);
    }
    void Key(int code, int shift = 0) { user::KeyDown(TheRuler(), code, shift); }
};

}  // namespace tavrolin::testing
