// The ruler's mouse: moving it, dragging a tick to change the scale, dragging a marker, the
// right-click toggle of the control window and the double-click colour choice.
#include <cmath>
#include <cstdlib>

#include "app/Program.h"
#include "control/MainWindow.h"
#include "crosshair/Crosshair.h"
#include "crosshair/DistanceWindow.h"
#include "forms/Backend.h"
#include "picker/PickColor.h"
#include "ruler/Ruler.h"
#include "ruler/WexoIcon.h"
#include "settings/NumberText.h"

namespace tavrolin {

bool Ruler::Locked() const {
    const auto& g = p_.g();
    return g.PositionLocked && !g.MeasurementModeOn && !g.StartingUp;
}

int Ruler::SizingPointer() const { return Horizontal() ? kPointerSizeWE : kPointerSizeNS; }

int Ruler::HitTick(double x, double y) const {
    const auto& g = p_.g();
    const double tol = 2.0 * g.GrabUnit;
    const bool horizontal = Horizontal();
    const double along = horizontal ? x : y;
    const double across = horizontal ? y : x;
    const int last = std::min<int>(2 * g.CenterIndex, static_cast<int>(Tick.size()) - 1);
    if (last < 0 || g.TickSpacing <= 0) return -999;
    // Ticks stand at (i - center) * spacing + half: only the few within the tolerance of the
    // pointer can be hit, and the lowest index among them wins.
    const double half = RoundHalfEven((horizontal ? Width() : Height()) / 2);
    const double first = std::floor((along - tol - half) / g.TickSpacing) + g.CenterIndex;
    const int from = static_cast<int>(std::clamp(first, 0.0, static_cast<double>(last)));
    for (int i = from; i <= last; ++i) {
        const Line& t = *Tick[static_cast<std::size_t>(i)];
        const double pos = horizontal ? t.X1() : t.Y1();
        if (pos >= along + tol) break;
        const double lo = horizontal ? t.Y1() : t.X1();
        const double hi = horizontal ? t.Y2() : t.X2();
        if (lo < across && across < hi && pos - tol < along && along < pos + tol) return i;
    }
    return -999;
}

int Ruler::HitMarker(double x, double y) const {
    const auto& g = p_.g();
    const double tol = 3.0 * g.GrabUnit;
    const bool horizontal = Horizontal();
    const double along = horizontal ? x : y;
    const double across = horizontal ? y : x;
    auto near = [&](const Line* l) {
        const double pos = horizontal ? l->X1() : l->Y1();
        return pos - tol < along && along < pos + tol;
    };
    int hit = -999;
    if (Line2[0]->Visible()) {
        const double farEnd = horizontal ? Line2[0]->Y2() : Line2[0]->X2();
        if (0 < across && across < farEnd) {
            if (near(Line2[0])) {
                hit = 0;
            } else if (near(Line2[1])) {
                hit = 1;
            }
        }
    }
    if (ScaleLine2[0]->Visible()) {
        const double t = Thickness();
        if (t / 2 < across && across < t) {
            if (near(ScaleLine2[0])) {
                hit = 2;
            } else if (near(ScaleLine2[1])) {
                hit = 3;
            }
        }
    }
    return hit;
}

int Ruler::HoverPointer(double x, double y) const {
    if (!MeasModeOn()) {
        const int tick = HitTick(x, y);
        if (tick < 0) return kPointerDefault;
        return tick == p_.g().CenterIndex ? kPointerSizeAll : SizingPointer();
    }
    const double tol = 3.0 * p_.g().GrabUnit;
    const bool horizontal = Horizontal();
    const double along = horizontal ? x : y;
    const double across = horizontal ? y : x;
    const double t = Thickness();
    auto near = [&](const std::array<Line*, 2>& pair) {
        for (const Line* l : pair) {
            const double pos = horizontal ? l->X1() : l->Y1();
            if (pos - tol < along && along < pos + tol) return true;
        }
        return false;
    };
    // The hover bands reach 50 twips past the short marks, unlike the press bands.
    const double markStart = horizontal ? Line2[0]->Y1() : Line2[0]->X1();
    if (Line2[0]->Visible() && markStart - 50 < across && across < t / 2) {
        return near(Line2) ? SizingPointer() : kPointerDefault;
    }
    const double scaleEnd = horizontal ? ScaleLine2[0]->Y2() : ScaleLine2[0]->X2();
    if (ScaleLine2[0]->Visible() && t / 2 <= across && across < scaleEnd + 50) {
        return near(ScaleLine2) ? SizingPointer() : kPointerDefault;
    }
    return kPointerDefault;
}

void Ruler::Form_MouseDown(int button, int /*shift*/, double x, double y) {
    GrabTick = -999;
    GrabMarker = -999;
    StartX = RoundHalfEven(x);
    StartY = RoundHalfEven(y);
    if (button == kRightButton) return;
    if (Locked()) return;
    Backend& backend = p_.backend();
    if (!MeasModeOn()) {
        const int tick = HitTick(x, y);
        if (tick < 0) return;
        GrabTick = tick;
        backend.SetMousePointer(tick == p_.g().CenterIndex ? kPointerSizeAll : SizingPointer());
        return;
    }
    const int marker = HitMarker(x, y);
    if (marker >= 0) {
        GrabMarker = marker;
        backend.SetMousePointer(SizingPointer());
    } else {
        backend.SetMousePointer(kPointerSizeAll);
        GrabTick = p_.g().CenterIndex;
    }
}

void Ruler::MoveWithDocked(std::int32_t dx, std::int32_t dy) {
    auto& g = p_.g();
    g.ResizeEnabled = false;
    Step(dx, dy);
    g.ResizeEnabled = true;
    if (!g.CrossActive) {
        p_.cross0().Step(dx, dy);
        p_.cross1().Step(dx, dy);
    }
    if (!g.ScaleCrossActive) {
        p_.scale0().Step(dx, dy);
        p_.scale1().Step(dx, dy);
    }
}

void Ruler::Form_MouseMove(int button, int /*shift*/, double x, double y) {
    auto& g = p_.g();
    Backend& backend = p_.backend();
    if (Locked()) return;
    if (button == 0) {
        backend.SetMousePointer(HoverPointer(x, y));
        return;
    }
    if (button != kLeftButton) return;
    if (!(std::abs(x - StartX) > p_.TwipsPerPixelX() || std::abs(y - StartY) > p_.TwipsPerPixelY())) {
        return;
    }
    const bool horizontal = Horizontal();
    const double along = horizontal ? x : y;
    const double length = Length();

    if (MeasModeOn() && GrabTick != g.CenterIndex && GrabMarker >= 0 && GrabMarker <= 3) {
        // The marker's position at the press stays the reference for the whole drag.
        const double pos = along + g.MarkerPos[static_cast<std::size_t>(GrabMarker)] -
                           (horizontal ? StartX : StartY);
        if (g.GrabUnit < pos && pos < length - g.GrabUnit) {
            std::int32_t p = RoundHalfEven(pos);
            SetMarker(GrabMarker, p, false);
        }
    } else {
        if (GrabTick < 0) {
            GrabTick = g.CenterIndex;
            backend.SetMousePointer(kPointerSizeAll);
        }
        if (GrabTick != g.CenterIndex) {
            const std::int32_t old = g.TickSpacing;
            const std::int32_t spacing =
                RoundHalfEven((along - length / 2) / (GrabTick - g.CenterIndex));
            if (spacing <= g.GrabUnit) {
                g.TickSpacing = g.GrabUnit;
            } else if (length / 2 - 100 < spacing) {
                // Half the ruler less 100 twips is the widest spacing; the drag goes on as a move.
                g.TickSpacing = RoundHalfEven(length / 2 - 100);
                GrabTick = -1;
                backend.SetMousePointer(kPointerDefault);
            } else {
                g.TickSpacing = spacing;
            }
            if (g.TickSpacing != old) ReDrawTicks();
        } else if (!(x == StartX && y == StartY)) {
            // The window moves under the pointer, so the grabbed point returns under it and the
            // press position stays the reference.
            MoveWithDocked(RoundHalfEven(x - StartX), RoundHalfEven(y - StartY));
        }
    }
    p_.wexoIcon().Shift();
    p_.distanceWindow().Shift();
}

void Ruler::CheckTickSupply() {
    const auto& g = p_.g();
    if (HalfTicksFor(Length(), g.TickSpacing) > g.TicksBuilt) p_.RebuildRulerLater();
}

void Ruler::RepaintMarkerLines(bool scale) {
    for (Line* l : scale ? ScaleLine2 : Line2) {
        l->SetVisible(false);
        l->SetVisible(true);
    }
}

void Ruler::Form_MouseUp(int button, int /*shift*/, double /*x*/, double /*y*/) {
    auto& g = p_.g();
    GrabTick = -std::abs(GrabTick);
    p_.backend().SetMousePointer(kPointerDefault);
    if (button == kRightButton) {
        p_.mainWindow().ToggleMinimized();
        return;
    }
    if (GrabMarker >= 0 && GrabMarker <= 3) {
        GetMarker(GrabMarker, g.MarkerPos[static_cast<std::size_t>(GrabMarker)]);
        if (!g.CrossActive) RepaintMarkerLines(false);
        if (ScaleLine2[0]->Visible()) RepaintMarkerLines(true);
    }
    GrabMarker = -std::abs(GrabMarker);
    CheckTickSupply();
}

void Ruler::Form_DblClick() {
    int item = kRulerBackground;
    if (!MeasModeOn() && GrabTick >= -998) item = TickClass(std::abs(GrabTick));
    PickItemColor(p_, item, [this, item](Color chosen) {
        MainWindow& mw = p_.mainWindow();
        if (item > 0) {
            mw.ShowItemColor(item, chosen);
            ReDrawTicks();
        } else {
            SetBackColor(chosen);
            mw.ShowItemColor(item, chosen);
            SetMarkerColors();
        }
    });
}

}  // namespace tavrolin
