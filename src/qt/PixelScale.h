// The one place where the model's twips meet the window system's pixels, and where the model's
// 0x00BBGGRR colours become QColors.
#pragma once

#include <QColor>
#include <QPoint>
#include <cmath>

#include "forms/Types.h"

namespace tavrolin::qt {

class PixelScale {
public:
    PixelScale(double twipsPerPixelX, double twipsPerPixelY)
        : tppX_(twipsPerPixelX > 0 ? twipsPerPixelX : 15),
          tppY_(twipsPerPixelY > 0 ? twipsPerPixelY : 15) {}

    // Nearest whole pixel, halves to even as everywhere in the program.
    int ToPixelsX(double twips) const { return Round(twips / tppX_); }
    int ToPixelsY(double twips) const { return Round(twips / tppY_); }
    QPoint ToPixels(double x, double y) const { return {ToPixelsX(x), ToPixelsY(y)}; }
    double ToTwipsX(double pixels) const { return pixels * tppX_; }
    double ToTwipsY(double pixels) const { return pixels * tppY_; }

private:
    static int Round(double v) { return static_cast<int>(std::nearbyint(v)); }
    double tppX_;
    double tppY_;
};

inline QColor ToQColor(Color c) { return QColor(RedOf(c), GreenOf(c), BlueOf(c)); }

}  // namespace tavrolin::qt
