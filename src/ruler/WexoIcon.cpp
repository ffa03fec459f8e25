#include "ruler/WexoIcon.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "app/Program.h"
#include "control/MainWindow.h"
#include "crosshair/DistanceWindow.h"
#include "forms/Backend.h"
#include "settings/NumberText.h"
#include "platform/WindowServices.h"
#include "ruler/Ruler.h"

namespace tavrolin {

WexoIcon::WexoIcon(Program& program)
    : Form(program.backend(), "WexoIcon"), Letter(Add<Label>("Letter")), p_(program) {
    SetBorder(BorderStyle::None);
    SetBackColor(RGB(255, 255, 255));
    Letter.SetCaption("W");
    Letter.SetForeColor(RGB(0, 160, 0));
    Letter.SetFontBold(true);
    Letter.SetAlignment(Label::Align::Center);
    Letter.SetWordWrap(false);
    // The letter covers the whole window: a press on it is a press on the grip.
    Letter.onMouseDown = [this](int b, int s, double x, double y) { Form_MouseDown(b, s, x, y); };
    Letter.onMouseMove = [this](int b, int s, double x, double y) { Form_MouseMove(b, s, x, y); };
    Letter.onMouseUp = [this](int b, int s, double x, double y) { Form_MouseUp(b, s, x, y); };
}

void WexoIcon::Form_Load() {
    // 16 pixels at 96 dpi, and as large at any density, so that its letter always fits in it.
    const double w = std::max(16L, std::lround(240 / p_.TwipsPerPixelX())) * p_.TwipsPerPixelX();
    const double h = std::max(16L, std::lround(240 / p_.TwipsPerPixelY())) * p_.TwipsPerPixelY();
    SetWidth(w);
    SetHeight(h);
    Letter.Move(0, 0, w, h);
    Letter.SetFontSize(8);
    MakeTopmost(p_.platform(), *this);
}

void WexoIcon::Shift() {
    Ruler& ruler = p_.ruler();
    const double tpp = p_.TwipsPerPixelX();
    if (p_.g().IsHorizontal != 0) {
        Move(ruler.Left() + ruler.Width() + tpp, ruler.Top());
    } else {
        Move(ruler.Left(), ruler.Top() + ruler.Height() + tpp);
    }
}

void WexoIcon::Form_MouseDown(int /*button*/, int /*shift*/, double x, double y) {
    if (p_.ruler().Locked()) return;
    StartX = RoundHalfEven(x);
    StartY = RoundHalfEven(y);
    p_.backend().SetMousePointer(kPointerSizeAll);
}

void WexoIcon::Form_MouseMove(int button, int /*shift*/, double x, double y) {
    Ruler& ruler = p_.ruler();
    if (button != kLeftButton || ruler.Locked()) return;
    auto& g = p_.g();
    const double tpp = p_.TwipsPerPixelX();
    DragX = RoundHalfEven(x - StartX);
    DragY = RoundHalfEven(y - StartY);
    if (!(std::abs(DragX) > tpp || std::abs(DragY) > tpp)) return;
    const bool measMode = g.MeasurementModeOn;
    const double w = ruler.Width(), h = ruler.Height();
    // The grip moves with the pointer, so the pointer stays over the grabbed point and the
    // press position remains the reference.
    if (g.IsHorizontal != 0) {
        if (w + DragX > 2000) {
            Move(Left() + DragX, Top() + DragY);
            if (measMode) {
                ruler.SetWidth(w + DragX);
            } else {
                ruler.SetWidth(w + 2.0 * DragX);
                ruler.SetLeft(ruler.Left() - DragX);
                if (h - 10 > DragY) ruler.SetHeight(h - DragY);
            }
        }
        ruler.SetTop(Top());
    } else {
        if (h + DragY > 2000) {
            Move(Left() + DragX, Top() + DragY);
            if (measMode) {
                ruler.SetHeight(h + DragY);
            } else {
                ruler.SetHeight(h + 2.0 * DragY);
                ruler.SetTop(ruler.Top() - DragY);
                if (w - 10 > DragX) ruler.SetWidth(w - DragX);
            }
        }
        ruler.SetLeft(Left());
    }
    ruler.SetMarker(0, g.MarkerPos[0], false);
    ruler.SetMarker(1, g.MarkerPos[1], false);
    if (ruler.ScaleLine1[0]->Visible()) {
        ruler.SetMarker(2, g.MarkerPos[2], false);
        ruler.SetMarker(3, g.MarkerPos[3], false);
    }
    p_.distanceWindow().Shift();
    Shift();
}

void WexoIcon::Form_MouseUp(int button, int /*shift*/, double /*x*/, double /*y*/) {
    p_.backend().SetMousePointer(kPointerDefault);
    if (button == kRightButton) {
        p_.mainWindow().ToggleMinimized();
    } else if (button == kLeftButton) {
        p_.ruler().CheckTickSupply();
    }
}

}  // namespace tavrolin
