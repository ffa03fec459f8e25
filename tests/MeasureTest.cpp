#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "crosshair/Measure.h"

using namespace tavrolin;

namespace {
std::string Fm(double value, int code, double other = -1) {
    return FormatMeasure(value, code, other);
}
}  // namespace

TEST(FormatMeasure, FixedCodesGiveTheirPatterns) {
    EXPECT_EQ(Fm(3, 0), "3");
    EXPECT_EQ(Fm(2.5, 0), "3");  // half away from zero, not to even
    EXPECT_EQ(Fm(3, 1), "3.0");
    EXPECT_EQ(Fm(3.14159, 1), "3.1");
    EXPECT_EQ(Fm(3, 2), "3.0");
    EXPECT_EQ(Fm(3.14159, 2), "3.14");
    EXPECT_EQ(Fm(3.1, 2), "3.1");
    EXPECT_EQ(Fm(3.14159, 3), "3.142");
    EXPECT_EQ(Fm(0.5, 3), "0.5");
}

TEST(FormatMeasure, MagnitudeCodeFollowsTheLargerOfValueAndOther) {
    EXPECT_EQ(MeasurePattern(4, 12.5, 0.05), "0.0##");
    EXPECT_EQ(MeasurePattern(4, 0.05, 12.5), "0.0##");
    EXPECT_EQ(MeasurePattern(4, 0.00005, 0.00002), "0.0#########");
    EXPECT_EQ(MeasurePattern(4, 0.00005, -1), "0.0#########");
    EXPECT_EQ(Fm(0.00001234567891, 4), "0.0000123457");
    EXPECT_EQ(Fm(12.3456, 5, 0.05), "12.346");
}

TEST(FormatMeasure, EachLowerBoundBelongsToItsOwnRow) {
    const double bounds[] = {10000, 1000, 100, 10, 1, 0.1, 0.01, 0.001, 0.0001};
    const char* patterns[] = {"0",         "0.0",        "0.0#",        "0.0##",        "0.0###",
                              "0.0####",   "0.0#####",   "0.0######",   "0.0#######"};
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(MeasurePattern(4, bounds[i], -1), patterns[i]) << bounds[i];
        EXPECT_EQ(MeasurePattern(4, 0, bounds[i]), patterns[i]) << bounds[i];
        const char* below = i + 1 < 9 ? patterns[i + 1] : "0.0#########";
        EXPECT_EQ(MeasurePattern(4, std::nextafter(bounds[i], 0.0), -1), below) << bounds[i];
    }
}

TEST(FormatNumber, RoundsHalfAwayOnTheDecimalDigitsNotTheBinaryValue) {
    EXPECT_EQ(FormatNumber(2.675, "0.0#"), "2.68");  // the double is 2.67499999...
    EXPECT_EQ(FormatNumber(1.005, "0.0#"), "1.01");
    EXPECT_EQ(FormatNumber(-2.675, "0.0#"), "-2.68");
    EXPECT_EQ(FormatNumber(0.125, "0.0#"), "0.13");
    EXPECT_EQ(FormatNumber(0.1 + 0.2, "0.0#########"), "0.3");
    EXPECT_EQ(FormatNumber(9.995, "0.0#"), "10.0");
    EXPECT_EQ(FormatNumber(99999.5, "0"), "100000");
    EXPECT_EQ(FormatNumber(0.96, "0.0"), "1.0");
}

TEST(FormatNumber, HashDropsTrailingZerosAndZeroKeepsThem) {
    EXPECT_EQ(FormatNumber(12, "0.0##"), "12.0");
    EXPECT_EQ(FormatNumber(12.5, "0.0##"), "12.5");
    EXPECT_EQ(FormatNumber(12.5, "0.00"), "12.50");
    EXPECT_EQ(FormatNumber(0.0004, "0.0#"), "0.0");
    EXPECT_EQ(FormatNumber(0, "0"), "0");
    EXPECT_EQ(FormatNumber(0.5, "#.##"), ".5");
    EXPECT_EQ(FormatNumber(7, "000"), "007");
}

TEST(FormatNumber, NegativesGetALeadingMinusUnlessTheyRoundToZero) {
    EXPECT_EQ(FormatNumber(-3.14159, "0.0#"), "-3.14");
    EXPECT_EQ(FormatNumber(-0.001, "0.0"), "0.0");
    EXPECT_EQ(FormatNumber(-0.0, "0"), "0");
    EXPECT_EQ(FormatNumber(-7, "0"), "-7");
}

TEST(FormatNumber, HugeTinyAndNonFiniteValuesNeverFail) {
    EXPECT_EQ(FormatNumber(1e20, "0"), "100000000000000000000");
    EXPECT_EQ(FormatNumber(1e-300, "0.0#########"), "0.0");
    EXPECT_EQ(FormatNumber(std::numeric_limits<double>::quiet_NaN(), "0.0#"), "0");
    EXPECT_EQ(FormatNumber(std::numeric_limits<double>::infinity(), "0.0#"), "0");
    EXPECT_EQ(FormatNumber(-std::numeric_limits<double>::infinity(), "0"), "0");
    EXPECT_EQ(Fm(std::numeric_limits<double>::quiet_NaN(), 4), "0");
    EXPECT_EQ(Fm(std::numeric_limits<double>::max(), 4).size(), 309u);
}
