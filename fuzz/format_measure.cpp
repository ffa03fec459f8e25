// Extreme doubles through the read-outs' formatting and the pair arithmetic: NaN, infinities,
// 1e308, denormals and negatives give a plain decimal text and never a fault.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

#include "FuzzCheck.h"
#include "crosshair/Measure.h"

using namespace tavrolin;

namespace {

double Pick(const std::uint8_t* p, std::uint8_t selector) {
    static const double kSpecial[] = {
        std::numeric_limits<double>::quiet_NaN(),
        std::numeric_limits<double>::infinity(),
        -std::numeric_limits<double>::infinity(),
        1e308,
        -1e308,
        std::numeric_limits<double>::max(),
        std::numeric_limits<double>::denorm_min(),
        -std::numeric_limits<double>::denorm_min(),
        std::numeric_limits<double>::min(),
        0.0,
        -0.0,
        0.5,
        9999.95,
        0.00005,
        -1,
        2.675,
    };
    if (selector < 16) return kSpecial[selector];
    double v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

void CheckText(const std::string& s) {
    FUZZ_CHECK(!s.empty());
    FUZZ_CHECK(s.size() <= 400);
    int points = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '.') ++points;
        FUZZ_CHECK((c >= '0' && c <= '9') || c == '.' || (c == '-' && i == 0));
    }
    FUZZ_CHECK(points <= 1);
    FUZZ_CHECK(s != "-0");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 20) return 0;
    double value = Pick(data, data[16] % 32);
    const double other = Pick(data + 8, data[17] % 32);
    int code = static_cast<std::int8_t>(data[18]);
    CheckText(FormatMeasure(value, code, other));
    for (const char* pattern : {"0", "0.0", "0.0#", "0.0##", "0.0#########"}) {
        CheckText(FormatNumber(value, pattern));
    }

    std::int32_t pos[4];
    for (int i = 0; i < 4; ++i) {
        std::uint32_t u = 0;
        for (int b = 0; b < 4; ++b) u = (u << 8) | data[(i * 4 + b) % 16];
        std::int32_t v;
        std::memcpy(&v, &u, sizeof v);
        pos[i] = v;
    }
    const double tpp = data[19] % 2 ? 15 : Pick(data, data[19] % 16);
    const double factor = Pick(data + 8, data[18] % 24);
    const PairMeasure m = MeasurePair(pos[0], pos[1], pos[2], pos[3], tpp, factor, (data[17] % 5));
    if (m.valid) {
        for (const std::string* s : {&m.dText}) CheckText(*s);
        if (m.full) {
            CheckText(m.xText);
            CheckText(m.yText);
            CheckText(m.aText);
        }
    }
    const double calibrated = CalibrateUnits(pos[0], pos[1], pos[2], pos[3], tpp, value);
    FUZZ_CHECK(!std::isnan(calibrated));
    return 0;
}
