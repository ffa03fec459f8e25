#include "settings/Settings.h"

#include "settings/NumberText.h"

namespace tavrolin {

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

    // Twenty millimetres; the other tick classes are fixed fractions of it.
    s.CenterLength = RoundHalfEven(56.69 * 20);
    s.PrimaryLength = RoundHalfEven(s.CenterLength * 0.5);
    s.SecondaryLength = RoundHalfEven(s.CenterLength * 0.25);
    s.TickLength = RoundHalfEven(s.CenterLength * 0.1);
    return s;
}

}  // namespace tavrolin
