#include "crosshair/Crosshair.h"

#include "app/Program.h"
#include "platform/WindowServices.h"

namespace tavrolin {

namespace {
std::string NameOf(Crosshair::Kind kind, int index) {
    return (kind == Crosshair::Kind::Cross ? "Cross" : "Scale") + std::to_string(index);
}
}  // namespace

Crosshair::Crosshair(Program& program, Kind kind, int index)
    : Form(program.backend(), NameOf(kind, index)),
      Line1(Add<Line>("Line1")),
      Line2(Add<Line>("Line2")),
      p_(program),
      kind_(kind),
      index_(index) {
    SetBorder(BorderStyle::None);
    if (index == 0) {
        MyToolTip = &Add<TextBox>("MyToolTip");
        MyToolTip->SetToolTipText(
            "Use Arrow keys for precise positioning.  Use Shift to select other crosshair.");
        MyToolTip->SetVisible(false);
        HiddenBox = &Add<TextBox>("HiddenBox");
        HiddenBox->Move(-1000, -1000, 15, 15);
    }
}

void Crosshair::Form_Load() {
    auto& g = p_.g();
    SetSize(11);
    const bool cross = kind_ == Kind::Cross;
    SetBackColor(g.ColorChoice[cross ? kMeasurementCrosshairs : kScaleCrosshairs]);
    auto alpha =
        static_cast<std::int16_t>(cross ? g.CrosshairTransparency : g.ScaleCrossTransparency);
    std::int32_t hwnd = hWnd();
    SetTransparency(p_.platform(), alpha, hwnd);
    MakeTopmost(p_.platform(), *this);
}

void Crosshair::SetSize(int size) {
    const double tpp = p_.TwipsPerPixelX();
    const double h = size * tpp;
    SetHeight(h);
    SetWidth(h);
    const double mid = (h - tpp) / 2;
    Line1.SetX1(0);
    Line1.SetY1(mid);
    Line1.SetX2(h);
    Line1.SetY2(mid);
    Line2.SetX1(mid);
    Line2.SetY1(0);
    Line2.SetX2(mid);
    Line2.SetY2(h);
    Line1.SetBorderColor(0);
    Line2.SetBorderColor(0);
    if (MyToolTip != nullptr) {
        if (size == 25) {
            MyToolTip->SetVisible(true);
            MyToolTip->Move(h - 10 * tpp, h - 10 * tpp, 10 * tpp, 10 * tpp);
            MyToolTip->SetBackColor(BackColor());
            MyToolTip->SetText("  ");
        } else {
            MyToolTip->SetVisible(false);
        }
    }
}

void Crosshair::Step(std::int32_t& xOff, std::int32_t& yOff) { Move(Left() + xOff, Top() + yOff); }

}  // namespace tavrolin
