#include "qt/Snapshot.h"

#include <QPainter>
#include <QPixmap>

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

bool WriteSnapshot(const QtBackend& backend, const QString& path) {
    return ComposeSnapshot(backend).save(path, "PNG");
}

}  // namespace tavrolin::qt
