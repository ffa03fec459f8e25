// Any bytes as the files a user or a crash may leave beside the settings: the measurement log,
// the calibration library and the monitors' densities. Reading never fails; every row read is
// written back to the same row, every calibration read is one that could be kept, and every
// density read is within what the user may set.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "control/Calibrations.h"
#include "control/MeasurementLog.h"
#include "control/MonitorScales.h"

using namespace tavrolin;

namespace {

bool SameRow(const LogRow& a, const LogRow& b) { return LogFields(a) == LogFields(b); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string header = CsvRecord(LogColumns());

    // The log: the bytes after a good header, as a crash may have cut them.
    for (const LogRow& row : ParseLog(header + bytes)) {
        FUZZ_CHECK(row.number >= 1);
        const auto again = ParseLog(header + CsvRecord(LogFields(row)));
        FUZZ_CHECK(again.size() == 1 && SameRow(again.front(), row));
        // A spreadsheet's copy has one line a row whatever the texts hold.
        const std::string copied = ClipboardRows({row}, ',');
        std::size_t lines = 0;
        for (char c : copied) lines += c == '\n';
        FUZZ_CHECK(lines == 2);
    }

    // The library, with its header and without.
    for (const std::string& text : {CalibrationHeader() + bytes, bytes}) {
        const CalibrationLibrary library = ParseCalibrations(text);
        for (const Calibration& c : library.items) {
            CalibrationLibrary empty;
            FUZZ_CHECK(CalibrationProblem(c, empty).empty());
            const CalibrationLibrary again =
                ParseCalibrations(CalibrationHeader() + CalibrationLine(c));
            FUZZ_CHECK(again.items.size() == 1 && again.damagedLines == 0);
            FUZZ_CHECK(CalibrationLine(again.items.front()) == CalibrationLine(c));
        }
    }

    // The monitors' densities.
    const auto scales = ParseMonitorScales(bytes);
    for (const auto& [id, value] : scales) {
        FUZZ_CHECK(value >= kMinPixelsPer100mm && value <= kMaxPixelsPer100mm);
        FUZZ_CHECK(id.find('\n') == std::string::npos && id.find('\t') == std::string::npos);
    }
    FUZZ_CHECK(ParseMonitorScales(MonitorScalesText(scales)).size() == scales.size());
    return 0;
}
