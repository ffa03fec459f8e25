#include "qt/ControlWidgets.h"

#include <QPaintEvent>

namespace tavrolin::qt {

void FrameWidget::paintEvent(QPaintEvent* e) {
    QGroupBox::paintEvent(e);
    if (!paintContents) return;
    QPainter painter(this);
    paintContents(painter, e->rect());
}

void PictureWidget::SetPicture(std::uint64_t version, int width, int height,
                               const std::vector<std::uint32_t>& rgb) {
    if (version == version_) return;
    version_ = version;
    QImage image;
    if (width > 0 && height > 0 &&
        rgb.size() == static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
        image = QImage(width, height, QImage::Format_RGB32);
        for (int y = 0; y < height; ++y) {
            const std::uint32_t* from = rgb.data() + static_cast<std::size_t>(y) * width;
            auto* to = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < width; ++x) to[x] = 0xFF000000u | from[x];
        }
    }
    image_ = std::move(image);
    update();
}

void PictureWidget::paintEvent(QPaintEvent* /*e*/) {
    if (image_.isNull()) return;
    // One pixel of the picture on one pixel of the screen, also on a scaled display.
    image_.setDevicePixelRatio(devicePixelRatioF());
    QPainter painter(this);
    painter.drawImage(QPointF(0, 0), image_);
}

QString LabelText(const QString& caption) {
    QString out;
    out.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&') {
            if (i + 1 < caption.size() && caption[i + 1] == u'&') {
                out += u'&';
                ++i;
            }
            continue;
        }
        out += caption[i];
    }
    return out;
}

}  // namespace tavrolin::qt
