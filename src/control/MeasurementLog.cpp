#include "control/MeasurementLog.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <utility>

#include "app/Program.h"
#include "control/MainWindow.h"
#include "crosshair/Measure.h"
#include "platform/Platform.h"

namespace tavrolin {

namespace {

// The columns that hold figures, which a spreadsheet must read as numbers.
bool IsFigure(std::size_t column) {
    return column == 0 || (column >= 5 && column <= 8) || column == 10 || column == 11;
}

std::string TwoDigits(int n) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02d", std::clamp(n, 0, 99));
    return buf;
}

std::string UnitName(int unitsIndex) {
    switch (unitsIndex) {
        case 1:
            return "mm";
        case 2:
            return "in";
        case 4:
            return "user units";
        default:
            return "px";
    }
}

}  // namespace

const std::vector<std::string>& LogColumns() {
    static const std::vector<std::string> columns = {
        "No",       "Date",  "Time",  "Instance",    "Measured",      "X",          "Y",
        "Distance", "Angle", "Units", "Uncertainty", "Uncertainty %", "Calibration"};
    return columns;
}

std::vector<std::string> LogFields(const LogRow& row) {
    return {std::to_string(row.number),
            row.date,
            row.time,
            row.instance,
            row.crosshairs ? "Crosshairs" : "Black Marks",
            row.x,
            row.y,
            row.distance,
            row.angle,
            row.units,
            row.uncertainty,
            row.uncertaintyPercent,
            row.calibration};
}

std::string CsvRecord(const std::vector<std::string>& fields) {
    std::string out;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) out += ',';
        const std::string& f = fields[i];
        const bool quote = f.find_first_of(",\"\r\n") != std::string::npos ||
                           (!f.empty() && (f.front() == ' ' || f.back() == ' '));
        if (!quote) {
            out += f;
            continue;
        }
        out += '"';
        for (char c : f) {
            if (c == '"') out += '"';
            out += c;
        }
        out += '"';
    }
    out += "\r\n";
    return out;
}

std::string ClipboardRows(const std::vector<LogRow>& rows, char decimal) {
    auto cell = [](std::string text) {
        std::replace_if(
            text.begin(), text.end(), [](char c) { return c == '\t' || c == '\r' || c == '\n'; },
            ' ');
        return text;
    };
    std::string out;
    auto line = [&](const std::vector<std::string>& fields, bool figures) {
        for (std::size_t i = 0; i < fields.size(); ++i) {
            if (i > 0) out += '\t';
            std::string text = cell(fields[i]);
            if (figures && IsFigure(i)) std::replace(text.begin(), text.end(), '.', decimal);
            out += text;
        }
        out += "\r\n";
    };
    line(LogColumns(), false);
    for (const LogRow& row : rows) line(LogFields(row), true);
    return out;
}

bool ReadingNow(Program& p, int number, LogRow& row) {
    auto& g = p.g();
    if (!g.MeasurementModeOn) return false;
    row = LogRow{};
    row.number = number;
    const LocalTime now = p.platform().Now();
    row.date = std::to_string(now.date.year) + "-" + TwoDigits(now.date.month) + "-" +
               TwoDigits(now.date.day);
    row.time = TwoDigits(now.hour) + ":" + TwoDigits(now.minute) + ":" + TwoDigits(now.second);
    row.instance = g.ConfigBaseName;
    row.units = UnitName(g.MeasUnitsIndex);
    if (g.MeasUnitsIndex == 4 && !g.CalibrationName.empty()) {
        row.calibration = g.CalibrationName;
        if (!g.CalibrationUnit.empty()) row.units = g.CalibrationUnit;
    }
    row.crosshairs = g.CrossActive;
    if (g.CrossActive) {
        const PairMeasure m = MeasurePair(g.CrossX[0], g.CrossY[0], g.CrossX[1], g.CrossY[1],
                                          p.TwipsPerPixelX(), g.PixelsPerUnit, g.UnitsCode);
        if (!m.valid) return true;
        row.distance = m.dText;
        if (m.full) {
            row.x = m.xText;
            row.y = m.yText;
            row.angle = m.aText;
        } else {
            // Level or plumb: the distance is all of one and none of the other.
            (m.x >= 0.5 ? row.x : row.y) = m.dText;
            (m.x >= 0.5 ? row.y : row.x) = "0";
        }
        return true;
    }
    const MainWindow::MarksReading marks = p.mainWindow().ReadMarks(true);
    if (!marks.valid) return true;
    row.distance = marks.distance;
    // The marks measure along the ruler.
    (g.IsHorizontal != 0 ? row.x : row.y) = marks.distance;
    (g.IsHorizontal != 0 ? row.y : row.x) = "0";
    row.uncertainty = marks.error;
    row.uncertaintyPercent = marks.percent.empty() && !marks.error.empty() ? "0.0" : marks.percent;
    return true;
}

std::vector<LogRow> ParseLog(const std::string& text) {
    std::vector<LogRow> rows;
    const std::string header = CsvRecord(LogColumns());
    if (text.compare(0, header.size(), header) != 0) return rows;
    std::size_t at = header.size();
    std::vector<std::string> fields;
    std::string field;
    while (at < text.size()) {
        // One record: fields up to a line break outside quotes.
        fields.clear();
        field.clear();
        bool quoted = false, ended = false;
        for (; at < text.size() && !ended; ++at) {
            const char c = text[at];
            if (quoted) {
                if (c != '"') {
                    field += c;
                } else if (at + 1 < text.size() && text[at + 1] == '"') {
                    field += '"';
                    ++at;
                } else {
                    quoted = false;
                }
            } else if (c == '"') {
                quoted = true;
            } else if (c == ',') {
                fields.push_back(std::move(field));
                field.clear();
            } else if (c == '\n') {
                ended = true;
            } else if (c != '\r') {
                field += c;
            }
        }
        fields.push_back(std::move(field));
        if (!ended || fields.size() != LogColumns().size()) continue;
        LogRow row;
        char* end = nullptr;
        const long number = std::strtol(fields[0].c_str(), &end, 10);
        if (fields[0].empty() || *end != '\0' || number < 1 || number > 1'000'000'000) continue;
        row.number = static_cast<int>(number);
        row.date = fields[1];
        row.time = fields[2];
        row.instance = fields[3];
        row.crosshairs = fields[4] == "Crosshairs";
        row.x = fields[5];
        row.y = fields[6];
        row.distance = fields[7];
        row.angle = fields[8];
        row.units = fields[9];
        row.uncertainty = fields[10];
        row.uncertaintyPercent = fields[11];
        row.calibration = fields[12];
        rows.push_back(std::move(row));
    }
    return rows;
}

void LoadLog(Program& p) {
    const std::string& config = p.g().ConfigPath;
    if (config.empty()) return;
    // A hundred thousand readings are about 10 MB.
    const auto text = p.platform().ReadFile(LogFileOf(config), std::size_t{64} << 20);
    if (!text) return;
    for (LogRow& row : ParseLog(*text)) p.log().Add(std::move(row));
}

std::string LogFileOf(const std::string& configPath) {
    std::string base = configPath;
    const std::size_t name = base.find_last_of("/\\");
    const std::size_t dot = base.rfind('.');
    if (dot != std::string::npos && (name == std::string::npos || dot > name)) base.erase(dot);
    return base + "-measurements.csv";
}

bool RecordReading(Program& p) {
    MeasurementLog& log = p.log();
    LogRow row;
    if (!ReadingNow(p, log.NextNumber(), row)) return false;
    const std::string& config = p.g().ConfigPath;
    if (log.FileProblem().empty() && !config.empty()) {
        const std::string file = LogFileOf(config);
        const AppendResult done =
            p.platform().AppendToLog(file, CsvRecord(LogColumns()), CsvRecord(LogFields(row)));
        if (done == AppendResult::Refused || done == AppendResult::Failed) {
            log.SetFileProblem(done == AppendResult::Refused
                                   ? file + " is a link, a special file, a file of several names, "
                                            "another user's or not a log of this program's"
                                   : file + " cannot be written");
            std::cerr << "tavrolin: " << log.FileProblem()
                      << ": measurements are kept only while the program runs\n";
        }
    }
    log.Add(std::move(row));
    return true;
}

void MeasurementLog::Add(LogRow row) {
    next_ = std::max(next_, row.number + 1);
    rows_.push_back(std::move(row));
}

void MeasurementLog::Remove(std::vector<std::size_t> indexes) {
    std::sort(indexes.begin(), indexes.end());
    indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
    for (auto it = indexes.rbegin(); it != indexes.rend(); ++it) {
        if (*it < rows_.size()) rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(*it));
    }
}

}  // namespace tavrolin
