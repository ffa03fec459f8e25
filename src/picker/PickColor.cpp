#include "picker/PickColor.h"

#include "app/Program.h"

namespace tavrolin {

PickColor::PickColor(Program& program) : Form(program.backend(), "PickColor"), p_(program) {
    SetCaption("Pick Color");
    SetBorder(BorderStyle::Fixed);
}

void PickColor::Init_PickColor(int index) { item_ = index; }

}  // namespace tavrolin
