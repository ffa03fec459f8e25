// The persistent settings of one instance: the values of the configuration file, under the names
// the file's keys give them, and the one table of them that the file's reader, its writer, the
// clamping and the defaults all walk. Lengths and positions are twips, widths pixels, colours
// 0x00BBGGRR.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <type_traits>

namespace tavrolin {

// ColorChoice items.
enum ColorItem : int {
    kRulerBackground = 0,
    kCenterTick = 1,
    kPrimaryTicks = 2,
    kSecondaryTicks = 3,
    kOtherTicks = 4,
    kMeasurementCrosshairs = 5,
    kScaleCrosshairs = 6,
};

constexpr std::int32_t RGB(int r, int g, int b) { return r + 256 * g + 65536 * b; }

// The whole-number settings are held as int and as std::int32_t alike; one field type serves both.
static_assert(std::is_same_v<int, std::int32_t>);

struct Settings {
    // Every setting with a fixed default takes it from the table below; the ones that depend on
    // the screen hold their values at 15 twips a pixel until Defaults gives them the real ones.
    Settings();

    int StartControlMin;  // 1 = start with the control window minimised
    int HalfTicks;
    int PrimaryIndex;
    int SecondaryIndex;
    // 0 background, 1..4 tick classes, 5 measurement crosshairs, 6 scale crosshairs.
    std::array<std::int32_t, 7> ColorChoice{};
    double ConvertLengthToDisplay;  // twips per display unit: 56.69 mm, 1440 inches
    int CenterLength;               // twips
    int PrimaryLength;
    int SecondaryLength;
    int TickLength;
    std::array<int, 5> TickWidth{};  // pixels; elements 1..4 are used
    std::int32_t TickSpacing;        // twips
    std::int32_t ControlTop = 0;
    std::int32_t ControlLeft = 0;
    std::int32_t RulerStartTop;
    std::int32_t RulerStartHeight = 7500;
    std::int32_t RulerStartLeft;
    std::int32_t RulerStartWidth = 1500;
    int MeasureMode;   // 1 Measurement Mode, 0 SEM Optimization Mode, -1 locked
    int IsHorizontal;  // "1=Horizontal": 1 horizontal, 0 vertical
    int ActiveFrame;
    int MeasLineLength = 750;
    int MeasUnitsIndex;  // 1 mm, 2 inches, 3 pixels, 4 user units
    double MeasScaleValue;
    double MeasScaleUncertainty;  // percent
    // Marker positions along the ruler: 0, 1 measurement markers, 2, 3 scale markers.
    std::array<std::int32_t, 5> MarkerPos{1875, 5625, 2812, 4688, 0};
    int RulerTransparency;  // alpha 0..255
    int CrosshairTransparency;
    int ScaleCrossTransparency;
    // Written after the closing line; a file without them keeps these defaults.
    int LoupeOn;        // the loupe beside the active crosshair, and its edge jumps
    int LoupeZoom;      // picture pixels a screen pixel, kLoupeZoomMin..kLoupeZoomMax
    int EdgeTolerance;  // how far colours differ (|dR| + |dG| + |dB|) before an edge jump stops

    // The defaults of a first start; they depend on the screen and on the control window's height.
    static Settings Defaults(double twipsPerPixelX, double twipsPerPixelY, double controlHeight);
};

// The ruler window's rectangle as it is written (single precision), twips.
struct RulerRect {
    double Top = 0;
    double Height = 0;
    double Left = 0;
    double Width = 0;
};

// What a setting holds: how the file writes and reads it and how it is brought into range.
enum class SettingKind {
    Integer,      // a whole number, kept within [low, high]
    Flag,         // 0 or 1; any other non-zero value is taken for 1
    Mode,         // 1, 0 or -1 (locked, written under its own key); any other value is taken for 1
    Real,         // a fraction within [low, high]; what is no finite number takes `low`
    Unit,         // a Real whose absence from a file marks the older layout, lengths in inches
    Length,       // an Integer that the older layout stores in inches
    Spacing,      // an Integer whose lowest value is three pixels of the screen
    WindowPlace,  // an Integer written as "1000" below 101, so a window lost off screen comes back
    RulerEdge,    // an Integer written from the ruler window's rectangle in single precision
    End,          // the closing "Reserved" line, no value; later rows follow it
};

struct SettingRow {
    std::string_view key;  // as written in the file
    SettingKind kind;
    std::int32_t& (*integer)(Settings&);  // the field, for every kind but Real, Unit and End
    double& (*real)(Settings&);           // the field, for Real and Unit
    bool fixedDefault;                    // false where the default follows from the screen
    double defaultValue;
    double low;
    double high;
    double RulerRect::*edge;  // the window's side that a RulerEdge row writes
    // Missing from the older layout, which ends before this row with the closing line.
    bool newerTail;
};

// The settings in file order: the 42 lines up to the closing one, then those added since,
// which a file may lack.
std::span<const SettingRow> SettingRows();

}  // namespace tavrolin
