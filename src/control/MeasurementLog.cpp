#include "control/MeasurementLog.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <utility>

#include "app/Program.h"
#include "control/MainWindow.h"
#include "control/MeasurementsWindow.h"
#include "control/MonitorScales.h"
#include "crosshair/Measure.h"
#include "platform/Platform.h"

namespace tavrolin {

namespace {

std::string TwoDigits(int n) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02d", std::clamp(n, 0, 99));
    return buf;
}

std::string NameOnly(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
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

bool IsFigureColumn(std::size_t column) {
    return column == 0 || (column >= 5 && column <= 8) || column == 10 || column == 11;
}

const std::vector<std::string>& LogColumns() {
    static const std::vector<std::string> columns = {
        "No",       "Date",  "Time",  "Instance",    "Measured",      "X",          "Y",
        "Distance", "Angle", "Units", "Uncertainty", "Uncertainty %", "Calibration"};
    return columns;
}

std::string LogField(const LogRow& row, std::size_t column) {
    switch (column) {
        case 0: return std::to_string(row.number);
        case 1: return row.date;
        case 2: return row.time;
        case 3: return row.instance;
        case 4: return row.crosshairs ? "Crosshairs" : "Black Marks";
        case 5: return row.x;
        case 6: return row.y;
        case 7: return row.distance;
        case 8: return row.angle;
        case 9: return row.units;
        case 10: return row.uncertainty;
        case 11: return row.uncertaintyPercent;
        case 12: return row.calibration;
        default: return {};
    }
}

std::vector<std::string> LogFields(const LogRow& row) {
    std::vector<std::string> fields;
    fields.reserve(LogColumns().size());
    for (std::size_t i = 0; i < LogColumns().size(); ++i) fields.push_back(LogField(row, i));
    return fields;
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
            if (figures && IsFigureColumn(i)) std::replace(text.begin(), text.end(), '.', decimal);
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
                                          p.TwipsPerPixelX(), CrossUnitPixels(p), g.UnitsCode);
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
            // The window says it by the file's name; the full path goes to stderr.
            const std::string name = NameOnly(file);
            log.SetFileProblem(done == AppendResult::Refused
                                   ? name + " is a link, a special file, a file of several names, "
                                            "another user's or not a log of this program's"
                                   : name + " cannot be written");
            std::cerr << "tavrolin: " << file << ": " << log.FileProblem().substr(name.size() + 1)
                      << ": measurements are kept only while the program runs\n";
        }
    }
    log.Add(std::move(row));
    if (!log.FileProblem().empty() && !log.ProblemTold()) {
        log.SetProblemTold();
        OpenMeasurements(p);
    }
    if (p.MeasurementsShown()) p.measurements().ShowRows();
    return true;
}

namespace {

// "Tavrolin-measurements.csv" set aside as "Tavrolin-measurements-2026-12-10-091502.csv", or
// with "-2" and on when that name is taken. Empty when it could not be.
std::string SetLogAside(Program& p, const std::string& file) {
    const LocalTime t = p.platform().Now();
    std::string stem = file.substr(0, file.size() - 4) + "-" + std::to_string(t.date.year) + "-" +
                       TwoDigits(t.date.month) + "-" + TwoDigits(t.date.day) + "-" +
                       TwoDigits(t.hour) + TwoDigits(t.minute) + TwoDigits(t.second);
    for (int n = 1; n < 100; ++n) {
        std::string aside = stem;
        if (n > 1) aside += '-' + std::to_string(n);
        aside += ".csv";
        if (p.platform().Inspect(aside).exists) continue;
        if (p.platform().RenameAside(file, aside)) return aside;
    }
    return {};
}

}  // namespace

std::string RemoveReadings(Program& p, const std::vector<std::size_t>& indexes, bool all) {
    MeasurementLog& log = p.log();
    const std::size_t before = log.Rows().size();
    if (all) {
        log.Clear();
    } else {
        log.Remove(indexes);
    }
    const std::size_t removed = before - log.Rows().size();
    if (removed == 0 && !all) return {};
    const std::string counted = std::to_string(removed) + (removed == 1 ? " row" : " rows");
    const std::string& config = p.g().ConfigPath;
    if (!log.FileProblem().empty() || config.empty()) {
        return counted + " removed here; the log file was left as it is.";
    }
    const std::string file = LogFileOf(config);
    if (!p.platform().Inspect(file).exists) return counted + " removed.";
    // Only a log of this program's is set aside: the same checks as an append, with nothing
    // appended.
    const std::string header = CsvRecord(LogColumns());
    if (p.platform().AppendToLog(file, header, "") != AppendResult::Appended) {
        log.SetFileProblem(NameOnly(file) + " is not a log this program may change");
        return counted + " removed here; " + log.FileProblem() + ", so it was left as it is.";
    }
    const std::string aside = SetLogAside(p, file);
    if (aside.empty()) {
        return counted + " removed here; " + NameOnly(file) +
               " could not be set aside and keeps them.";
    }
    std::string text;
    for (const LogRow& row : log.Rows()) text += CsvRecord(LogFields(row));
    if (!text.empty() &&
        p.platform().AppendToLog(file, header, text) != AppendResult::Created) {
        log.SetFileProblem(NameOnly(file) + " cannot be written");
    }
    return counted + " removed; the earlier log is kept as " + NameOnly(aside) + ".";
}

std::string SaveReadings(Program& p, const std::vector<LogRow>& rows, const std::string& path) {
    if (path.empty()) return "No file was chosen.";
    const std::string& config = p.g().ConfigPath;
    if (!config.empty() && path == LogFileOf(config)) {
        return "The log file itself is never written over: choose another name.";
    }
    std::string text = CsvRecord(LogColumns());
    for (const LogRow& row : rows) text += CsvRecord(LogFields(row));
    if (!p.platform().WriteFileAtomic(path, text)) return NameOnly(path) + " could not be written.";
    return {};
}

void MeasurementLog::Add(LogRow row) {
    next_ = std::max(next_, row.number + 1);
    rows_.push_back(std::move(row));
}

void MeasurementLog::Clear() {
    rows_.clear();
    next_ = 1;
}

void MeasurementLog::Remove(std::vector<std::size_t> indexes) {
    std::sort(indexes.begin(), indexes.end());
    indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
    for (auto it = indexes.rbegin(); it != indexes.rend(); ++it) {
        if (*it < rows_.size()) rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(*it));
    }
}

}  // namespace tavrolin
