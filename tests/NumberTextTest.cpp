#include <gtest/gtest.h>

#include <cfloat>
#include <clocale>
#include <cmath>
#include <limits>
#include <string>

#include "settings/NumberText.h"

using namespace tavrolin;

TEST(NumberText, RoundHalfEvenSendsHalvesToTheEvenNeighbourAndSaturates) {
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(3.5), 4);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
    EXPECT_EQ(RoundHalfEven(2812.5), 2812);
    EXPECT_EQ(RoundHalfEven(1e300), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(RoundHalfEven(-INFINITY), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(RoundHalfEven(NAN), 0);
}

TEST(NumberText, PrintNumberGivesTheBlankSignedShortestForm) {
    EXPECT_EQ(PrintNumber(40), " 40 ");
    EXPECT_EQ(PrintNumber(-1), "-1 ");
    EXPECT_EQ(PrintNumber(0), " 0 ");
    EXPECT_EQ(PrintNumber(-0.0), " 0 ");
    EXPECT_EQ(PrintNumber(56.69), " 56.69 ");
    EXPECT_EQ(PrintNumber(0.5), " .5 ");
    EXPECT_EQ(PrintNumber(-0.25), "-.25 ");
    EXPECT_EQ(PrintNumber(1440), " 1440 ");
    EXPECT_EQ(PrintNumber(11184810), " 11184810 ");
    EXPECT_EQ(PrintNumber(0.1 + 0.2), " .3 ");  // noise past 15 digits is not written
}

TEST(NumberText, PrintNumberSwitchesToExponentFormOutsideItsPlainRange) {
    EXPECT_EQ(PrintNumber(1e20), " 1E+20 ");
    EXPECT_EQ(PrintNumber(1.5e-5), " 1.5E-05 ");
    EXPECT_EQ(PrintNumber(-1.5e-5), "-1.5E-05 ");
    EXPECT_EQ(PrintNumber(0.0001), " .0001 ");
    EXPECT_EQ(PrintNumber(999999999999999.0), " 999999999999999 ");
    EXPECT_EQ(PrintNumber(1e15), " 1E+15 ");
    EXPECT_EQ(PrintNumber(1e300), " 1E+300 ");
    EXPECT_EQ(PrintNumber(DBL_MAX), " 1.79769313486232E+308 ");
}

TEST(NumberText, PrintNumberInSinglePrecisionKeepsSevenDigits) {
    EXPECT_EQ(PrintNumber(1507.25, 7), " 1507.25 ");
    EXPECT_EQ(PrintNumber(1234567.8, 7), " 1234568 ");
    EXPECT_EQ(PrintNumber(9999999, 7), " 9999999 ");
    EXPECT_EQ(PrintNumber(9999999.6, 7), " 1E+07 ");
    EXPECT_EQ(PrintNumber(0.1, 7), " .1 ");  // not the single's binary noise
}

TEST(NumberText, PrintNumberWritesNonFiniteValuesAsZero) {
    EXPECT_EQ(PrintNumber(NAN), " 0 ");
    EXPECT_EQ(PrintNumber(INFINITY), " 0 ");
    EXPECT_EQ(PrintNumber(-INFINITY, 7), " 0 ");
}

TEST(NumberText, PrintNumberIgnoresTheUserLocale) {
    // Qt programs switch to the user's locale at start; a comma decimal point must not leak in.
    const char* old = std::setlocale(LC_NUMERIC, nullptr);
    std::string saved = old ? old : "C";
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8") && !std::setlocale(LC_NUMERIC, "fr_FR.UTF-8")) {
        GTEST_SKIP() << "no locale with a decimal comma installed";
    }
    EXPECT_EQ(PrintNumber(56.69), " 56.69 ");
    EXPECT_EQ(Val("56.69"), 56.69);
    EXPECT_EQ(ShortestDecimal(7.5), "7.5");
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(NumberText, PrintZonesStartsEachItemAtTheNextFourteenColumnZone) {
    EXPECT_EQ(PrintZones({"2026", "12", "07", "Date when launched."}),
              "2026" + std::string(10, ' ') + "12" + std::string(12, ' ') + "07" +
                  std::string(12, ' ') + "Date when launched.");
    EXPECT_EQ(PrintZones({std::string(13, 'x'), "K"}), std::string(13, 'x') + " K");
    EXPECT_EQ(PrintZones({std::string(14, 'x'), "K"}), std::string(14, 'x') + std::string(14, ' ') + "K");
    EXPECT_EQ(PrintZones({"", "K"}), std::string(14, ' ') + "K");
    EXPECT_EQ(PrintZones({"only"}), "only");
}

TEST(NumberText, ValReadsTheLeadingNumber) {
    EXPECT_EQ(Val("12abc"), 12);
    EXPECT_EQ(Val(".5"), 0.5);
    EXPECT_EQ(Val("  -3.25 rest"), -3.25);
    EXPECT_EQ(Val("\t+7"), 7);
    EXPECT_EQ(Val(" 1E+20 "), 1e20);
    EXPECT_EQ(Val("1.5d-5"), 1.5e-5);
    EXPECT_EQ(Val("1.2.3"), 1.2);
    EXPECT_EQ(Val("5e"), 5);   // a bare exponent letter ends the number
    EXPECT_EQ(Val("5e+x"), 5);
    EXPECT_EQ(Val("000123.4500"), 123.45);
    EXPECT_EQ(Val("0.000000000000000000000000001"), 1e-27);
}

TEST(NumberText, ValGivesZeroWhenThereIsNoNumber) {
    EXPECT_EQ(Val(""), 0);
    EXPECT_EQ(Val("abc"), 0);
    EXPECT_EQ(Val("-"), 0);
    EXPECT_EQ(Val("."), 0);
    EXPECT_EQ(Val("E5"), 0);
    EXPECT_FALSE(std::signbit(Val("-0")));
}

TEST(NumberText, ValSaturatesInsteadOfOverflowing) {
    EXPECT_EQ(Val("1e400"), DBL_MAX);
    EXPECT_EQ(Val("-1e400"), -DBL_MAX);
    EXPECT_EQ(Val("1e99999999999999999999"), DBL_MAX);
    EXPECT_EQ(Val("1e-400"), 0);
    EXPECT_EQ(Val("1.8e308"), DBL_MAX);
    EXPECT_EQ(Val(std::string(5000, '9')), DBL_MAX);
    EXPECT_EQ(Val("0." + std::string(5000, '0') + "1"), 0);
    EXPECT_DOUBLE_EQ(Val("1" + std::string(2000, '0') + "e-2000"), 1);
}

TEST(NumberText, IsNumericWantsTheWholeTextToBeOneNumber) {
    EXPECT_TRUE(IsNumeric("1e5"));
    EXPECT_TRUE(IsNumeric("  -.5  "));
    EXPECT_TRUE(IsNumeric("40"));
    EXPECT_TRUE(IsNumeric("1."));
    EXPECT_FALSE(IsNumeric(""));
    EXPECT_FALSE(IsNumeric("   "));
    EXPECT_FALSE(IsNumeric("."));
    EXPECT_FALSE(IsNumeric("-"));
    EXPECT_FALSE(IsNumeric("12a"));
    EXPECT_FALSE(IsNumeric("1e"));
    EXPECT_FALSE(IsNumeric("1 2"));
    EXPECT_FALSE(IsNumeric(std::string("1\0", 2)));
}

TEST(NumberText, ShortestDecimalWritesPlainDigitsWithALeadingZero) {
    EXPECT_EQ(ShortestDecimal(0.5), "0.5");
    EXPECT_EQ(ShortestDecimal(7.5), "7.5");
    EXPECT_EQ(ShortestDecimal(12), "12");
    EXPECT_EQ(ShortestDecimal(-3), "-3");
    EXPECT_EQ(ShortestDecimal(0.0001), "0.0001");
    EXPECT_EQ(ShortestDecimal(0.1 + 0.2), "0.30000000000000004");
    EXPECT_EQ(ShortestDecimal(123456789012345.0), "123456789012345");
    EXPECT_EQ(ShortestDecimal(-0.0), "0");
    EXPECT_EQ(ShortestDecimal(NAN), "0");
}

TEST(NumberText, ShortestDecimalReadsBackAsTheSameValue) {
    for (double v : {1e20, 1.5e-7, 56.69, 1.0 / 3, DBL_MAX, 1e15, 4.9e-324}) {
        std::string text = ShortestDecimal(v);
        EXPECT_EQ(Val(text), v) << text;
        EXPECT_TRUE(IsNumeric(text)) << text;
    }
}
