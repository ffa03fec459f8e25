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
    // Every end point of every line passes here in each repaint: truncation and a look at the
    // fraction, where std::nearbyint would be a library call that saves and restores the
    // floating-point environment.
    static int Round(double v) {
        if (!(std::fabs(v) < 2e9)) return static_cast<int>(std::nearbyint(v));
        const auto whole = static_cast<long long>(v);  // toward zero
        const double frac = v - static_cast<double>(whole);  // exact
        const bool odd = (whole & 1) != 0;
        if (frac > 0.5 || (frac == 0.5 && odd)) return static_cast<int>(whole + 1);
        if (frac < -0.5 || (frac == -0.5 && odd)) return static_cast<int>(whole - 1);
        return static_cast<int>(whole);
    }
    double tppX_;
    double tppY_;
};

inline QColor ToQColor(Color c) { return QColor(RedOf(c), GreenOf(c), BlueOf(c)); }

}  // namespace tavrolin::qt
