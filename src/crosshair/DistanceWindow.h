// "Marker Distance": the read-out above the ruler showing the distance between its markers.
#pragma once

#include <string>

#include "forms/Form.h"

namespace tavrolin {

class Program;

class DistanceWindow : public Form {
public:
    explicit DistanceWindow(Program& program);

    void Form_Load() override;
    // Shows an already formatted distance and fits the window to it.
    void Update(const std::string& distance);
    // Sits just above the ruler, at its left edge.
    void Shift();

    TextBox& Distance;

private:
    Program& p_;
};

}  // namespace tavrolin
