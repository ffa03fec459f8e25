// The library of calibrations: scale bars measured once and kept under a name, in a plain text
// file beside the settings file that the instances of that folder share, and brought back with
// Ctrl+1 to Ctrl+9 so that user units read with them at once.
#pragma once

#include <string>
#include <vector>

namespace tavrolin {

class Program;

struct Calibration {
    std::string name;      // "x5000"
    double length = 0;     // the scale bar's length in user units
    std::string unit;      // "µm"
    double pixels = 0;     // the bar's length on the screen
    double uncertainty = 0;  // percent
};

struct CalibrationLibrary {
    std::vector<Calibration> items;  // in the order kept
    int damagedLines = 0;            // lines that are no calibration, passed over
};

// The file's first line, which marks it as a library of this program's.
const std::string& CalibrationHeader();
// A calibration as its line: name, length, unit, pixels and uncertainty separated by tabs.
std::string CalibrationLine(const Calibration& c);
// The library a file's text holds; nothing unless it begins with the header.
CalibrationLibrary ParseCalibrations(const std::string& text);
// Why a calibration cannot be kept, or empty: a length or pixel count that is no positive
// number, an uncertainty outside 0 to 100, an empty name, a name or unit with a tab, a quote or
// a line break, a name that `library` holds already.
std::string CalibrationProblem(const Calibration& c, const CalibrationLibrary& library);

// A file shared by the instances of a folder: `name` beside the settings file `configPath`.
std::string BesideSettings(const std::string& configPath, const std::string& name);
// The library file of the settings file `configPath`: "Tavrolin-calibrations.txt" beside it.
std::string CalibrationFileOf(const std::string& configPath);
CalibrationLibrary LoadCalibrations(Program& program);

// The calibration user units read with now, as it would be kept under `name` in `unit`.
Calibration CalibrationNow(Program& program, const std::string& name, const std::string& unit);
// Adds `c` to the library file. Returns why it could not, or empty.
std::string KeepCalibration(Program& program, const Calibration& c);
// Ctrl+1 to Ctrl+9: user units read with the library's calibration `index` (0 for the first),
// without the green marks being placed again. False when the library has no such calibration.
bool RecallCalibration(Program& program, int index);
// The calibration in use goes by `name` in `unit` from now on (it was just kept).
void NameCalibrationInUse(Program& program, const std::string& name, const std::string& unit);
// A green mark or scale crosshair moved, or another scale length was typed: the named
// calibration is no longer the one in use.
void DropNamedCalibration(Program& program);
// True while a calibration brought back is the one in use: user units are chosen and nothing it
// replaced has moved since; otherwise it is dropped.
bool NamedCalibrationHolds(Program& program);

}  // namespace tavrolin
