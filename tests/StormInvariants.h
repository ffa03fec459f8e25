// What must hold after every user event, whatever the events were: shared by the event storm and
// the text-box fuzz target. Returns the first broken rule, or an empty text.
#pragma once

#include <cmath>
#include <string>

#include "app/Program.h"
#include "control/MainWindow.h"
#include "crosshair/Crosshair.h"
#include "ruler/Ruler.h"
#include "settings/NumberText.h"

namespace tavrolin::testing {

inline std::string CheckInvariants(Program& p) {
    if (!p.Running()) return {};
    GeneralCode& g = p.g();
    Ruler& r = p.ruler();
    MainWindow& mw = p.mainWindow();
    const bool horizontal = mw.UseHRuler.Value() == 1;
    const double length = horizontal ? r.Width() : r.Height();
    const double thickness = horizontal ? r.Height() : r.Width();
    const double tpp = p.TwipsPerPixelX();
    auto fail = [](const std::string& what, double v) { return what + " (" + std::to_string(v) + ")"; };

    if (!std::isfinite(g.PixelsPerUnit) || g.PixelsPerUnit < 0) return fail("unit factor", g.PixelsPerUnit);
    if (!std::isfinite(g.ScaleValue) || g.ScaleValue < 0) return fail("scale value", g.ScaleValue);
    if (!(g.UncertaintyPct >= 0 && g.UncertaintyPct <= 100)) return fail("uncertainty", g.UncertaintyPct);
    // The control window's boxes show the shared values that everything else reads.
    if (g.ScaleBarLength != Val(mw.ScaleDist.Text())) return fail("scale length unlike its box", g.ScaleBarLength);
    if (g.UncertaintyPct != Val(mw.Uncertainty.Text())) return fail("uncertainty unlike its box", g.UncertaintyPct);
    if (g.MeasurementModeOn != (mw.MeasureMode.Value() == 1)) return fail("mode unlike its box", g.MeasurementModeOn);
    if (g.PositionLocked != (mw.PosLock.Value() == 1)) return fail("lock unlike its box", g.PositionLocked);
    if (g.HorizontalRuler != horizontal) return fail("orientation unlike its box", g.HorizontalRuler);
    if (g.StartMinimized != (mw.Check1.Value() == 1)) return fail("start minimised unlike its box", g.StartMinimized);

    // Ticks: one line per index, the center in the middle, and no more than the longest ruler
    // at the narrowest spacing needs.
    if (r.Tick.size() != static_cast<std::size_t>(g.LastTick) + 1) return fail("tick lines", r.Tick.size());
    if (g.LastTick != 2 * g.CenterIndex) return fail("center index", g.CenterIndex);
    if (g.LastTick > 2 * (400'000 / (2 * g.GrabUnit) + 5)) return fail("tick count", g.LastTick);

    if (g.TickSpacing < g.GrabUnit) return fail("spacing below three pixels", g.TickSpacing);

    if (length < 2000) return fail("ruler length", length);
    if (thickness < std::min(5 * tpp, double(g.MeasLineLength)) - 0.5) return fail("ruler thickness", thickness);
    for (Crosshair* c : {&p.cross0(), &p.cross1(), &p.scale0(), &p.scale1()}) {
        if (c->Width() < 11 * tpp || c->Height() < 11 * tpp) return fail(c->Name() + " size", c->Width());
    }
    if (mw.MeasureMode.Value() == 1) {
        for (int k = 0; k < 4; ++k) {
            if (k >= 2 && !r.ScaleLine1[0]->Visible()) continue;
            const double pos = g.MarkerPos[static_cast<std::size_t>(k)];
            if (pos < 0 || pos > length) return fail("marker " + std::to_string(k) + " off the ruler", pos);
            Line& line = k < 2 ? *r.Line1[static_cast<std::size_t>(k)] : *r.ScaleLine1[static_cast<std::size_t>(k - 2)];
            const double drawn = horizontal ? line.X1() : line.Y1();
            if (line.Visible() && (drawn < 0 || drawn > length))
                return fail("marker line " + std::to_string(k) + " off the ruler", drawn);
        }
    }
    return {};
}

}  // namespace tavrolin::testing
