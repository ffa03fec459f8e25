#include "qt/ControlWidgets.h"

#include <QPaintEvent>

namespace tavrolin::qt {

void FrameWidget::paintEvent(QPaintEvent* e) {
    QGroupBox::paintEvent(e);
    if (!paintContents) return;
    QPainter painter(this);
    paintContents(painter, e->rect());
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
