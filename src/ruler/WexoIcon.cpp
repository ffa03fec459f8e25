#include "ruler/WexoIcon.h"

#include "app/Program.h"
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
}

void WexoIcon::Form_Load() {
    const double w = 16 * p_.TwipsPerPixelX(), h = 16 * p_.TwipsPerPixelY();
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

}  // namespace tavrolin
