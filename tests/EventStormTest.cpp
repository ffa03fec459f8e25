// Seeded random storms of mouse, key, click and text events over every window, in both modes,
// both orientations and all four units. After each event the invariants hold; at the end a save
// and a load reproduce the settings. TAVROLIN_STORM_EVENTS sets the total (default 100000),
// TAVROLIN_STORM_SEED replays one storm.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <sstream>

#include "RulerFixture.h"
#include "StormInvariants.h"
#include "control/KeepDialog.h"
#include "crosshair/CrossDistance.h"
#include "crosshair/ScaleDistance.h"
#include "picker/PickColor.h"

namespace tavrolin::testing {
namespace {

long EnvNumber(const char* name, long fallback) {
    const char* v = std::getenv(name);
    return v != nullptr && *v != '\0' ? std::strtol(v, nullptr, 10) : fallback;
}

class EventStorm : public RulerTest {
protected:
    std::mt19937 rng;
    std::string last;  // the event just delivered, for the failure message
    long eventsRun = 0;

    int Uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }
    bool Chance(int percent) { return Uniform(1, 100) <= percent; }
    template <class T>
    T& PickOf(std::vector<T*>& v) { return *v[static_cast<std::size_t>(Uniform(0, static_cast<int>(v.size()) - 1))]; }

    std::vector<Form*> Forms() {
        Program& p = *program;
        return {&p.ruler(), &p.ruler(), &p.ruler(), &p.wexoIcon(), &p.mainWindow(),
                &p.cross0(), &p.cross1(), &p.scale0(), &p.scale1(), &p.distanceWindow(),
                &p.crossDistance(), &p.scaleDistance()};
    }

    std::string RandomText() {
        static const std::string kChars = "0123456789012345678901234567890123456789...-eE +aZ,\b\b\b";
        std::string s;
        const int n = Uniform(0, 8);
        for (int i = 0; i < n; ++i) s += kChars[static_cast<std::size_t>(Uniform(0, static_cast<int>(kChars.size()) - 1))];
        return s;
    }

    int RandomKey() {
        static const int kKeys[] = {kKeyLeft, kKeyUp, kKeyRight, kKeyDown, kKeyLeft, kKeyUp, kKeyRight,
                                    kKeyDown, kKeyNumpad2, kKeyNumpad4, kKeyNumpad6, kKeyNumpad8,
                                    kKeySpace, kKeyTab, kKeyShift, kKeyControl, kKeyReturn, kKeyBack,
                                    kKeyDelete, 'A', 'M', 'H', 'L', 'S', '1', '5', '9', 190, 112, 113,
                                    kKeyEscape};
        const int k = kKeys[Uniform(0, static_cast<int>(std::size(kKeys)) - 1)];
        // Esc leaves the program; let it happen now and then, not every few hundred events.
        return k == kKeyEscape && !Chance(5) ? kKeyLeft : k;
    }

    // What the user does in a dialog while it is up: the colour picker, or Keep Calibration.
    void DialogScript(Form& f) {
        if (auto* keep = dynamic_cast<KeepDialog*>(&f)) {
            KeepScript(*keep);
        } else {
            PickerScript(f);
        }
    }

    void KeepScript(KeepDialog& keep) {
        const int n = Uniform(0, 4);
        for (int i = 0; i < n && keep.Visible(); ++i) {
            switch (Uniform(0, 3)) {
                case 0: user::Type(keep.NameBox, RandomText()); break;
                case 1: user::Edit(keep.UnitBox, RandomText()); break;
                default: user::KeyDown(keep.NameBox, Chance(50) ? kKeyEscape : kKeyReturn, 0); break;
            }
        }
        if (keep.Visible()) user::Click(Chance(50) ? keep.KeepBtn : keep.CancelBtn);
        if (keep.Visible()) user::Click(keep.CancelBtn);
    }

    void PickerScript(Form& f) {
        auto& picker = static_cast<PickColor&>(f);
        const int n = Uniform(0, 6);
        for (int i = 0; i < n; ++i) {
            switch (Uniform(0, 4)) {
                case 0: user::Click(*picker.Palette[static_cast<std::size_t>(Uniform(0, PickColor::kPaletteSize - 1))]); break;
                case 1: user::Type(*picker.Channel[static_cast<std::size_t>(Uniform(0, 2))], RandomText()); break;
                case 2: user::Edit(*picker.Channel[static_cast<std::size_t>(Uniform(0, 2))], RandomText()); break;
                case 3: user::Scroll(picker.Transparency, Uniform(-10, 300)); break;
                default: user::KeyDown(picker, Chance(50) ? kKeyEscape : kKeyReturn, 0); break;
            }
        }
        if (picker.Visible()) user::Click(Chance(50) ? picker.ApplyBtn : picker.CancelBtn);
    }

    void MouseGesture(Form& f) {
        const int button = Chance(80) ? kLeftButton : (Chance(50) ? kRightButton : kMiddleButton);
        const int shift = Chance(70) ? 0 : Uniform(1, 7);
        auto x = [&] { return static_cast<double>(Uniform(-600, static_cast<int>(f.Width()) + 600)); };
        auto y = [&] { return static_cast<double>(Uniform(-600, static_cast<int>(f.Height()) + 600)); };
        last = "drag on " + f.Name();
        user::MouseDown(f, button, shift, x(), y());
        const int moves = Uniform(0, 6);
        for (int i = 0; i < moves && f.Loaded(); ++i) user::MouseMove(f, button, shift, x(), y());
        if (f.Loaded()) user::MouseUp(f, button, shift, x(), y());
    }

    void OneEvent() {
        std::vector<Form*> forms = Forms();
        Form& f = PickOf(forms);
        const int kind = Uniform(0, 99);
        if (kind < 30) {
            MouseGesture(f);
        } else if (kind < 40) {
            const int shift = Chance(70) ? 0 : Uniform(0, 7);
            last = "hover on " + f.Name();
            user::MouseMove(f, 0, shift, Uniform(-300, static_cast<int>(f.Width()) + 300),
                            Uniform(-300, static_cast<int>(f.Height()) + 300));
        } else if (kind < 62) {
            const int key = RandomKey();
            last = "key " + std::to_string(key) + " on " + f.Name();
            user::KeyDown(f, key, Chance(70) ? 0 : Uniform(1, 7));
        } else if (kind < 65) {
            last = "double click on " + f.Name();
            user::DblClick(f);
        } else {
            std::vector<Control*> controls;
            for (const auto& c : f.Controls()) {
                if (c->Kind() == ControlKind::Line) continue;
                // Exit leaves the program: only now and then.
                if (c->Name() == "ExitBtn" && !Chance(3)) continue;
                controls.push_back(c.get());
            }
            if (controls.empty()) return;
            Control& c = PickOf(controls);
            last = c.Name() + "(" + std::to_string(c.Index()) + ") on " + f.Name();
            if (c.Kind() == ControlKind::TextBox) {
                auto& box = static_cast<TextBox&>(c);
                if (Chance(70)) {
                    last = "type into " + last;
                    user::Type(box, RandomText());
                } else {
                    last = "edit " + last;
                    user::Edit(box, RandomText());
                }
            } else if (c.Kind() == ControlKind::ScrollBar) {
                user::Scroll(static_cast<ScrollBar&>(c), Uniform(-10, 300));
            } else if (Chance(85)) {
                last = "click " + last;
                user::Click(c);
            } else if (Chance(50)) {
                last = "double click " + last;
                user::DblClick(c);
            } else {
                last = "press on " + last;
                user::MouseDown(c, kLeftButton, 0, 30, 30);
                user::MouseMove(c, kLeftButton, 0, Uniform(-900, 900), Uniform(-900, 900));
                user::MouseUp(c, kLeftButton, 0, 30, 30);
            }
        }
    }

    // Runs one storm; false with a message naming the seed when an invariant broke.
    bool Storm(unsigned seed, bool measurement, bool horizontal, int units, long events) {
        rng.seed(seed);
        backend.modalScript = [this](Form& f) { DialogScript(f); };
        StartWith(
            [&](Settings& s) {
                s.MeasureMode = measurement ? 1 : 0;
                s.IsHorizontal = horizontal ? 1 : 0;
                s.MeasUnitsIndex = units;
            },
            horizontal ? RulerRect{1500, 750, 150, 7500} : RulerRect{1500, 7500, 150, 750});
        // Printed first, so that a storm that brings the program down can be replayed too.
        std::printf("storm: TAVROLIN_STORM_SEED=%u TAVROLIN_STORM_EVENTS=%ld\n", seed, events);
        std::fflush(stdout);
        const std::string where = "replay with TAVROLIN_STORM_SEED=" + std::to_string(seed) +
                                  " TAVROLIN_STORM_EVENTS=" + std::to_string(events) + ": ";
        for (long i = 0; i < events; ++i) {
            if (!program->Running()) {
                // Esc or Exit ended the program: start again on what it left.
                if (Exists(folder.File("Tavrolin.tmp"))) {
                    ADD_FAILURE() << where << "event " << i << ": the lock file outlived the exit";
                    return false;
                }
                program.reset();
                Start();
            }
            OneEvent();
            const std::string broken = CheckInvariants(*program);
            if (!broken.empty()) {
                ADD_FAILURE() << where << "event " << i << " (" << last << "): " << broken;
                return false;
            }
            ++eventsRun;
            if (platform.calls.size() > 10000) platform.calls.clear();
            if (platform.sleeps.size() > 10000) platform.sleeps.clear();
        }
        // Saving and loading again reproduces the settings. What a load corrects by rule may
        // differ once: the half tick count (recounted at every load), a ruler pushed past the
        // screen's top or left edge, fractions of a twip in the ruler's size, markers snapped to
        // a pixel, hidden scale markers beyond the ruler's end and the settings page's number.
        // After that one load the file is a fixed point.
        program->Exit();
        const std::string saved = Slurp(folder.File("Tavrolin.cfg"));
        std::string again;
        for (int round = 0; round < 2; ++round) {
            program.reset();
            Start();
            program->Exit();
            if (round == 1) {
                EXPECT_EQ(again, Slurp(folder.File("Tavrolin.cfg"))) << where << "a second load changed the file";
            }
            again = Slurp(folder.File("Tavrolin.cfg"));
        }
        Settings before, after;
        ParseConfig(saved, before);
        ParseConfig(again, after);
        const double length = before.IsHorizontal ? before.RulerStartWidth : before.RulerStartHeight;
        after.HalfTicks = before.HalfTicks;
        // Apply leaves the settings page as page 1 in either mode; a load shows it as page 4.
        if (before.ActiveFrame == 1 && before.MeasureMode == 1) before.ActiveFrame = 4;
        for (std::int32_t* v : {&before.RulerStartTop, &before.RulerStartLeft}) *v = std::max(*v, 0);
        // A marker never placed in this mode is snapped to its pixel when a load places it.
        for (std::size_t k = 0; k < 4; ++k) {
            if (std::abs(after.MarkerPos[k] - before.MarkerPos[k]) < 15) after.MarkerPos[k] = before.MarkerPos[k];
        }
        if (std::max(before.MarkerPos[2], before.MarkerPos[3]) > length - 75) {
            after.MarkerPos[2] = before.MarkerPos[2];
            after.MarkerPos[3] = before.MarkerPos[3];
        }
        const std::string a = FormatConfig(before, {}), b = FormatConfig(after, {});
        EXPECT_EQ(a, b) << where << "save and load lost settings";
        return a == b;
    }
};

TEST_F(EventStorm, EveryWindowSurvivesRandomEventsInEveryModeOrientationAndUnit) {
    const long total = EnvNumber("TAVROLIN_STORM_EVENTS", 100000);
    const long replay = EnvNumber("TAVROLIN_STORM_SEED", -1);
    const long first = EnvNumber("TAVROLIN_STORM_FIRST_SEED", 1008);
    // A seed's remainder by 16 chooses mode, orientation and unit; the default seeds cover all 16.
    constexpr long kConfigurations = 16;
    const long each = replay >= 0 ? total : std::max(1L, total / kConfigurations);
    for (long seed = first; seed < first + kConfigurations; ++seed) {
        const long s = replay >= 0 ? replay : seed;
        const long c = s % kConfigurations;
        program.reset();
        std::filesystem::remove(folder.File("Tavrolin.cfg"));
        if (!Storm(static_cast<unsigned>(s), (c & 1) != 0, (c & 2) != 0, 1 + static_cast<int>(c / 4), each)) return;
        if (replay >= 0) break;
    }
    std::printf("%ld events in %ld storms, invariants checked after each\n", eventsRun,
                replay >= 0 ? 1 : kConfigurations);
}

// What the storms found.

TEST_F(EventStorm, ShorteningTheRulerLeavesTheSpacingAndItsTicksBeyondTheEnds) {
    StartWith([](Settings& s) {
        s.MeasureMode = 0;
        s.TickSpacing = 1800;
    }, RulerRect{1500, 7500, 150, 900});
    backend.Deliver([&] { TheRuler().SetHeight(2500); });
    EXPECT_EQ(G().TickSpacing, 1800);
    EXPECT_EQ(TickLine(G().CenterIndex).Y1(), 1250);
    EXPECT_EQ(TickLine(G().CenterIndex + 1).Y1(), 1250 + 1800);
}

TEST_F(EventStorm, ScaleMarkersHiddenWhileTheRulerShrankComeBackOnIt) {
    StartMeasurement(false, 3);
    backend.Deliver([&] { TheRuler().SetHeight(3000); });
    user::Click(Main().Settings);
    user::Click(Main().Option4);
    ASSERT_TRUE(TheRuler().ScaleLine1[1]->Visible());
    EXPECT_EQ(G().MarkerPos[3], 3000 - 75);
    // The pair keeps its separation, give or take the snap of each marker to a whole pixel.
    EXPECT_NEAR(G().MarkerPos[3] - G().MarkerPos[2], 4688 - 2812, 15);
    EXPECT_EQ(TheRuler().ScaleLine1[1]->Y1(), 3000 - 75);
}

TEST_F(EventStorm, TurningALockedRulerStillGivesItItsMinimumLengthAndASpacingThatFits) {
    StartWith([](Settings& s) {
        s.MeasureMode = 0;
        s.TickSpacing = 3000;
    }, RulerRect{1500, 7500, 150, 900});
    user::Click(Main().Settings);
    user::Click(Main().PosLock);
    ASSERT_EQ(Main().PosLock.Value(), 1);
    backend.Deliver([&] { TheRuler().SetWidth(75); });  // as thin as the ruler goes
    user::Click(Main().UseHRuler);
    EXPECT_GE(TheRuler().Width(), 2000);
    EXPECT_EQ(G().TickSpacing, 3000);
}

TEST_F(EventStorm, ACenterTickShorterThanFivePixelsLeavesTheRulerFivePixelsThick) {
    // The two thickness rules used to undo each other through the resizes they caused, until
    // the stack ran out.
    StartWith([](Settings& s) {
        s.MeasureMode = 0;
        s.CenterLength = 57;
    }, RulerRect{1500, 7500, 150, 900});
    EXPECT_EQ(TheRuler().Width(), 75);
    Main().Text1[3]->SetText("1");  // the center length in millimetres, through Apply
    user::Click(Main().Settings);
    EXPECT_EQ(TheRuler().Width(), 75);
}

}  // namespace
}  // namespace tavrolin::testing
