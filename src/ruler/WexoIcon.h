// The resize grip: a 16 x 16 pixel window with a green 'W' that sits against the ruler's end.
#pragma once

#include <cstdint>

#include "forms/Form.h"

namespace tavrolin {

class Program;

class WexoIcon : public Form {
public:
    explicit WexoIcon(Program& program);

    void Form_Load() override;
    // Places the grip against the ruler's far end.
    void Shift();

    Label& Letter;

private:
    Program& p_;
};

}  // namespace tavrolin
