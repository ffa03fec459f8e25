// The one place where the model's twips meet a window system's whole pixels. Every backend
// converts through it, so a ruler pixel lands on the same screen pixel on each system.
#pragma once

#include <cmath>

namespace tavrolin {

class PixelScale {
public:
    PixelScale(double twipsPerPixelX, double twipsPerPixelY)
        : tppX_(twipsPerPixelX > 0 ? twipsPerPixelX : 15),
          tppY_(twipsPerPixelY > 0 ? twipsPerPixelY : 15) {}

    // Nearest whole pixel, halves to even as everywhere in the program.
    int ToPixelsX(double twips) const { return Round(twips / tppX_); }
    int ToPixelsY(double twips) const { return Round(twips / tppY_); }
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

}  // namespace tavrolin
