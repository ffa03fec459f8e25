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
    void Form_MouseDown(int button, int shift, double x, double y) override;
    void Form_MouseMove(int button, int shift, double x, double y) override;
    void Form_MouseUp(int button, int shift, double x, double y) override;
    // Places the grip against the ruler's far end.
    void Shift();

    std::int32_t StartX = 0;
    std::int32_t StartY = 0;
    std::int32_t DragX = 0;
    std::int32_t DragY = 0;

    Label& Letter;

private:
    Program& p_;
};

}  // namespace tavrolin
