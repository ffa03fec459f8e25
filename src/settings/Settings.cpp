#include "settings/Settings.h"

#include <limits>

#include "settings/NumberText.h"

namespace tavrolin {

namespace {

template <auto Member>
std::int32_t& Whole(Settings& s) {
    return s.*Member;
}

template <auto Member, std::size_t Item>
std::int32_t& WholeItem(Settings& s) {
    return (s.*Member)[Item];
}

template <auto Member>
double& Fraction(Settings& s) {
    return s.*Member;
}

using Kind = SettingKind;
using S = Settings;

constexpr double kShortMax = std::numeric_limits<std::int16_t>::max();
constexpr double kShortMin = std::numeric_limits<std::int16_t>::min();
constexpr double kMaxSpacing = 1'000'000;
// Bounds the ruler's length, and with the minimum spacing the number of ticks it lays out.
constexpr double kMaxRulerSize = 400'000;
constexpr double kMaxPosition = 10'000'000;
constexpr double kMaxColor = 0xFFFFFF;
constexpr double kNone = 0;  // no fixed default: it follows from the screen

constexpr SettingRow Int(std::string_view key, std::int32_t& (*field)(Settings&), double fallback,
                         double low, double high, Kind kind = Kind::Integer) {
    return {key, kind, field, nullptr, true, fallback, low, high, nullptr, false};
}

// A whole number whose default follows from the screen.
constexpr SettingRow ScreenInt(std::string_view key, std::int32_t& (*field)(Settings&),
                               double low, double high, Kind kind = Kind::Integer) {
    SettingRow row = Int(key, field, kNone, low, high, kind);
    row.fixedDefault = false;
    return row;
}

constexpr SettingRow Real(std::string_view key, double& (*field)(Settings&), double fallback,
                          double low, double high, Kind kind = Kind::Real) {
    return {key, kind, nullptr, field, true, fallback, low, high, nullptr, false};
}

constexpr SettingRow Edge(SettingRow row, double RulerRect::*edge) {
    row.edge = edge;
    return row;
}

constexpr SettingRow Tail(SettingRow row) {
    row.newerTail = true;
    return row;
}

constexpr SettingRow Colour(std::string_view key, std::int32_t& (*field)(Settings&),
                            std::int32_t fallback) {
    return Int(key, field, fallback, 0, kMaxColor);
}

constexpr std::array<SettingRow, 45> kRows = {
    Int("StartControlMin", Whole<&S::StartControlMin>, 0, 0, 1, Kind::Flag),
    Int("HalfTicks", Whole<&S::HalfTicks>, 40, 0, kShortMax),
    // The indexes divide tick numbers.
    Int("PrimaryIndex", Whole<&S::PrimaryIndex>, 8, 1, kShortMax),
    Int("SecondaryIndex", Whole<&S::SecondaryIndex>, 4, 1, kShortMax),
    Colour("ColorChoice(0)", WholeItem<&S::ColorChoice, kRulerBackground>, 0xAAAAAA),
    // Millimetres; the lowest value is also what tells the older layout, which had no such line.
    Real("ConvertLengthToDisplay", Fraction<&S::ConvertLengthToDisplay>, 56.69, 56.69, 1440,
         Kind::Unit),
    // Twenty millimetres; the other tick classes are a half, a quarter and a tenth of it.
    Int("CenterLength", Whole<&S::CenterLength>, 1134, 0, kShortMax, Kind::Length),
    Int("PrimaryLength", Whole<&S::PrimaryLength>, 567, 0, kShortMax, Kind::Length),
    Int("SecondaryLength", Whole<&S::SecondaryLength>, 284, 0, kShortMax, Kind::Length),
    Int("TickLength", Whole<&S::TickLength>, 113, 0, kShortMax, Kind::Length),
    Int("TickWidth(1)", WholeItem<&S::TickWidth, 1>, 3, 1, 100),
    Int("TickWidth(2)", WholeItem<&S::TickWidth, 2>, 3, 1, 100),
    Int("TickWidth(3)", WholeItem<&S::TickWidth, 3>, 3, 1, 100),
    Int("TickWidth(4)", WholeItem<&S::TickWidth, 4>, 1, 1, 100),
    Colour("ColorChoice(1)", WholeItem<&S::ColorChoice, kCenterTick>, RGB(125, 0, 0)),
    Colour("ColorChoice(2)", WholeItem<&S::ColorChoice, kPrimaryTicks>, RGB(60, 160, 20)),
    Colour("ColorChoice(3)", WholeItem<&S::ColorChoice, kSecondaryTicks>, 0),
    Colour("ColorChoice(4)", WholeItem<&S::ColorChoice, kOtherTicks>, 0),
    // The spacing divides positions into tick numbers; its lowest value is three pixels, so a
    // tick can always be grabbed apart from its neighbour.
    Int("TickSpacing", Whole<&S::TickSpacing>, 238, 1, kMaxSpacing, Kind::Spacing),
    ScreenInt("ControlTop", Whole<&S::ControlTop>, 0, kMaxPosition, Kind::WindowPlace),
    ScreenInt("ControlLeft", Whole<&S::ControlLeft>, 0, kMaxPosition, Kind::WindowPlace),
    Edge(Int("RulerStartTop", Whole<&S::RulerStartTop>, 1500, 0, kMaxPosition, Kind::RulerEdge),
         &RulerRect::Top),
    Edge(ScreenInt("RulerStartHeight", Whole<&S::RulerStartHeight>, 0, kMaxRulerSize,
                   Kind::RulerEdge),
         &RulerRect::Height),
    Edge(Int("RulerStartLeft", Whole<&S::RulerStartLeft>, 150, 0, kMaxPosition, Kind::RulerEdge),
         &RulerRect::Left),
    Edge(ScreenInt("RulerStartWidth", Whole<&S::RulerStartWidth>, 0, kMaxRulerSize,
                   Kind::RulerEdge),
         &RulerRect::Width),
    Int("MeasureMode", Whole<&S::MeasureMode>, 1, -1, 1, Kind::Mode),
    Int("1=Horizontal", Whole<&S::IsHorizontal>, 0, 0, 1, Kind::Flag),
    // Unknown panel or unit numbers are valid: they select the fallback branch where used.
    Int("ActiveFrame", Whole<&S::ActiveFrame>, 3, kShortMin, kShortMax),
    // A marker line of no length could not be seen or grabbed; one twip is the nearest that can.
    ScreenInt("MeasLineLength", Whole<&S::MeasLineLength>, 1, kShortMax),
    Int("MeasUnitsIndex", Whole<&S::MeasUnitsIndex>, 3, kShortMin, kShortMax),
    // A zero scale stands for "no valid user unit"; it is never divided by unchecked.
    Real("MeasScaleValue", Fraction<&S::MeasScaleValue>, 100, 0, 1e7),
    Real("MeasScaleUncertainty", Fraction<&S::MeasScaleUncertainty>, 3, 0, 100),
    ScreenInt("MeasLine1Pos", WholeItem<&S::MarkerPos, 0>, 0, kMaxRulerSize),
    ScreenInt("MeasLine2Pos", WholeItem<&S::MarkerPos, 1>, 0, kMaxRulerSize),
    ScreenInt("ScaleLine1Pos", WholeItem<&S::MarkerPos, 2>, 0, kMaxRulerSize),
    ScreenInt("ScaleLine2Pos", WholeItem<&S::MarkerPos, 3>, 0, kMaxRulerSize),
    Tail(Int("Ruler Transparency", Whole<&S::RulerTransparency>, 150, 0, 255)),
    Tail(Int("Crosshair Transparency", Whole<&S::CrosshairTransparency>, 100, 0, 255)),
    Tail(Int("Scale Cross Transparency", Whole<&S::ScaleCrossTransparency>, 100, 0, 255)),
    Tail(Colour("Crosshair Color", WholeItem<&S::ColorChoice, kMeasurementCrosshairs>, 0x00FFFF)),
    Tail(Colour("Scale Cross Color", WholeItem<&S::ColorChoice, kScaleCrosshairs>, 0x00FF00)),
    SettingRow{"Reserved", Kind::End, nullptr, nullptr, false, kNone, 0, 0, nullptr, false},
    Int("Loupe", Whole<&S::LoupeOn>, 0, 0, 1, Kind::Flag),
    // The loupe draws a screen pixel 2 to 16 picture pixels wide.
    Int("LoupeZoom", Whole<&S::LoupeZoom>, 8, 2, 16),
    // 765 is as far as two colours can be: a tolerance from there on finds no edge at all.
    Int("EdgeTolerance", Whole<&S::EdgeTolerance>, 48, 0, 764),
};

}  // namespace

std::span<const SettingRow> SettingRows() { return kRows; }

Settings::Settings() {
    for (const SettingRow& row : kRows) {
        if (!row.fixedDefault) continue;
        if (row.real != nullptr) {
            row.real(*this) = row.defaultValue;
        } else {
            row.integer(*this) = static_cast<std::int32_t>(row.defaultValue);
        }
    }
}

Settings Settings::Defaults(double twipsPerPixelX, double twipsPerPixelY, double controlHeight) {
    Settings s;
    s.RulerStartHeight = RoundHalfEven(twipsPerPixelY * 500);
    s.RulerStartWidth = RoundHalfEven(twipsPerPixelX * 100);
    const double height = s.RulerStartHeight;
    const double width = s.RulerStartWidth;

    s.MeasLineLength = RoundHalfEven(width / 2);
    s.MarkerPos[0] = RoundHalfEven(height / 4);
    s.MarkerPos[1] = RoundHalfEven(height * 3 / 4);
    s.MarkerPos[2] = RoundHalfEven(height * 3 / 8);
    s.MarkerPos[3] = RoundHalfEven(height * 5 / 8);

    // The control window opens beside the ruler, centred on its height.
    s.ControlTop = RoundHalfEven((height - controlHeight) / 2 + s.RulerStartTop);
    s.ControlLeft = RoundHalfEven(width * 1.5 + s.RulerStartLeft);
    return s;
}

}  // namespace tavrolin
