#include "control/Calibrations.h"

#include <array>
#include <cmath>
#include <cstdlib>
#include <iostream>
#include <utility>

#include "app/Program.h"
#include "control/MainWindow.h"
#include "platform/Platform.h"
#include "ruler/Ruler.h"
#include "settings/NumberText.h"

namespace tavrolin {

namespace {

// A number as the file keeps it: "." as decimal point whatever the user's language, and no
// more digits than it needs.
std::string Figure(double v) { return ShortestDecimal(v); }

bool ReadFigure(const std::string& text, double& v) {
    if (text.empty()) return false;
    char* end = nullptr;
    v = std::strtod(text.c_str(), &end);
    return *end == '\0' && std::isfinite(v);
}

std::vector<std::string> Split(const std::string& line, char by) {
    std::vector<std::string> parts(1);
    for (char c : line) {
        if (c == by) {
            parts.emplace_back();
        } else {
            parts.back() += c;
        }
    }
    return parts;
}

// The places user units were calibrated on when a calibration was brought back: the green
// marks along the ruler, the scale crosshairs' corners and whether they are in use.
std::array<std::int32_t, 7> CalibratedOn(Program& p) {
    auto& g = p.g();
    std::int32_t a = g.MarkerPos[2], b = g.MarkerPos[3];
    if (p.ruler().Loaded()) {
        p.ruler().GetMarker(2, a);
        p.ruler().GetMarker(3, b);
    }
    return {a, b, g.ScaleX[0], g.ScaleY[0], g.ScaleX[1], g.ScaleY[1], g.ScaleCrossActive ? 1 : 0};
}

}  // namespace

const std::string& CalibrationHeader() {
    static const std::string header =
        "# Tavrolin calibrations, one a line: name, scale bar length, unit, length in pixels, "
        "uncertainty %, separated by tabs\r\n";
    return header;
}

std::string CalibrationLine(const Calibration& c) {
    return c.name + '\t' + Figure(c.length) + '\t' + c.unit + '\t' + Figure(c.pixels) + '\t' +
           Figure(c.uncertainty) + "\r\n";
}

CalibrationLibrary ParseCalibrations(const std::string& text) {
    CalibrationLibrary library;
    const std::string& header = CalibrationHeader();
    if (text.compare(0, header.size(), header) != 0) return library;
    std::size_t at = header.size();
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        const bool whole = end != std::string::npos;
        if (!whole) end = text.size();
        std::string line = text.substr(at, end - at);
        at = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        const std::vector<std::string> f = Split(line, '\t');
        Calibration c;
        if (!whole || f.size() != 5 || !ReadFigure(f[1], c.length) ||
            !ReadFigure(f[3], c.pixels) || !ReadFigure(f[4], c.uncertainty)) {
            ++library.damagedLines;
            continue;
        }
        c.name = f[0];
        c.unit = f[2];
        CalibrationLibrary none;
        if (!CalibrationProblem(c, none).empty()) {
            ++library.damagedLines;
            continue;
        }
        // A name kept twice (two instances keeping the same name at once): the first counts.
        bool known = false;
        for (const Calibration& k : library.items) known = known || k.name == c.name;
        if (!known) library.items.push_back(std::move(c));
    }
    return library;
}

std::string CalibrationProblem(const Calibration& c, const CalibrationLibrary& library) {
    if (!(c.length > 0) || !std::isfinite(c.length)) {
        return "The scale bar's length must be a number above 0.";
    }
    if (!(c.pixels > 0) || !std::isfinite(c.pixels)) {
        return "The scale bar must be measured first: its green marks or crosshairs are on one "
               "point.";
    }
    if (!(c.uncertainty >= 0 && c.uncertainty <= 100)) {
        return "The uncertainty must be between 0 and 100 %.";
    }
    if (c.name.empty()) return "The calibration needs a name.";
    for (const std::string* text : {&c.name, &c.unit}) {
        if (text->find_first_of("\t\r\n\"") != std::string::npos) {
            return "A name or unit cannot hold tabs, quotes or line breaks.";
        }
    }
    for (const Calibration& k : library.items) {
        if (k.name == c.name) return "A calibration named " + c.name + " is kept already.";
    }
    return {};
}

std::string BesideSettings(const std::string& configPath, const std::string& name) {
    const std::size_t slash = configPath.find_last_of("/\\");
    return (slash == std::string::npos ? std::string() : configPath.substr(0, slash + 1)) + name;
}

std::string CalibrationFileOf(const std::string& configPath) {
    return BesideSettings(configPath, "Tavrolin-calibrations.txt");
}

CalibrationLibrary LoadCalibrations(Program& p) {
    auto& g = p.g();
    if (g.ConfigPath.empty()) return {};
    const std::string file = CalibrationFileOf(g.ConfigPath);
    const auto text = p.platform().ReadFile(file, std::size_t{4} << 20);
    CalibrationLibrary library = text ? ParseCalibrations(*text) : CalibrationLibrary{};
    if (library.damagedLines > 0 && !g.CalibrationDamageTold) {
        g.CalibrationDamageTold = true;
        std::cerr << "tavrolin: " << library.damagedLines << " line(s) of " << file
                  << " are no calibration: they are passed over and kept as they are\n";
    }
    return library;
}

Calibration CalibrationNow(Program& p, const std::string& name, const std::string& unit) {
    const auto& g = p.g();
    Calibration c;
    c.name = name;
    c.unit = unit;
    c.length = g.ScaleBarLength;
    c.pixels = g.PixelsPerUnit * g.ScaleBarLength;
    c.uncertainty = g.UncertaintyPct;
    return c;
}

std::string KeepCalibration(Program& p, const Calibration& c) {
    const std::string problem = CalibrationProblem(c, LoadCalibrations(p));
    if (!problem.empty()) return problem;
    const std::string& config = p.g().ConfigPath;
    const std::string file = CalibrationFileOf(config);
    switch (p.platform().AppendToLog(file, CalibrationHeader(), CalibrationLine(c))) {
        case AppendResult::Appended:
        case AppendResult::Created: return {};
        case AppendResult::Refused:
            return file + " is a link, a special file, a file of several names, another user's "
                          "or not a library of this program's: nothing was kept.";
        case AppendResult::Failed: break;
    }
    return file + " cannot be written: nothing was kept.";
}

bool RecallCalibration(Program& p, int index) {
    auto& g = p.g();
    if (!g.MeasurementModeOn || index < 0) return false;
    const CalibrationLibrary library = LoadCalibrations(p);
    if (static_cast<std::size_t>(index) >= library.items.size()) return false;
    const Calibration& c = library.items[static_cast<std::size_t>(index)];
    MainWindow& mw = p.mainWindow();
    // The panel shows the bar's length and uncertainty, as if typed, and User Units; then the
    // calibration takes the place of the green marks'.
    mw.ShowCalibration(c.length, c.uncertainty);
    NameCalibrationInUse(p, c.name, c.unit);
    g.PixelsPerUnit = c.pixels / c.length;
    mw.MeasureDist_Update(true);
    return true;
}

void NameCalibrationInUse(Program& p, const std::string& name, const std::string& unit) {
    auto& g = p.g();
    g.CalibrationName = name;
    g.CalibrationUnit = unit;
    g.CalibratedOn = CalibratedOn(p);
    p.mainWindow().ShowCalibrationName();
}

bool NamedCalibrationHolds(Program& p) {
    auto& g = p.g();
    if (g.CalibrationName.empty()) return false;
    if (g.MeasUnitsIndex == 4 && CalibratedOn(p) == g.CalibratedOn) return true;
    DropNamedCalibration(p);
    return false;
}

void DropNamedCalibration(Program& p) {
    auto& g = p.g();
    if (g.CalibrationName.empty()) return;
    g.CalibrationName.clear();
    g.CalibrationUnit.clear();
    p.mainWindow().ShowCalibrationName();
}

}  // namespace tavrolin
