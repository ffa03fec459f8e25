#include "crosshair/Docking.h"

#include "app/Program.h"
#include "control/MainWindow.h"
#include "crosshair/CrossDistance.h"
#include "crosshair/Crosshair.h"
#include "crosshair/DistanceWindow.h"
#include "crosshair/LoupeWindow.h"
#include "crosshair/ScaleDistance.h"
#include "forms/Backend.h"
#include "forms/PixelScale.h"
#include "forms/Types.h"
#include "platform/Platform.h"
#include "ruler/Ruler.h"
#include "settings/NumberText.h"

namespace tavrolin {

namespace {

void Resize(Crosshair& c, int size, int pointer) {
    c.MousePointer = pointer;
    c.SetSize(size);
}

void Remember(Program& p, Crosshair& c) {
    auto& g = p.g();
    const auto k = static_cast<std::size_t>(c.PairIndex());
    auto& xs = c.PairKind() == Crosshair::Kind::Cross ? g.CrossX : g.ScaleX;
    auto& ys = c.PairKind() == Crosshair::Kind::Cross ? g.CrossY : g.ScaleY;
    xs[k] = RoundHalfEven(c.Left());
    ys[k] = RoundHalfEven(c.Top());
}

void Activate(Program& p, Crosshair& a, Crosshair& b) {
    auto& g = p.g();
    Resize(a, 25, kPointerDefault);
    Resize(b, 25, kPointerDefault);
    // Growing from 11 to 25 pixels adds 7 on each side; moving back by as much keeps each
    // centre on the pixel it marked.
    g.StepOffset = RoundHalfEven(-(p.TwipsPerPixelX() * 14 / 2));
    std::int32_t dx = g.StepOffset, dy = g.StepOffset;
    a.Step(dx, dy);
    b.Step(dx, dy);
    Remember(p, a);
    Remember(p, b);
}

void Dock(Crosshair& a, Crosshair& b) {
    Resize(a, 11, kPointerSizePointer);
    Resize(b, 11, kPointerSizePointer);
}

bool MeasurementMode(Program& p) { return p.g().MeasurementModeOn; }

}  // namespace

void DockCrosshairs(Program& p, bool flag) {
    if (!MeasurementMode(p)) return;
    auto& g = p.g();
    MainWindow& mw = p.mainWindow();
    Ruler& ruler = p.ruler();
    if (!flag && !g.CrossActive) {
        g.CrossActive = true;
        Activate(p, p.cross0(), p.cross1());
        mw.ShowWhatMeasures();
        p.crossDistance().Show();
        p.crossDistance().Update();
    } else if (flag && g.CrossActive) {
        g.CrossActive = false;
        Dock(p.cross0(), p.cross1());
        for (Line* l : {ruler.Line1[0], ruler.Line1[1], ruler.Line2[0], ruler.Line2[1]}) {
            if (l != nullptr) l->SetVisible(true);
        }
        p.distanceWindow().Show();
        p.crossDistance().Hide();
        mw.ShowWhatMeasures();
    }
    p.UpdateLoupe();
}

void DockScaleCrosshairs(Program& p, bool flag) {
    if (!MeasurementMode(p)) return;
    auto& g = p.g();
    MainWindow& mw = p.mainWindow();
    Ruler& ruler = p.ruler();
    if (!flag && !g.ScaleCrossActive) {
        g.ScaleCrossActive = true;
        Activate(p, p.scale0(), p.scale1());
        for (Line* l :
             {ruler.ScaleLine1[0], ruler.ScaleLine1[1], ruler.ScaleLine2[0], ruler.ScaleLine2[1]}) {
            if (l != nullptr) l->SetVisible(false);
        }
        mw.ShowWhatMeasures();
        p.scaleDistance().Show();
        p.scaleDistance().Update();
    } else if (flag && g.ScaleCrossActive) {
        g.ScaleCrossActive = false;
        Dock(p.scale0(), p.scale1());
        for (Line* l :
             {ruler.ScaleLine1[0], ruler.ScaleLine1[1], ruler.ScaleLine2[0], ruler.ScaleLine2[1]}) {
            if (l != nullptr) l->SetVisible(true);
        }
        p.scaleDistance().Hide();
        mw.ShowWhatMeasures();
    }
    p.UpdateLoupe();
}

void BlinkAndFocus(Program& p, Form& next, int waitMs) {
    Backend& backend = p.backend();
    next.Hide();
    backend.DoEvents();
    p.platform().Sleep(waitMs);
    next.Show();
    backend.DoEvents();
    auto* hidden = dynamic_cast<TextBox*>(next.Find("HiddenBox"));
    next.SetFocus(hidden);
    if (auto* crosshair = dynamic_cast<Crosshair*>(&next)) LoupeFollows(p, *crosshair);
}

std::int32_t PixelStep(double at, int pixels, double tpp) {
    const PixelScale scale(tpp, tpp);
    const int want = scale.ToPixelsX(at) + pixels;
    // The place keeps where it lies within its pixel when a step of whole twips lands on the
    // pixel wanted; otherwise (a pixel of 7.5 twips, or a place half-way between two pixels)
    // it goes to the wanted pixel's own place.
    double target = RoundHalfEven(at + pixels * tpp);
    if (scale.ToPixelsX(target) != want) target = RoundHalfEven(scale.ToTwipsX(want));
    return static_cast<std::int32_t>(RoundHalfEven(target - at));
}

void ArrowOffset(int keyCode, double left, double top, double tpp, std::int32_t& dx,
                 std::int32_t& dy) {
    switch (keyCode) {
        case kKeyLeft:
        case kKeyNumpad4: dx = PixelStep(left, -1, tpp); break;
        case kKeyRight:
        case kKeyNumpad6: dx = PixelStep(left, 1, tpp); break;
        case kKeyUp:
        case kKeyNumpad8: dy = PixelStep(top, -1, tpp); break;
        case kKeyDown:
        case kKeyNumpad2: dy = PixelStep(top, 1, tpp); break;
        default: break;
    }
}

}  // namespace tavrolin
