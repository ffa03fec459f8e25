#include "crosshair/DistanceWindow.h"

#include <algorithm>
#include <cmath>

#include "app/Program.h"
#include "platform/WindowServices.h"
#include "ruler/Ruler.h"

namespace tavrolin {

DistanceWindow::DistanceWindow(Program& program)
    : Form(program.backend(), "DistanceWindow"), Distance(Add<TextBox>("Distance")), p_(program) {
    SetCaption("Marker Distance");
    SetBorder(BorderStyle::None);
    SetBackColor(0xFFFFFF);
    Distance.SetLocked(true);
    // 20 pixels at 96 dpi, and as tall at any density, where its font grows with the density.
    const double tpp = program.TwipsPerPixelY();
    const double height = std::max(20L, std::lround(300 / tpp)) * tpp;
    Move(0, 0, 1500, height);
    Distance.Move(0, 0, 1500, height);
}

void DistanceWindow::Form_Load() { MakeTopmost(p_.platform(), *this); }

void DistanceWindow::Update(const std::string& distance) {
    Distance.SetText(distance);
    SetWidth(TextWidth(distance) + 100);
    Distance.SetWidth(Width());
}

void DistanceWindow::Shift() {
    Ruler& ruler = p_.ruler();
    Move(ruler.Left(), ruler.Top() - Height() - 100);
}

}  // namespace tavrolin
