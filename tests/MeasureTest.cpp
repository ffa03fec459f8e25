#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
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

TEST(MeasurePair, APairLevelWithinHalfAPixelShowsOnlyTheDirectDistance) {
    // 0.4 pixel down (6 twips at 15 twips per pixel) and 100 pixels across.
    const PairMeasure m = MeasurePair(0, 0, 1500, 6, 15, 1, 0);
    ASSERT_TRUE(m.valid);
    EXPECT_FALSE(m.full);
    EXPECT_EQ(m.ReadoutText(), "100");
    EXPECT_EQ(m.panelText, "100");
}

TEST(MeasurePair, ASkewPairShowsXYDAndTheAngleWithoutATrailingLineBreak) {
    const PairMeasure m = MeasurePair(0, 0, 300 * 15, 400 * 15, 15, 1, 0);
    ASSERT_TRUE(m.full);
    EXPECT_EQ(m.ReadoutText(), "  X: 300\r\n  Y: 400\r\n  D: 500.0\r\n  A: 53.13");
    // D uses the next precision code, in the panel as in the read-out.
    EXPECT_EQ(m.panelText, "500.0");
    // The order of the two crosshairs does not matter.
    EXPECT_EQ(MeasurePair(300 * 15, 400 * 15, 0, 0, 15, 1, 0).ReadoutText(), m.ReadoutText());
}

// A = 90 - atan(X / Y): the rise of the line over the horizontal.
TEST(MeasurePair, TheAngleIsZeroForALevelLineAndNinetyForAPlumbOne) {
    EXPECT_EQ(MeasurePair(0, 0, 1500, 1500, 15, 1, 0).aText, "45.0");
    EXPECT_EQ(MeasurePair(0, 0, 1061, 1061, 15, 1, 0).aText, "45.0");  // 100 pixels diagonally
    EXPECT_EQ(MeasurePair(0, 0, 15000, 15, 15, 1, 0).aText, "0.06");
    EXPECT_EQ(MeasurePair(0, 0, 15, 15000, 15, 1, 0).aText, "89.94");
}

TEST(MeasurePair, UnitsDivideEveryLengthAndTheMagnitudeRuleSeesD) {
    // Millimetres at 15 twips per pixel: 3.779333 pixels per millimetre.
    const PairMeasure mm = MeasurePair(0, 0, 1500, 0, 15, 56.69 / 15, 2);
    EXPECT_EQ(mm.ReadoutText(), "26.46");
    const PairMeasure user = MeasurePair(0, 0, 300 * 15, 400 * 15, 15, 4, 4);
    EXPECT_EQ(user.ReadoutText(), "  X: 75.0\r\n  Y: 100.0\r\n  D: 125.0\r\n  A: 53.13");
}

TEST(MeasurePair, AZeroUnitFactorIsInvalidAndDividesNothing) {
    const PairMeasure m = MeasurePair(0, 0, 1500, 1500, 15, 0, 4);
    EXPECT_FALSE(m.valid);
    EXPECT_EQ(m.ReadoutText(), "Invalid");
    EXPECT_FALSE(MeasurePair(0, 0, 1500, 1500, 15, std::nan(""), 4).valid);
}

TEST(MeasurePair, TheFarthestCornersOfAnyDesktopDoNotOverflow) {
    constexpr auto lo = std::numeric_limits<std::int32_t>::min();
    constexpr auto hi = std::numeric_limits<std::int32_t>::max();
    const PairMeasure m = MeasurePair(lo, lo, hi, hi, 15, 1, 0);
    EXPECT_TRUE(m.full);
    EXPECT_NEAR(m.x, 4294967295.0 / 15, 1e-3);
    EXPECT_NEAR(m.d, std::sqrt(2.0) * 4294967295.0 / 15, 1);
    EXPECT_EQ(m.aText, "45.0");
}

TEST(CalibrateUnits, TwoHundredPixelsOverFiftyUnitsIsFourPixelsPerUnit) {
    EXPECT_DOUBLE_EQ(CalibrateUnits(0, 0, 200 * 15, 0, 15, 50), 4);
    EXPECT_DOUBLE_EQ(CalibrateUnits(0, 0, 120 * 15, 160 * 15, 15, 50), 4);
    // A 100-pixel measurement then reads 25.
    EXPECT_EQ(MeasurePair(0, 0, 1500, 0, 15, 4, 4).ReadoutText(), "25.0");
}

TEST(CalibrateUnits, AZeroNegativeOrMissingScaleDistanceGivesZeroNotADivision) {
    EXPECT_EQ(CalibrateUnits(0, 0, 3000, 0, 15, 0), 0);
    EXPECT_EQ(CalibrateUnits(0, 0, 3000, 0, 15, -5), 0);
    EXPECT_EQ(CalibrateUnits(0, 0, 3000, 0, 15, std::nan("")), 0);
    EXPECT_EQ(CalibrateUnits(0, 0, 3000, 0, 15, std::numeric_limits<double>::infinity()), 0);
}
