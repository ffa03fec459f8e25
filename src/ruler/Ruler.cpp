#include "ruler/Ruler.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "app/Program.h"
#include "app/SettingsStore.h"
#include "control/MainWindow.h"
#include "crosshair/Crosshair.h"
#include "crosshair/ScaleDistance.h"
#include "forms/Backend.h"
#include "platform/Platform.h"
#include "platform/WindowServices.h"
#include "crosshair/DistanceWindow.h"
#include "ruler/WexoIcon.h"
#include "settings/NumberText.h"

namespace tavrolin {

namespace {

// Keeps a marker pair on a ruler of `length` twips: a marker past the end takes both markers
// back by its excess, so the pair keeps its separation; one at the very start goes to 0.
void FitMarkerPair(std::array<std::int32_t, 5>& pos, std::size_t first, double length, double px) {
    const std::int32_t endLimit = RoundHalfEven(length - 5 * px);
    for (std::size_t k = first; k < first + 2; ++k) {
        if (pos[k] <= endLimit) continue;
        const std::int32_t excess = pos[k] - endLimit;
        pos[first] -= excess;
        pos[first + 1] -= excess;
    }
    const std::int32_t startLimit = RoundHalfEven(5 * px);
    for (std::size_t k = first; k < first + 2; ++k) {
        if (pos[k] < startLimit) pos[k] = 0;
    }
}

}  // namespace

int HalfTicksFor(double length, std::int32_t spacing) {
    return RoundHalfEven(length / (2.0 * spacing) + 4);
}

std::int32_t SpacingForHalfTicks(int halfTicks, double length, std::int32_t minSpacing) {
    const std::int32_t widest = std::max(minSpacing, RoundHalfEven(length / 2 - 100));
    // Four of the ticks lie beyond the ends, so four or fewer ask for the widest spacing.
    const double ideal = halfTicks > 4 ? length / (2.0 * (halfTicks - 4)) : widest;
    const auto near = static_cast<std::int32_t>(
        std::clamp<double>(std::round(ideal), minSpacing, widest));
    // Where the count changes by more than one per twip of spacing, the count asked for may lie
    // between two whole spacings: the nearer of their counts wins, then the spacing nearer the
    // ideal.
    std::int32_t best = near;
    auto miss = [&](std::int32_t s) { return std::abs(HalfTicksFor(length, s) - halfTicks); };
    for (std::int32_t s = std::max(minSpacing, near - 2); s <= std::min(widest, near + 2); ++s) {
        if (miss(s) < miss(best) ||
            (miss(s) == miss(best) && std::abs(s - ideal) < std::abs(best - ideal))) {
            best = s;
        }
    }
    return best;
}

Ruler::Ruler(Program& program) : Form(program.backend(), "Ruler"), p_(program) {
    SetBorder(BorderStyle::None);
    for (int k = 0; k < 2; ++k) {
        const auto i = static_cast<std::size_t>(k);
        Line1[i] = &Add<Line>("Line1", k);
        Line2[i] = &Add<Line>("Line2", k);
        ScaleLine1[i] = &Add<Line>("ScaleLine1", k);
        ScaleLine2[i] = &Add<Line>("ScaleLine2", k);
        ScaleLine2[i]->SetBorderColor(RGB(0, 100, 0));
    }
}

bool Ruler::MeasModeOn() const { return p_.g().MeasurementModeOn; }
bool Ruler::Horizontal() const { return p_.g().IsHorizontal != 0; }

int Ruler::TickClass(int i) const {
    const auto& g = p_.g();
    const int d = std::abs(i - g.CenterIndex);
    if (i == g.CenterIndex) return 1;
    if (d % g.PrimaryIndex == 0) return 2;
    if (d % g.SecondaryIndex == 0) return 3;
    return 4;
}

void Ruler::Form_Load() {
    auto& g = p_.g();
    MainWindow& mw = p_.mainWindow();
    SetVisible(false);
    mw.ShowConfigFileName();

    LoadSettings(p_);

    mw.ShowMeasurementSettings();

    CreateTicks();
    mw.ValuesToSettings("To");
    mw.PlaceAtStart();
    SetMarkerColors();
    ShowTicks(g.MeasurementModeOn);
    SetBackColor(g.ColorChoice[kRulerBackground]);
    auto alpha = static_cast<std::int16_t>(g.RulerTransparency);
    std::int32_t hwnd = hWnd();
    SetTransparency(p_.platform(), alpha, hwnd);
    MakeTopmost(p_.platform(), *this);
    // The grip and the marker read-out start against the ruler, as every mover leaves them.
    p_.wexoIcon().Shift();
    p_.distanceWindow().Shift();
}

void Ruler::CreateTicks() {
    auto& g = p_.g();
    g.GrabUnit = RoundHalfEven(3 * p_.TwipsPerPixelX());
    const double length = Horizontal() ? g.RulerStartWidth : g.RulerStartHeight;
    g.HalfTicks = HalfTicksFor(length, g.TickSpacing);
    g.CenterIndex = g.HalfTicks;
    g.TicksBuilt = g.HalfTicks;
    g.LastTick = 2 * g.HalfTicks;
    Tick.clear();
    Tick.reserve(static_cast<std::size_t>(g.LastTick) + 1);
    for (int i = 0; i <= g.LastTick; ++i) Tick.push_back(&AddLine("Tick" + std::to_string(i)));
    SetBackColor(g.ColorChoice[kRulerBackground]);

    g.ResizeEnabled = false;
    SetTop(g.RulerStartTop);
    SetHeight(g.RulerStartHeight);
    SetLeft(g.RulerStartLeft);
    SetWidth(g.RulerStartWidth - 10);
    g.ResizeEnabled = true;
    SetWidth(g.RulerStartWidth);

    SetMarker(0, g.MarkerPos[0], !g.CrossActive);
    SetMarker(1, g.MarkerPos[1], !g.CrossActive);
    SetMarker(2, g.MarkerPos[2], !g.ScaleCrossActive);
    SetMarker(3, g.MarkerPos[3], !g.ScaleCrossActive);
}

void Ruler::Form_Unload() { StoreSettings(p_, Placement()); }

void Ruler::ReDrawTicks() {
    const auto& g = p_.g();
    const double length[5] = {0, static_cast<double>(g.CenterLength),
                              static_cast<double>(g.PrimaryLength),
                              static_cast<double>(g.SecondaryLength),
                              static_cast<double>(g.TickLength)};
    const bool horizontal = Horizontal();
    const double w = Width(), h = Height();
    const std::int32_t half = RoundHalfEven((horizontal ? w : h) / 2);
    const int last = std::min<int>(g.LastTick, static_cast<int>(Tick.size()) - 1);
    for (int i = 0; i <= last; ++i) {
        Line& t = *Tick[static_cast<std::size_t>(i)];
        const double p = static_cast<double>(i - g.CenterIndex) * g.TickSpacing + half;
        const int cls = TickClass(i);
        const Color color = g.ColorChoice[static_cast<std::size_t>(cls)];
        const int width = g.TickWidth[static_cast<std::size_t>(cls)];
        if (horizontal) {
            t.SetLine(p, h - length[cls], p, h, color, width);
        } else {
            t.SetLine(w - length[cls], p, w, p, color, width);
        }
    }
}

void Ruler::ShowTicks(bool measMode) {
    auto& g = p_.g();
    if (g.SettingsLoading || g.LastTick == 0) return;
    for (Line* t : Tick) t->SetVisible(!measMode);
    if (measMode) {
        if (!g.CrossActive) {
            for (Line* l : {Line1[0], Line1[1], Line2[0], Line2[1]}) l->SetVisible(true);
        }
        if (g.MeasUnitsIndex == 4) {
            // The ruler may have been shortened while they were hidden.
            FitMarkerPair(g.MarkerPos, 2, Length(), p_.TwipsPerPixelX());
            SetMarker(2, g.MarkerPos[2], false);
            SetMarker(3, g.MarkerPos[3], false);
            p_.scale0().Show();
            p_.scale1().Show();
            const bool markers = !g.ScaleCrossActive;
            for (Line* l : {ScaleLine1[0], ScaleLine1[1], ScaleLine2[0], ScaleLine2[1]}) {
                l->SetVisible(markers);
            }
            p_.scaleDistance().SetVisible(!markers);
        } else {
            for (Line* l : {ScaleLine1[0], ScaleLine1[1], ScaleLine2[0], ScaleLine2[1]}) {
                l->SetVisible(false);
            }
            p_.scaleDistance().SetVisible(false);
            p_.scale0().SetVisible(false);
            p_.scale1().SetVisible(false);
        }
    } else {
        for (auto* lines : {&Line1, &Line2, &ScaleLine1, &ScaleLine2}) {
            for (Line* l : *lines) l->SetVisible(false);
        }
    }
}

void Ruler::Form_Resize() {
    auto& g = p_.g();
    if (!g.ResizeEnabled) return;
    const bool measMode = g.MeasurementModeOn;
    if (g.PositionLocked && !measMode && !g.StartingUp && !g.RulerTurning) return;

    if (Top() > g.VirtualScreenHeight) SetTop(0);
    if (Left() > g.VirtualScreenWidth) SetLeft(0);

    const bool horizontal = Horizontal();
    const double tpp = horizontal ? p_.TwipsPerPixelY() : p_.TwipsPerPixelX();
    auto setThickness = [&](double v) { horizontal ? SetHeight(v) : SetWidth(v); };
    if (measMode) {
        setThickness(g.MeasLineLength);
    } else {
        // The five-pixel minimum wins over a center tick too short for it; deciding both at
        // once keeps the two rules from undoing each other through the resize they cause.
        const double thickness = std::max(std::min(Thickness(), 1.2 * g.CenterLength), 5 * tpp);
        if (thickness != Thickness()) setThickness(thickness);
    }
    if (Length() < 2000) horizontal ? SetWidth(2000) : SetHeight(2000);
    // The spacing stays the user's: ticks beyond a shortened ruler are clipped by the window and
    // come back as it grows again.

    const double px = p_.TwipsPerPixelX();
    FitMarkerPair(g.MarkerPos, 0, Length(), px);
    // Hidden scale markers are brought onto the ruler when they are shown again.
    if (ScaleLine1[0]->Visible()) FitMarkerPair(g.MarkerPos, 2, Length(), px);
    ReDrawTicks();
}

void Ruler::PlaceMarkerLines(int markId, double pos) {
    const auto& g = p_.g();
    const auto k = static_cast<std::size_t>(markId < 2 ? markId : markId - 2);
    Line& full = markId < 2 ? *Line1[k] : *ScaleLine1[k];
    Line& mark = markId < 2 ? *Line2[k] : *ScaleLine2[k];
    const double t = Thickness();
    const double len = g.MeasLineLength;
    const double from = markId < 2 ? t - 3 * len / 4 : t - 3 * len / 8;
    const double to = markId < 2 ? t - len / 2 : t - len / 4;
    if (Horizontal()) {
        full.SetX1(pos), full.SetX2(pos), full.SetY1(0), full.SetY2(t);
        mark.SetX1(pos), mark.SetX2(pos), mark.SetY1(from), mark.SetY2(to);
    } else {
        full.SetY1(pos), full.SetY2(pos), full.SetX1(0), full.SetX2(t);
        mark.SetY1(pos), mark.SetY2(pos), mark.SetX1(from), mark.SetX2(to);
    }
}

void Ruler::SetMarker(int markId, std::int32_t& pos, bool resetCross) {
    if (!MeasModeOn() || markId < 0 || markId > 3) return;
    auto& g = p_.g();
    const double tpp = p_.TwipsPerPixelX();
    const double half = RoundHalfEven(16 * tpp / 2);

    const bool scale = markId >= 2;
    const auto k = static_cast<std::size_t>(scale ? markId - 2 : markId);
    if (resetCross || !(scale ? g.ScaleCrossActive : g.CrossActive)) {
        Crosshair& c = scale ? (k == 0 ? p_.scale0() : p_.scale1())
                             : (k == 0 ? p_.cross0() : p_.cross1());
        c.Load();
        if (Horizontal()) {
            c.Move(Left() + pos - (c.Width() - tpp) / 2, Top() + Height() + half);
        } else {
            c.Move(Left() + Width() + half, Top() + pos - (c.Height() - tpp) / 2);
        }
        (scale ? g.ScaleX : g.CrossX)[k] = RoundHalfEven(c.Left());
        (scale ? g.ScaleY : g.CrossY)[k] = RoundHalfEven(c.Top());
    }

    pos = RoundHalfEven(std::floor(pos / tpp + 0.5) * tpp);
    PlaceMarkerLines(markId, pos);

    MainWindow& mw = p_.mainWindow();
    if (scale) {
        if (g.MeasUnitsIndex == 4) {
            const double along = Horizontal() ? ScaleLine1[0]->X1() - ScaleLine1[1]->X1()
                                              : ScaleLine1[0]->Y1() - ScaleLine1[1]->Y1();
            const double scaleValue = g.ScaleBarLength;
            // A zero or missing scale distance leaves the unit factor at 0: the read-outs then
            // say the calibration is invalid instead of dividing by it.
            g.PixelsPerUnit = scaleValue > 0
                                  ? ThroughDecimalText(std::abs(along) / scaleValue) /
                                        tpp
                                  : 0;
        }
        mw.MeasureDist_Update(true);
        p_.scaleDistance().Update();
    } else {
        const double along = Horizontal() ? Line1[0]->X1() - Line1[1]->X1()
                                          : Line1[0]->Y1() - Line1[1]->Y1();
        mw.MeasureDist_Update(RoundHalfEven(std::abs(along)) != 0);
    }
}

void Ruler::GetMarker(int markId, std::int32_t& pos) {
    if (!MeasModeOn() || markId < 0 || markId > 3) return;
    const auto k = static_cast<std::size_t>(markId < 2 ? markId : markId - 2);
    const Line& full = markId < 2 ? *Line1[k] : *ScaleLine1[k];
    pos = RoundHalfEven(Horizontal() ? full.X1() : full.Y1());
}

void Ruler::SetMarkerColors() {
    auto& g = p_.g();
    const Color bg = g.ColorChoice[kRulerBackground];
    const double r = RedOf(bg), gr = GreenOf(bg), b = BlueOf(bg);
    const double m = (gr > r ? gr : r) + 1;
    const double s = gr + r;
    const double t1 = (gr / m + r / m) * ((1 - b / 260) * 40 + 80);
    const Color full = t1 < s ? 0 : RGB(180, 180, 180);
    for (Line* l : {Line1[0], Line1[1], ScaleLine1[0], ScaleLine1[1]}) l->SetBorderColor(full);

    MainWindow& mw = p_.mainWindow();
    if (g.CrossActive) {
        mw.ShowDistanceCaption("Distance (Crosshairs)");
    } else {
        const double t2 = (gr / m + r / m) * ((1 - b / 260) * 20 + 20);
        if (t2 < s) {
            Line2[0]->SetBorderColor(0);
            mw.ShowDistanceCaption("Distance (Black Marks)");
        } else {
            Line2[0]->SetBorderColor(RGB(80, 80, 120));
            mw.ShowDistanceCaption("Distance (Gray Marks)");
        }
    }
    const bool bright = !(RedOf(bg) >= 40 || BlueOf(bg) >= 40 || GreenOf(bg) >= 145);
    ScaleLine2[0]->SetBorderColor(bright ? RGB(0, 200, 0) : RGB(0, 100, 0));
    ScaleMarkerColor = ScaleLine2[0]->BorderColor();
    ScaleLine2[1]->SetBorderColor(ScaleMarkerColor);
    MarkerColor = Line2[0]->BorderColor();
    Line2[1]->SetBorderColor(MarkerColor);
}

void Ruler::ValuesToFile(const std::string& direction) {
    if (direction == "From") {
        ReadSettingsFile(p_);
    } else {
        SaveSettingsFile(p_, Placement());
    }
}

void Ruler::TurnTo(bool horizontal) {
    auto& g = p_.g();
    if ((horizontal ? 1 : 0) == g.IsHorizontal) return;
    WexoIcon& grip = p_.wexoIcon();
    DistanceWindow& readout = p_.distanceWindow();
    // The ruler keeps the length and thickness it has now, not those it started with: the grip
    // and the drags change the window, not the stored rectangle.
    g.RulerStartTop = RoundHalfEven(Top());
    g.RulerStartLeft = RoundHalfEven(Left());
    g.RulerStartHeight = RoundHalfEven(Height());
    g.RulerStartWidth = RoundHalfEven(Width());
    g.ResizeEnabled = false;
    if (Top() < 0) SetTop(0);
    if (Left() < 0) SetLeft(0);
    const double screenW = g.VirtualScreenWidth, screenH = g.VirtualScreenHeight;
    if (g.IsHorizontal != 0) {
        SetWidth(g.RulerStartHeight);
        if (grip.Height() + g.RulerStartWidth + readout.Height() < screenH) {
            SetHeight(g.RulerStartWidth);
            if (Height() + Top() + grip.Height() + readout.Height() > screenH) {
                SetTop(screenH - Height() - grip.Height() - readout.Height());
            }
        } else {
            SetTop(0.1 * screenH);
            SetHeight(0.8 * screenH - grip.Height());
        }
    } else {
        SetHeight(g.RulerStartWidth);
        if (grip.Width() + g.RulerStartHeight < screenW) {
            SetWidth(g.RulerStartHeight);
            if (Width() + Left() + grip.Width() > screenW) {
                SetLeft(screenW - Width() - grip.Width());
            }
        } else {
            SetLeft(0.1 * screenW);
            SetWidth(0.8 * screenW - grip.Width());
        }
    }
    g.RulerStartTop = RoundHalfEven(Top());
    g.RulerStartLeft = RoundHalfEven(Left());
    g.RulerStartHeight = RoundHalfEven(Height());
    g.RulerStartWidth = RoundHalfEven(Width());
    g.IsHorizontal = horizontal ? 1 : 0;
    grip.Hide();
    grip.Shift();
    readout.Shift();
    grip.Show();
    // A width change with the resize handling on lays the ruler out once in its new shape.
    SetWidth(g.RulerStartWidth + 10);
    g.ResizeEnabled = true;
    g.RulerTurning = true;
    SetWidth(g.RulerStartWidth);
    g.RulerTurning = false;
}

RulerRect Ruler::Placement() const { return {Top(), Height(), Left(), Width()}; }

void Ruler::Step(std::int32_t& dx, std::int32_t& dy) { Move(Left() + dx, Top() + dy); }

void Ruler::GetKey(int& keyCode, int& shift) { Form_KeyDown(keyCode, shift); }

}  // namespace tavrolin
