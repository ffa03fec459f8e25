#include "crosshair/ScaleDistance.h"

#include "app/Program.h"
#include "platform/WindowServices.h"

namespace tavrolin {

ScaleDistance::ScaleDistance(Program& program)
    : Form(program.backend(), "ScaleDistance"),
      Distance(Add<TextBox>("Distance")),
      HiddenBox(Add<TextBox>("HiddenBox")),
      p_(program) {
    SetCaption("Scale Distance");
    SetBorder(BorderStyle::None);
    SetBackColor(0xFFFFFF);
    const double tpp = program.TwipsPerPixelY();
    Move(0, 0, 1500, 20 * tpp);
    Distance.Move(0, 0, 1500, 20 * tpp);
    HiddenBox.Move(-1000, -1000, 15, 15);
}

void ScaleDistance::Form_Load() { MakeTopmost(p_.platform(), *this); }

void ScaleDistance::Update() {}

void ScaleDistance::Shift(std::int32_t, std::int32_t) {}

}  // namespace tavrolin
