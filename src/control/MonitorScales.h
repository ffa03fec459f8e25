// True millimetres on every monitor. Millimetres and inches are read with the density of the
// monitor the measured points lie on: the window system's, or the pixels per 100 mm the user
// found by laying a real ruler against that monitor. The user's values live in a plain-text
// file beside the settings file ("Tavrolin-monitors.txt"), one monitor to a line.
#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "forms/Backend.h"

namespace tavrolin {

class Program;

// A monitor as the user's values name it: its place and size in desktop pixels,
// "1920x1080+0+0".
std::string MonitorId(const PixelBounds& monitor);

// The pixels per 100 mm set for each monitor, by id, as the file's text holds them; lines that
// are no such value are passed over.
std::vector<std::pair<std::string, double>> ParseMonitorScales(const std::string& text);
std::string MonitorScalesText(const std::vector<std::pair<std::string, double>>& scales);
// The file beside the settings file `configPath`.
std::string MonitorScaleFileOf(const std::string& configPath);
void LoadMonitorScales(Program& program);

// What the user may set: from 100 to 10000 pixels per 100 mm (25 to 2540 dots per inch).
constexpr double kMinPixelsPer100mm = 100;
constexpr double kMaxPixelsPer100mm = 10000;

// How one monitor is read.
struct MonitorReading {
    PixelBounds bounds;
    double dpi = 0;             // the window system's density
    double pixelsPer100mm = 0;  // what 100 mm are read as
    bool set = false;           // the user's value, not the window system's
};
std::vector<MonitorReading> MonitorReadings(Program& program);

// Pixels per millimetre (index 1) or inch (index 2) at the desktop pixel (x, y): on the main
// monitor, and wherever the window system tells no other density, what they have always been;
// elsewhere in the ratio of that monitor's density to the main one's; the user's value where
// one is set. Any other unit: the pixels per unit in use.
double UnitPixelsAt(Program& program, int unitsIndex, double x, double y);
// The same for what the crosshairs and the ruler's black marks measure now.
double CrossUnitPixels(Program& program);
double MarksUnitPixels(Program& program);

// Sets the pixels per 100 mm of monitor `index` of MonitorReadings (0: the window system's
// again) and keeps it in the file. Returns why it could not set it, or why the file could not
// keep it (the value then holds until the program ends), or empty.
std::string SetMonitorScale(Program& program, std::size_t index, double pixelsPer100mm);

}  // namespace tavrolin
