#include "control/MonitorScales.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "app/Program.h"
#include "control/Calibrations.h"
#include "control/FieldRules.h"
#include "control/MainWindow.h"
#include "crosshair/Crosshair.h"
#include "platform/Platform.h"
#include "ruler/Ruler.h"

namespace tavrolin {

namespace {

const std::string kHeader = "# Tavrolin monitors: pixels per 100 mm, as measured with a ruler\n";

// The monitor that holds the pixel, or the nearest one.
std::size_t MonitorAt(const std::vector<MonitorReading>& monitors, double x, double y) {
    std::size_t best = 0;
    double bestDistance = -1;
    for (std::size_t i = 0; i < monitors.size(); ++i) {
        const PixelBounds& m = monitors[i].bounds;
        const double dx = x < m.left ? m.left - x : x >= m.left + m.width ? x - (m.left + m.width) + 1 : 0;
        const double dy = y < m.top ? m.top - y : y >= m.top + m.height ? y - (m.top + m.height) + 1 : 0;
        const double d = dx * dx + dy * dy;
        if (bestDistance < 0 || d < bestDistance) {
            best = i;
            bestDistance = d;
        }
    }
    return best;
}

}  // namespace

std::string MonitorId(const PixelBounds& m) {
    return std::to_string(m.width) + "x" + std::to_string(m.height) + (m.left < 0 ? "" : "+") +
           std::to_string(m.left) + (m.top < 0 ? "" : "+") + std::to_string(m.top);
}

std::vector<std::pair<std::string, double>> ParseMonitorScales(const std::string& text) {
    std::vector<std::pair<std::string, double>> scales;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(at, end - at);
        at = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::size_t tab = line.find('\t');
        if (line.empty() || line[0] == '#' || tab == std::string::npos) continue;
        const std::string value = line.substr(tab + 1);
        char* stop = nullptr;
        const double v = std::strtod(value.c_str(), &stop);
        if (value.empty() || *stop != '\0' || !(v >= kMinPixelsPer100mm && v <= kMaxPixelsPer100mm)) {
            continue;
        }
        scales.emplace_back(line.substr(0, tab), v);
    }
    return scales;
}

std::string MonitorScalesText(const std::vector<std::pair<std::string, double>>& scales) {
    std::string text = kHeader;
    for (const auto& [id, value] : scales) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%.2f", value);
        text += id + "\t" + buf + "\n";
    }
    return text;
}

std::string MonitorScaleFileOf(const std::string& configPath) {
    return BesideSettings(configPath, "Tavrolin-monitors.txt");
}

void LoadMonitorScales(Program& p) {
    auto& g = p.g();
    g.MonitorScales.clear();
    if (g.ConfigPath.empty()) return;
    const auto text = p.platform().ReadFile(MonitorScaleFileOf(g.ConfigPath), 1 << 16);
    if (text) g.MonitorScales = ParseMonitorScales(*text);
}

std::vector<MonitorReading> MonitorReadings(Program& p) {
    const Screen& screen = p.backend().screen();
    const double mainDpi = 1440.0 / screen.TwipsPerPixelX;
    const std::vector<PixelBounds> bounds = MonitorsInPixels(screen);
    std::vector<MonitorReading> readings;
    for (std::size_t i = 0; i < bounds.size(); ++i) {
        MonitorReading r;
        r.bounds = bounds[i];
        const double told = i < screen.MonitorDpi.size() ? screen.MonitorDpi[i] : 0;
        r.dpi = told > 0 && std::isfinite(told) ? told : mainDpi;
        // The main monitor's millimetre is the one the program has always used.
        r.pixelsPer100mm = 100 * kMillimetreTwips / screen.TwipsPerPixelX * (r.dpi / mainDpi);
        const std::string id = MonitorId(r.bounds);
        for (const auto& [key, value] : p.g().MonitorScales) {
            if (key == id) {
                r.pixelsPer100mm = value;
                r.set = true;
            }
        }
        readings.push_back(r);
    }
    return readings;
}

double UnitPixelsAt(Program& p, int unitsIndex, double x, double y) {
    const auto& g = p.g();
    if (unitsIndex != 1 && unitsIndex != 2) return g.PixelsPerUnit;
    const double tpp = p.TwipsPerPixelX();
    const double usual = unitsIndex == 1 ? kMillimetreTwips / tpp : kInchTwips / tpp;
    const Screen& screen = p.backend().screen();
    if (screen.Monitors.size() < 2 && g.MonitorScales.empty()) return usual;
    const std::vector<MonitorReading> readings = MonitorReadings(p);
    if (readings.empty()) return usual;
    const MonitorReading& r = readings[MonitorAt(readings, x, y)];
    if (!r.set) return usual * r.dpi / (1440.0 / screen.TwipsPerPixelX);
    const double perMillimetre = r.pixelsPer100mm / 100;
    return unitsIndex == 1 ? perMillimetre : perMillimetre * 25.4;
}

double CrossUnitPixels(Program& p) {
    const auto& g = p.g();
    if (g.MeasUnitsIndex != 1 && g.MeasUnitsIndex != 2) return g.PixelsPerUnit;
    const double tpp = p.TwipsPerPixelX();
    const double half = p.cross0().Width() / 2;
    const double x = (g.CrossX[0] + g.CrossX[1]) / 2.0 + half;
    const double y = (g.CrossY[0] + g.CrossY[1]) / 2.0 + half;
    return UnitPixelsAt(p, g.MeasUnitsIndex, x / tpp, y / tpp);
}

double MarksUnitPixels(Program& p) {
    const auto& g = p.g();
    if (g.MeasUnitsIndex != 1 && g.MeasUnitsIndex != 2) return g.PixelsPerUnit;
    Ruler& ruler = p.ruler();
    std::int32_t a = g.MarkerPos[0], b = g.MarkerPos[1];
    if (ruler.Loaded()) {
        ruler.GetMarker(0, a);
        ruler.GetMarker(1, b);
    }
    const double along = (static_cast<double>(a) + b) / 2;
    const bool horizontal = g.IsHorizontal != 0;
    const double x = ruler.Left() + (horizontal ? along : ruler.Width() / 2);
    const double y = ruler.Top() + (horizontal ? ruler.Height() / 2 : along);
    return UnitPixelsAt(p, g.MeasUnitsIndex, x / p.TwipsPerPixelX(), y / p.TwipsPerPixelY());
}

std::string SetMonitorScale(Program& p, std::size_t index, double pixelsPer100mm) {
    auto& g = p.g();
    const std::vector<MonitorReading> readings = MonitorReadings(p);
    if (index >= readings.size()) return "There is no such monitor.";
    if (pixelsPer100mm != 0 &&
        !(pixelsPer100mm >= kMinPixelsPer100mm && pixelsPer100mm <= kMaxPixelsPer100mm)) {
        return "100 mm are between 100 and 10000 pixels.";
    }
    // The file as it is now: another instance may have set another monitor meanwhile.
    if (!g.ConfigPath.empty()) LoadMonitorScales(p);
    const std::string id = MonitorId(readings[index].bounds);
    auto scales = g.MonitorScales;
    std::erase_if(scales, [&](const auto& s) { return s.first == id; });
    if (pixelsPer100mm != 0) scales.emplace_back(id, pixelsPer100mm);
    if (g.ConfigPath.empty()) {
        g.MonitorScales = std::move(scales);
        return {};
    }
    const std::string file = MonitorScaleFileOf(g.ConfigPath);
    const bool kept = p.platform().WriteFileAtomic(file, MonitorScalesText(scales));
    // Readings follow the value in this run either way.
    g.MonitorScales = std::move(scales);
    return kept ? std::string() : file + " cannot be written: the value holds until the end.";
}

}  // namespace tavrolin
