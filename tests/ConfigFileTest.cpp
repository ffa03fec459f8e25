#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "settings/ConfigFile.h"
#include "settings/NumberText.h"

using namespace tavrolin;

namespace {

const std::vector<std::string> kKeys = {
    "StartControlMin", "HalfTicks", "PrimaryIndex", "SecondaryIndex", "ColorChoice(0)",
    "ConvertLengthToDisplay", "CenterLength", "PrimaryLength", "SecondaryLength", "TickLength",
    "TickWidth(1)", "TickWidth(2)", "TickWidth(3)", "TickWidth(4)", "ColorChoice(1)",
    "ColorChoice(2)", "ColorChoice(3)", "ColorChoice(4)", "TickSpacing", "ControlTop",
    "ControlLeft", "RulerStartTop", "RulerStartHeight", "RulerStartLeft", "RulerStartWidth",
    "MeasureMode", "1=Horizontal", "ActiveFrame", "MeasLineLength", "MeasUnitsIndex",
    "MeasScaleValue", "MeasScaleUncertainty", "MeasLine1Pos", "MeasLine2Pos", "ScaleLine1Pos",
    "ScaleLine2Pos", "Ruler Transparency", "Crosshair Transparency", "Scale Cross Transparency",
    "Crosshair Color", "Scale Cross Color"};

RulerRect RectOf(const Settings& s) {
    return {double(s.RulerStartTop), double(s.RulerStartHeight), double(s.RulerStartLeft),
            double(s.RulerStartWidth)};
}

// Splits on CR LF; a bare LF or CR inside a line makes the test fail.
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find("\r\n", pos);
        if (end == std::string::npos) {
            ADD_FAILURE() << "last line has no CR LF";
            end = text.size();
        }
        std::string line = text.substr(pos, end - pos);
        EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << line;
        lines.push_back(line);
        pos = end + 2;
    }
    return lines;
}

std::string Join(const std::vector<std::string>& lines, const char* eol = "\r\n") {
    std::string text;
    for (const auto& l : lines) text += l + eol;
    return text;
}

std::string Pad(const std::string& value, const std::string& key) {
    return value + std::string(14 - value.size(), ' ') + key;
}

// Every setting changed from its default, with fractions where the file keeps them.
Settings Unusual() {
    Settings s;
    s.StartControlMin = 1;
    s.HalfTicks = 12;
    s.PrimaryIndex = 5;
    s.SecondaryIndex = 3;
    s.ColorChoice = {0x123456, 0x010203, 0xFFFFFF, 7, 0x808080, 0x0000FF, 0xFF0000};
    s.ConvertLengthToDisplay = 1440;
    s.CenterLength = 2000;
    s.PrimaryLength = 1001;
    s.SecondaryLength = 499;
    s.TickLength = 0;
    s.TickWidth = {0, 5, 4, 2, 100};
    s.TickSpacing = 999999;
    s.ControlTop = 4321;
    s.ControlLeft = 101;
    s.RulerStartTop = 0;
    s.RulerStartHeight = 399999;
    s.RulerStartLeft = 9999999;
    s.RulerStartWidth = 17;
    s.MeasureMode = -1;
    s.IsHorizontal = 1;
    s.ActiveFrame = -7;
    s.MeasLineLength = 32767;
    s.MeasUnitsIndex = 4;
    s.MeasScaleValue = 0.5;
    s.MeasScaleUncertainty = 12.25;
    s.MarkerPos = {11, 22, 33, 44, 0};
    s.RulerTransparency = 255;
    s.CrosshairTransparency = 0;
    s.ScaleCrossTransparency = 77;
    s.LoupeOn = 1;
    s.LoupeZoom = 13;
    s.EdgeTolerance = 100;
    return s;
}

}  // namespace

TEST(ConfigFile, DefaultsFollowTheScreenAndTheControlWindowHeight) {
    Settings s = Settings::Defaults(15, 15, 6000);
    EXPECT_EQ(s.RulerStartHeight, 7500);
    EXPECT_EQ(s.RulerStartWidth, 1500);
    EXPECT_EQ(s.MeasLineLength, 750);
    EXPECT_EQ(s.MarkerPos[0], 1875);
    EXPECT_EQ(s.MarkerPos[1], 5625);
    EXPECT_EQ(s.MarkerPos[2], 2812);  // 2812.5, half to even
    EXPECT_EQ(s.MarkerPos[3], 4688);  // 4687.5
    EXPECT_EQ(s.ControlTop, 2250);
    EXPECT_EQ(s.ControlLeft, 2400);
    EXPECT_EQ(s.CenterLength, 1134);
    EXPECT_EQ(s.PrimaryLength, 567);
    EXPECT_EQ(s.SecondaryLength, 284);
    EXPECT_EQ(s.TickLength, 113);

    Settings hiDpi = Settings::Defaults(12, 10, 2000);
    EXPECT_EQ(hiDpi.RulerStartHeight, 5000);
    EXPECT_EQ(hiDpi.RulerStartWidth, 1200);
    EXPECT_EQ(hiDpi.MeasLineLength, 600);
    EXPECT_EQ(hiDpi.MarkerPos[2], 1875);
    EXPECT_EQ(hiDpi.ControlTop, 3000);
    EXPECT_EQ(hiDpi.ControlLeft, 1950);
}

TEST(ConfigFile, DefaultFileIsByteExact) {
    Settings s = Settings::Defaults(15, 15, 6000);
    std::string text = FormatConfig(s, RectOf(s));
    std::vector<std::string> lines = Lines(text);
    ASSERT_EQ(lines.size(), 45u);

    EXPECT_EQ(text.substr(0, 56), " 0            StartControlMin\r\n 40           HalfTicks\r\n");
    EXPECT_EQ(lines[4], " 11184810     ColorChoice(0)");
    EXPECT_EQ(lines[5], " 56.69        ConvertLengthToDisplay");
    EXPECT_EQ(lines[6], " 1134         CenterLength");
    EXPECT_EQ(lines[14], " 125          ColorChoice(1)");
    EXPECT_EQ(lines[15], " 1351740      ColorChoice(2)");
    EXPECT_EQ(lines[19], " 2250         ControlTop");
    EXPECT_EQ(lines[22], " 7500         RulerStartHeight");
    EXPECT_EQ(lines[30], " 100          MeasScaleValue");
    EXPECT_EQ(lines[39], " 65535        Crosshair Color");
    EXPECT_EQ(lines[41], "Reserved      Reserved");
    // What was added since follows the closing line, which the first 42 lines end with as
    // they always did.
    EXPECT_NE(text.find("Reserved      Reserved\r\n 0            Loupe\r\n 8            LoupeZoom\r\n"
                        " 48           EdgeTolerance\r\n"),
              std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 29), " 48           EdgeTolerance\r\n");
    // Every default of a first start at 96 dots an inch, as the file has always held it.
    const std::vector<std::string> defaults = {
        " 0 ", " 40 ", " 8 ", " 4 ", " 11184810 ", " 56.69 ", " 1134 ", " 567 ", " 284 ", " 113 ",
        " 3 ", " 3 ", " 3 ", " 1 ", " 125 ", " 1351740 ", " 0 ", " 0 ", " 238 ", " 2250 ",
        " 2400 ", " 1500 ", " 7500 ", " 150 ", " 1500 ", " 1 ", " 0 ", " 3 ", " 750 ", " 3 ",
        " 100 ", " 3 ", " 1875 ", " 5625 ", " 2812 ", " 4688 ", " 150 ", " 100 ", " 100 ",
        " 65535 ", " 65280 "};
    ASSERT_EQ(defaults.size(), kKeys.size());
    for (std::size_t i = 0; i < kKeys.size(); ++i) {
        EXPECT_EQ(lines[i].substr(14), kKeys[i]) << "line " << i + 1;
        EXPECT_EQ(lines[i], Pad(defaults[i], kKeys[i])) << "line " << i + 1;
    }
}

TEST(ConfigFile, LockedMeasureModeIsWrittenWithItsOwnKey) {
    Settings s;
    s.MeasureMode = -1;
    EXPECT_EQ(Lines(FormatConfig(s, RectOf(s)))[25], Pad("-1 ", "MeasureMode Locked"));
    s.MeasureMode = 0;
    EXPECT_EQ(Lines(FormatConfig(s, RectOf(s)))[25], Pad(" 0 ", "MeasureMode"));
}

TEST(ConfigFile, ControlPositionBelow101IsWrittenAs1000) {
    Settings s;
    s.ControlTop = 50;
    s.ControlLeft = 100;
    std::vector<std::string> lines = Lines(FormatConfig(s, RectOf(s)));
    EXPECT_EQ(lines[19], Pad("1000", "ControlTop"));
    EXPECT_EQ(lines[20], Pad("1000", "ControlLeft"));

    s.ControlTop = -32000;  // a minimised window
    s.ControlLeft = 101;
    lines = Lines(FormatConfig(s, RectOf(s)));
    EXPECT_EQ(lines[19], Pad("1000", "ControlTop"));
    EXPECT_EQ(lines[20], Pad(" 101 ", "ControlLeft"));
}

TEST(ConfigFile, RulerLinesComeFromTheWindowRectangleInSinglePrecision) {
    Settings s;
    std::vector<std::string> lines = Lines(FormatConfig(s, {1507.25, 1234567.8, -15, 0}));
    EXPECT_EQ(lines[21], Pad(" 1507.25 ", "RulerStartTop"));
    EXPECT_EQ(lines[22], Pad(" 1234568 ", "RulerStartHeight"));
    EXPECT_EQ(lines[23], Pad("-15 ", "RulerStartLeft"));
    EXPECT_EQ(lines[24], Pad(" 0 ", "RulerStartWidth"));

    Settings back;
    ParseConfig(Join(lines), back);
    EXPECT_EQ(back.RulerStartTop, 1507);
    EXPECT_EQ(back.RulerStartHeight, 1234568);
}

TEST(ConfigFile, WriteThenReadReproducesEveryValue) {
    for (double scale : {0.5, 12.25, 0.0, 1e-9, 123456.789}) {
        Settings written = Unusual();
        written.MeasScaleValue = scale;
        std::string text = FormatConfig(written, RectOf(written));

        Settings read = Settings::Defaults(15, 15, 6000);
        ConfigReadReport report = ParseConfig(text, read);
        EXPECT_EQ(report.damagedLines, 0);
        EXPECT_FALSE(report.olderLayout);
        EXPECT_FALSE(report.olderTail);
        EXPECT_FALSE(report.endedEarly);

        EXPECT_EQ(read.MeasScaleValue, scale);
        EXPECT_EQ(read.MeasScaleUncertainty, 12.25);
        EXPECT_EQ(read.ConvertLengthToDisplay, 1440);
        EXPECT_EQ(read.MeasureMode, -1);
        EXPECT_EQ(read.ColorChoice, written.ColorChoice);
        EXPECT_EQ(read.TickWidth, written.TickWidth);
        EXPECT_EQ(read.MarkerPos, written.MarkerPos);
        // The file names every stored value, so equal files mean equal records.
        EXPECT_EQ(FormatConfig(read, RectOf(read)), text);
    }
}

TEST(ConfigFile, ReadingAcceptsBareLineFeedsAndAMissingFinalNewline) {
    Settings written = Unusual();
    std::vector<std::string> lines = Lines(FormatConfig(written, RectOf(written)));
    std::string lf = Join(lines, "\n");
    lf.pop_back();

    Settings read;
    ConfigReadReport report = ParseConfig(lf, read);
    EXPECT_EQ(report.damagedLines, 0);
    EXPECT_FALSE(report.endedEarly);
    EXPECT_EQ(FormatConfig(read, RectOf(read)), Join(lines));
}

TEST(ConfigFile, OlderLayoutLoadsLengthsInInchesAndDefaultTransparencies) {
    Settings written = Unusual();
    std::vector<std::string> lines = Lines(FormatConfig(written, RectOf(written)));
    // The older file: no unit line, lengths in inches, the end line right after the markers.
    std::vector<std::string> older(lines.begin(), lines.begin() + 5);
    older.push_back(" .7875        CenterLength");
    older.push_back(" .39375       PrimaryLength");
    older.push_back(" .197         SecondaryLength");
    older.push_back(" .0785        TickLength");
    older.insert(older.end(), lines.begin() + 10, lines.begin() + 36);
    older.push_back("Reserved      Reserved");
    ASSERT_EQ(older.size(), 36u);

    Settings read = Settings::Defaults(15, 15, 6000);
    read.RulerTransparency = 10;
    read.CrosshairTransparency = 20;
    read.ScaleCrossTransparency = 30;
    read.ColorChoice[kMeasurementCrosshairs] = 1;
    read.ColorChoice[kScaleCrosshairs] = 2;
    ConfigReadReport report = ParseConfig(Join(older), read);

    EXPECT_TRUE(report.olderLayout);
    EXPECT_TRUE(report.olderTail);
    EXPECT_FALSE(report.endedEarly);
    EXPECT_EQ(report.damagedLines, 0);
    EXPECT_EQ(read.ConvertLengthToDisplay, 1440);
    EXPECT_EQ(read.CenterLength, 1134);
    EXPECT_EQ(read.PrimaryLength, 567);
    EXPECT_EQ(read.SecondaryLength, 284);  // 283.68
    EXPECT_EQ(read.TickLength, 113);       // 113.04
    EXPECT_EQ(read.TickWidth, written.TickWidth);
    EXPECT_EQ(read.MarkerPos, written.MarkerPos);
    EXPECT_EQ(read.MeasScaleUncertainty, 12.25);
    EXPECT_EQ(read.RulerTransparency, 150);
    EXPECT_EQ(read.CrosshairTransparency, 100);
    EXPECT_EQ(read.ScaleCrossTransparency, 100);
    EXPECT_EQ(read.ColorChoice[kMeasurementCrosshairs], 0x00FFFF);
    EXPECT_EQ(read.ColorChoice[kScaleCrosshairs], 0x00FF00);
}

TEST(ConfigFile, RulerTransparencyIsReadFromTheFirstFourCharactersOfItsLine) {
    Settings s;
    std::vector<std::string> lines = Lines(FormatConfig(s, RectOf(s)));
    lines[36] = " 1234 Ruler Transparency";
    Settings read;
    ParseConfig(Join(lines), read);
    EXPECT_EQ(read.RulerTransparency, 123);

    lines[36] = "abcd 200";
    read = Settings();
    read.RulerTransparency = 42;
    ConfigReadReport report = ParseConfig(Join(lines), read);
    EXPECT_EQ(read.RulerTransparency, 42);
    EXPECT_EQ(report.damagedLines, 1);
    EXPECT_EQ(read.ColorChoice[kScaleCrosshairs], 0x00FF00);
}

TEST(ConfigFile, DamagedLineKeepsOnlyItsOwnSetting) {
    Settings written = Unusual();
    std::vector<std::string> lines = Lines(FormatConfig(written, RectOf(written)));
    lines[1] = " 4x0          HalfTicks";
    lines[18] = "abc          TickSpacing";
    lines[30] = "";
    lines[3] = "\"3\"           SecondaryIndex";  // a quoted item is still a number
    lines[9] = " 1E+20        TickLength";        // read, clamped later

    Settings read;
    ConfigReadReport report = ParseConfig(Join(lines), read);
    EXPECT_EQ(report.damagedLines, 3);
    EXPECT_FALSE(report.endedEarly);
    EXPECT_EQ(read.HalfTicks, Settings().HalfTicks);
    EXPECT_EQ(read.TickSpacing, Settings().TickSpacing);
    EXPECT_EQ(read.MeasScaleValue, Settings().MeasScaleValue);
    EXPECT_EQ(read.SecondaryIndex, 3);
    EXPECT_EQ(read.TickLength, std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(read.PrimaryIndex, written.PrimaryIndex);
    EXPECT_EQ(read.ControlTop, written.ControlTop);
    EXPECT_EQ(read.ColorChoice, written.ColorChoice);
}

TEST(ConfigFile, DamagedUnitLineIsTakenForThePresentLayout) {
    Settings written = Unusual();
    std::vector<std::string> lines = Lines(FormatConfig(written, RectOf(written)));
    lines[5] = "x            ConvertLengthToDisplay";
    Settings read;
    ConfigReadReport report = ParseConfig(Join(lines), read);
    EXPECT_FALSE(report.olderLayout);
    EXPECT_EQ(report.damagedLines, 1);
    EXPECT_EQ(read.ConvertLengthToDisplay, 56.69);
    EXPECT_EQ(read.CenterLength, 2000);
    EXPECT_EQ(read.PrimaryLength, 1001);
}

TEST(ConfigFile, FileCutShortKeepsEveryLaterSetting) {
    Settings written = Unusual();
    std::string text = FormatConfig(written, RectOf(written));
    std::size_t cut = text.find("TickSpacing");  // inside line 19, after its value
    Settings read = Settings::Defaults(15, 15, 6000);
    ConfigReadReport report = ParseConfig(text.substr(0, cut), read);
    EXPECT_TRUE(report.endedEarly);
    EXPECT_EQ(read.ColorChoice[kOtherTicks], written.ColorChoice[kOtherTicks]);
    EXPECT_EQ(read.TickSpacing, written.TickSpacing);
    EXPECT_EQ(read.ControlTop, 2250);
    EXPECT_EQ(read.RulerTransparency, 150);

    // Without the end line the values are all read, but the file is still reported short.
    std::vector<std::string> lines = Lines(text);
    lines.resize(41);
    read = Settings();
    report = ParseConfig(Join(lines), read);
    EXPECT_TRUE(report.endedEarly);
    EXPECT_EQ(read.ColorChoice, written.ColorChoice);

    // A file written before the loupe ends with the closing line: it is whole, and what it
    // lacks keeps its default. A file cut within the added lines keeps what it has.
    lines = Lines(text);
    lines.resize(42);
    read = Settings();
    report = ParseConfig(Join(lines), read);
    EXPECT_FALSE(report.endedEarly);
    EXPECT_EQ(report.damagedLines, 0);
    EXPECT_EQ(read.ScaleCrossTransparency, 77);
    EXPECT_EQ(read.LoupeOn, 0);
    EXPECT_EQ(read.LoupeZoom, 8);
    EXPECT_EQ(read.EdgeTolerance, 48);
    lines = Lines(text);
    lines.resize(44);
    read = Settings();
    report = ParseConfig(Join(lines), read);
    EXPECT_FALSE(report.endedEarly);
    EXPECT_EQ(read.LoupeOn, 1);
    EXPECT_EQ(read.LoupeZoom, 13);
    EXPECT_EQ(read.EdgeTolerance, 48);
}

TEST(ConfigFile, EmptyFileChangesNothing) {
    Settings read = Unusual();
    ConfigReadReport report = ParseConfig("", read);
    EXPECT_TRUE(report.endedEarly);
    EXPECT_EQ(report.damagedLines, 0);
    EXPECT_EQ(FormatConfig(read, RectOf(read)), FormatConfig(Unusual(), RectOf(Unusual())));
}

TEST(ConfigFile, HugeLinesAreReadOnlyUpToTheSizeLimit) {
    Settings read;
    std::string digits = " 0\r\n" + std::string(4 << 20, '7') + "\r\n 9\r\n";
    ConfigReadReport report = ParseConfig(digits, read);
    EXPECT_EQ(read.StartControlMin, 0);
    EXPECT_EQ(read.HalfTicks, std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(read.PrimaryIndex, Settings().PrimaryIndex);  // beyond the limit
    EXPECT_TRUE(report.endedEarly);

    read = Settings();
    report = ParseConfig(std::string(1 << 20, 'a'), read);
    EXPECT_EQ(report.damagedLines, 1);
    EXPECT_EQ(read.StartControlMin, 0);
}

TEST(ConfigFile, NulBytesAndStrayCarriageReturnsDoNotDerailReading) {
    Settings written = Unusual();
    std::vector<std::string> lines = Lines(FormatConfig(written, RectOf(written)));
    lines[1] = std::string(" 4\0 0", 5);
    std::string text = Join(lines);
    Settings read;
    ConfigReadReport report = ParseConfig(text, read);
    EXPECT_EQ(report.damagedLines, 1);
    EXPECT_EQ(read.PrimaryIndex, written.PrimaryIndex);
    EXPECT_EQ(read.ColorChoice, written.ColorChoice);
}

TEST(ConfigFile, RandomBytesLoadWhatTheyCanAndClampToSafeValues) {
    std::mt19937 rng(20260107);
    const std::string alphabet = "0123456789 .,-+eEdD\r\n\"\tReservd";
    for (int round = 0; round < 400; ++round) {
        std::string text(rng() % 3000, '\0');
        for (char& c : text) {
            c = (round % 2) ? static_cast<char>(rng() & 0xFF) : alphabet[rng() % alphabet.size()];
        }
        Settings s;
        ConfigReadReport report = ParseConfig(text, s);
        EXPECT_GE(report.damagedLines, 0);
        ClampSettings(s, 15);
        EXPECT_GE(s.TickSpacing, 45);
        EXPECT_GE(s.PrimaryIndex, 1);
        EXPECT_GE(s.SecondaryIndex, 1);
        EXPECT_LE(s.RulerStartWidth, 400000);
        EXPECT_TRUE(std::isfinite(s.MeasScaleValue));
        EXPECT_GE(s.ConvertLengthToDisplay, 56.69);
        // Whatever was read, it writes and reads back unchanged.
        std::string again = FormatConfig(s, RectOf(s));
        Settings back = s;
        EXPECT_EQ(ParseConfig(again, back).damagedLines, 0);
    }
}

TEST(ConfigFile, ClampingLeavesSafeValuesAlone) {
    Settings s = Settings::Defaults(15, 15, 6000);
    std::string before = FormatConfig(s, RectOf(s));
    ClampSettings(s, 15);
    EXPECT_EQ(FormatConfig(s, RectOf(s)), before);
}

TEST(ConfigFile, ClampingFixesValuesThatWouldDivideByZeroOrExplode) {
    Settings s;
    s.TickSpacing = 0;
    s.PrimaryIndex = 0;
    s.SecondaryIndex = -4;
    s.HalfTicks = 100000;
    s.CenterLength = -1;
    s.PrimaryLength = -32769;
    s.TickLength = 40000;
    s.TickWidth = {0, 0, 500, -3, 100};
    s.MeasLineLength = 0;
    s.RulerStartWidth = 1'000'000'000;
    s.RulerStartHeight = -5;
    s.RulerStartTop = -15;
    s.ControlLeft = std::numeric_limits<std::int32_t>::max();
    s.MarkerPos = {-1, 500000, 3, 4, 0};
    ClampSettings(s, 15);
    EXPECT_EQ(s.TickSpacing, 45);
    EXPECT_EQ(s.PrimaryIndex, 1);
    EXPECT_EQ(s.SecondaryIndex, 1);
    EXPECT_EQ(s.HalfTicks, 32767);
    EXPECT_EQ(s.CenterLength, 0);
    EXPECT_EQ(s.PrimaryLength, 0);
    EXPECT_EQ(s.TickLength, 32767);
    EXPECT_EQ(s.TickWidth[1], 1);
    EXPECT_EQ(s.TickWidth[2], 100);
    EXPECT_EQ(s.TickWidth[3], 1);
    EXPECT_EQ(s.MeasLineLength, 1);
    EXPECT_EQ(s.RulerStartWidth, 400000);
    EXPECT_EQ(s.RulerStartHeight, 0);
    EXPECT_EQ(s.RulerStartTop, 0);
    EXPECT_EQ(s.ControlLeft, 10'000'000);
    EXPECT_EQ(s.MarkerPos[0], 0);
    EXPECT_EQ(s.MarkerPos[1], 400000);

    Settings huge;
    huge.TickSpacing = 5'000'000;
    ClampSettings(huge, 0);  // an unknown screen still gets a spacing of at least one twip
    EXPECT_EQ(huge.TickSpacing, 1'000'000);
    huge.TickSpacing = 0;
    ClampSettings(huge, 0);
    EXPECT_EQ(huge.TickSpacing, 1);
}

TEST(ConfigFile, ClampingBringsColoursFlagsAndSixteenBitFieldsIntoRange) {
    Settings s;
    s.RulerTransparency = 999;
    s.CrosshairTransparency = -1;
    s.ColorChoice = {0x1000000, -5, 0xFFFFFF, 0, 0, std::numeric_limits<std::int32_t>::min(), 1};
    s.StartControlMin = 7;
    s.IsHorizontal = -1;
    s.MeasureMode = -7;
    s.ActiveFrame = 70000;
    s.MeasUnitsIndex = -70000;
    s.MeasScaleValue = NAN;
    s.MeasScaleUncertainty = 500;
    s.ConvertLengthToDisplay = 10;
    s.LoupeOn = -3;
    s.LoupeZoom = 1;
    s.EdgeTolerance = 765;
    ClampSettings(s, 15);
    EXPECT_EQ(s.LoupeOn, 1);
    EXPECT_EQ(s.LoupeZoom, 2);
    EXPECT_EQ(s.EdgeTolerance, 764);
    EXPECT_EQ(s.RulerTransparency, 255);
    EXPECT_EQ(s.CrosshairTransparency, 0);
    EXPECT_EQ(s.ColorChoice[0], 0xFFFFFF);
    EXPECT_EQ(s.ColorChoice[1], 0);
    EXPECT_EQ(s.ColorChoice[2], 0xFFFFFF);
    EXPECT_EQ(s.ColorChoice[5], 0);
    EXPECT_EQ(s.StartControlMin, 1);
    EXPECT_EQ(s.IsHorizontal, 1);
    EXPECT_EQ(s.MeasureMode, 1);
    EXPECT_EQ(s.ActiveFrame, 32767);
    EXPECT_EQ(s.MeasUnitsIndex, -32768);
    EXPECT_EQ(s.MeasScaleValue, 0);
    EXPECT_EQ(s.MeasScaleUncertainty, 100);
    EXPECT_EQ(s.ConvertLengthToDisplay, 56.69);

    s.MeasureMode = -1;
    s.MeasScaleValue = -2;
    s.MeasScaleUncertainty = -INFINITY;
    s.ConvertLengthToDisplay = 5000;
    s.LoupeZoom = 17;
    s.EdgeTolerance = -1;
    ClampSettings(s, 15);
    EXPECT_EQ(s.LoupeZoom, 16);
    EXPECT_EQ(s.EdgeTolerance, 0);
    EXPECT_EQ(s.MeasureMode, -1);
    EXPECT_EQ(s.MeasScaleValue, 0);
    EXPECT_EQ(s.MeasScaleUncertainty, 0);
    EXPECT_EQ(s.ConvertLengthToDisplay, 1440);
    s.MeasScaleValue = 1e9;
    ClampSettings(s, 15);
    EXPECT_EQ(s.MeasScaleValue, 1e7);
}
