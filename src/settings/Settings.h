// The persistent settings of one instance: the values of the configuration file, under the names
// the file's keys give them. Lengths and positions are twips, widths pixels, colours 0x00BBGGRR.
#pragma once

#include <array>
#include <cstdint>

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

struct Settings {
    int StartControlMin = 0;  // 1 = start with the control window minimised
    int HalfTicks = 40;
    int PrimaryIndex = 8;
    int SecondaryIndex = 4;
    // 0 background, 1..4 tick classes, 5 measurement crosshairs, 6 scale crosshairs.
    std::array<std::int32_t, 7> ColorChoice{0xAAAAAA, RGB(125, 0, 0), RGB(60, 160, 20), 0, 0,
                                            0x00FFFF, 0x00FF00};
    double ConvertLengthToDisplay = 56.69;  // twips per display unit: 56.69 mm, 1440 inches
    int CenterLength = 1134;                // twips
    int PrimaryLength = 567;
    int SecondaryLength = 284;
    int TickLength = 113;
    std::array<int, 5> TickWidth{0, 3, 3, 3, 1};  // pixels; elements 1..4 are used
    std::int32_t TickSpacing = 238;               // twips
    std::int32_t ControlTop = 0;
    std::int32_t ControlLeft = 0;
    std::int32_t RulerStartTop = 1500;
    std::int32_t RulerStartHeight = 7500;
    std::int32_t RulerStartLeft = 150;
    std::int32_t RulerStartWidth = 1500;
    int MeasureMode = 1;   // 1 Measurement Mode, 0 SEM Optimization Mode, -1 locked
    int IsHorizontal = 0;  // "1=Horizontal": 1 horizontal, 0 vertical
    int ActiveFrame = 3;
    int MeasLineLength = 750;
    int MeasUnitsIndex = 3;  // 1 mm, 2 inches, 3 pixels, 4 user units
    double MeasScaleValue = 100;
    double MeasScaleUncertainty = 3;  // percent
    // Marker positions along the ruler: 0, 1 measurement markers, 2, 3 scale markers.
    std::array<std::int32_t, 5> MarkerPos{1875, 5625, 2812, 4688, 0};
    int RulerTransparency = 150;  // alpha 0..255
    int CrosshairTransparency = 100;
    int ScaleCrossTransparency = 100;

    // The defaults of a first start; they depend on the screen and on the control window's height.
    static Settings Defaults(double twipsPerPixelX, double twipsPerPixelY, double controlHeight);
};

}  // namespace tavrolin
