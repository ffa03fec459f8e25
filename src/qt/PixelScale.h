// The shared twips-to-pixels conversion in Qt's types, and the model's 0x00BBGGRR colours as
// QColors.
#pragma once

#include <QColor>
#include <QPoint>

#include "forms/PixelScale.h"
#include "forms/Types.h"

namespace tavrolin::qt {

class PixelScale : public tavrolin::PixelScale {
public:
    using tavrolin::PixelScale::PixelScale;
    QPoint ToPixels(double x, double y) const { return {ToPixelsX(x), ToPixelsY(y)}; }
};

inline QColor ToQColor(Color c) { return QColor(RedOf(c), GreenOf(c), BlueOf(c)); }

}  // namespace tavrolin::qt
