#include "crosshair/CrossDistance.h"

#include "app/Program.h"
#include "platform/WindowServices.h"

namespace tavrolin {

CrossDistance::CrossDistance(Program& program)
    : Form(program.backend(), "CrossDistance"),
      Distance(Add<TextBox>("Distance")),
      HiddenBox(Add<TextBox>("HiddenBox")),
      p_(program) {
    SetCaption("Crosshair Distance");
    SetBorder(BorderStyle::None);
    SetBackColor(0xFFFFFF);
    const double tpp = program.TwipsPerPixelY();
    Move(0, 0, 1500, 20 * tpp);
    Distance.Move(0, 0, 1500, 20 * tpp);
    HiddenBox.Move(-1000, -1000, 15, 15);
}

void CrossDistance::Form_Load() { MakeTopmost(p_.platform(), *this); }

void CrossDistance::Update() {}

void CrossDistance::Shift(std::int32_t, std::int32_t) {}

}  // namespace tavrolin
