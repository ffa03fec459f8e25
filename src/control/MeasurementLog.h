// The measurement log: each reading the user records, as the read-outs showed it, and the two
// ways it leaves the program: CSV records for a file, and tab-separated rows for a spreadsheet.
#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace tavrolin {

class Program;

// One recorded reading. The figures are the texts the read-outs showed, with "." as decimal
// point; a figure that was not measured is empty.
struct LogRow {
    int number = 0;           // 1 for the first row of a log
    std::string date;         // "2026-12-09"
    std::string time;         // "21:53:28"
    std::string instance;     // the settings file's name without ".cfg": "Tavrolin", "TavrolinABCD"
    bool crosshairs = false;  // measured by the crosshairs, else by the ruler's black marks
    std::string x, y, distance, angle;
    std::string units;  // "mm", "in", "px", or the user units' name
    // The scale bar's uncertainty carried into the distance: "3.0" and "2.0"; empty when none
    // is shown.
    std::string uncertainty, uncertaintyPercent;
    std::string calibration;  // the calibration's name; empty while none is named
};

// The column names, in the order of every record and row.
const std::vector<std::string>& LogColumns();
// The columns that hold figures, which a spreadsheet must read as numbers.
bool IsFigureColumn(std::size_t column);

// One CSV record, "\r\n" at its end: fields separated by commas, a field that holds a comma, a
// quote, a line break or a leading or trailing blank quoted with its quotes doubled.
std::string CsvRecord(const std::vector<std::string>& fields);
// The fields of a row in column order.
std::vector<std::string> LogFields(const LogRow& row);
// One field of a row: LogFields(row)[column] without the others; empty beyond the columns.
std::string LogField(const LogRow& row, std::size_t column);

// Rows for the clipboard: a header row and one row each, cells separated by tabs and rows by
// "\r\n". The figures take `decimal` as their decimal separator, so that a spreadsheet of the
// user's language reads them as numbers; tabs and line breaks within a text become blanks.
std::string ClipboardRows(const std::vector<LogRow>& rows, char decimal);

// The reading the read-outs show now, numbered `number`, or a row with no distance when nothing
// can be read (the scale bar not calibrated). Outside Measurement Mode there is none: false.
bool ReadingNow(Program& program, int number, LogRow& row);

// The rows of a log file's text, as CsvRecord wrote them: nothing unless it begins with the
// header; a record that is not a row (damaged, cut short by a crash) is passed over.
std::vector<LogRow> ParseLog(const std::string& text);

// The rows the instance's log file holds, taken into the program's log at start.
void LoadLog(Program& program);

// The log file of the instance whose settings file is `configPath`: beside it, named after it
// ("Tavrolin.cfg": "Tavrolin-measurements.csv").
std::string LogFileOf(const std::string& configPath);

// Records the reading now shown, as Enter on the ruler or on a crosshair in use does, and adds
// it to the instance's log file at once. A log file that cannot take it is said once, on
// stderr and in the Measurements window, and the log goes on in memory. False outside
// Measurement Mode.
bool RecordReading(Program& program);

// Removes rows of the log (Delete in the Measurements window), or all of them (`all`: the log
// is cleared and numbers start again at 1). The log file is not rewritten: it is set aside
// under a dated name ("Tavrolin-measurements-2026-12-10-091502.csv") and the rows that remain
// go into a new one. Returns what the user is told: where the earlier rows are kept, or why the
// file was left alone.
std::string RemoveReadings(Program& program, const std::vector<std::size_t>& indexes, bool all);

// Writes `rows` as a CSV file at `path`, the user's choice in the save dialog: a file there
// is replaced whole (keeping its permissions), never the log file itself. Returns why it could
// not, or empty.
std::string SaveReadings(Program& program, const std::vector<LogRow>& rows,
                         const std::string& path);

class MeasurementLog {
public:
    const std::vector<LogRow>& Rows() const { return rows_; }
    // The number the next row gets.
    int NextNumber() const { return next_; }
    void Add(LogRow row);
    // Removes the rows at these indexes (ascending or not; out of range ignored). Numbers are
    // kept: a deleted row's number is not given again.
    void Remove(std::vector<std::size_t> indexes);
    // No rows; the next is number 1 again.
    void Clear();
    // Why the rows no longer reach the log file; empty while they do.
    const std::string& FileProblem() const { return fileProblem_; }
    void SetFileProblem(std::string why) { fileProblem_ = std::move(why); }
    // The file's problem has been shown to the user.
    bool ProblemTold() const { return problemTold_; }
    void SetProblemTold() { problemTold_ = true; }

private:
    std::vector<LogRow> rows_;
    int next_ = 1;
    std::string fileProblem_;
    bool problemTold_ = false;
};

}  // namespace tavrolin
