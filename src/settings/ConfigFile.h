// The configuration file's bytes: writing a settings record in its line layout and reading one
// back, including the older layout without the length unit line and without the transparencies.
// The reader, the writer and the clamping walk the same table of settings (Settings.h).
#pragma once

#include <string>
#include <string_view>

#include "settings/Settings.h"

namespace tavrolin {

struct ConfigReadReport {
    bool olderLayout = false;   // no "ConvertLengthToDisplay" line: lengths were in inches
    bool olderTail = false;     // "Reserved      Reserved" after ScaleLine2Pos: no transparencies
    int damagedLines = 0;       // lines whose value could not be read; their settings kept
    bool endedEarly = false;    // the file ended before the "Reserved" line
};

// The whole file, CR LF line ends. MeasureMode -1 is written with the key "MeasureMode Locked";
// a ControlTop or ControlLeft below 101 is written as the text "1000".
[[nodiscard]] std::string FormatConfig(const Settings& s, const RulerRect& ruler);

// Reads a file's text over `s`: each setting that is read replaces the value in `s`, a damaged
// line keeps that one setting and reading goes on with the next line. No clamping here.
ConfigReadReport ParseConfig(std::string_view text, Settings& s);

// Brings every value into its safe range after reading, so that no value divides by zero,
// explodes the tick count or overflows a 16-bit field. `twipsPerPixel` gives the three-pixel
// minimum of the tick spacing.
void ClampSettings(Settings& s, double twipsPerPixel);

}  // namespace tavrolin
