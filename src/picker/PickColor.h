// The colour picker: edits one colour item (the ruler background, a tick class, a crosshair
// pair) and, for the ruler and the crosshairs, its transparency.
#pragma once

#include "forms/Form.h"

namespace tavrolin {

class Program;

class PickColor : public Form {
public:
    explicit PickColor(Program& program);

    // Prepares the dialog for one ColorChoice item (0 to 6).
    void Init_PickColor(int index);

private:
    Program& p_;
    int item_ = 0;
};

}  // namespace tavrolin
