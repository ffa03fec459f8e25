#include "qt/Snapshot.h"

#include <QBuffer>
#include <QPainter>
#include <QPixmap>

#include "platform/Platform.h"

#include "qt/FormWindow.h"
#include "qt/QtBackend.h"

namespace tavrolin::qt {

QImage ComposeSnapshot(const QtBackend& backend) {
    const QRect desk = QtBackend::VirtualDesktop();
    QImage image(desk.size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    image.fill(QColor(0x40, 0x40, 0x40));
    QPainter painter(&image);
    for (FormWindow* window : backend.WindowsInStackingOrder()) {
        const QPixmap pixels = window->grab();
        // The client area's place; without a window manager there is no frame around it.
        const QPoint at = window->geometry().topLeft() - desk.topLeft();
        painter.setOpacity(window->windowOpacity());
        painter.drawPixmap(at, pixels);
    }
    painter.end();
    return image;
}

QByteArray EncodeSnapshot(const QtBackend& backend) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!ComposeSnapshot(backend).save(&buffer, "PNG")) return {};
    return png;
}

bool WriteSnapshot(const QtBackend& backend, Platform& platform, const std::string& path) {
    const QByteArray png = EncodeSnapshot(backend);
    return !png.isEmpty() &&
           platform.PutNewFile(path,
                                std::string(png.constData(), static_cast<std::size_t>(png.size())));
}

}  // namespace tavrolin::qt
