// Painting the form's line shapes: which part of the window a change damaged, what waits
// beyond the screens, and the lines themselves, on the window and in the frames that hold them.
#include <QPaintEvent>
#include <QPainter>

#include "qt/FormWindow.h"
#include "qt/QtBackend.h"

namespace tavrolin::qt {

namespace {

QRect ToQRect(const PixelBox& b) {
    return QRect(b.left, b.top, b.right - b.left, b.bottom - b.top);
}

}  // namespace

void FormWindow::RepaintDamage() {
    QRegion invalid;
    if (damage_.All()) {
        invalid = rect();
    } else {
        for (const PixelBox& b : damage_.Boxes()) invalid += ToQRect(b);
        invalid &= rect();
    }
    if (invalid.isEmpty()) return;
    // What lies beyond the screens waits until the window brings it onto one: a ruler may be
    // many screens long, and only its part on screen is worth a repaint during a drag.
    const QRect desk = QtBackend::VirtualDesktop();
    const QPoint origin = mapFromGlobal(desk.topLeft());
    const PixelBox desktop{origin.x(), origin.y(), origin.x() + desk.width(),
                           origin.y() + desk.height()};
    QRegion onScreen;
    for (const QRect& r : invalid) {
        onScreen += ToQRect(OnDesktop(PixelBox{r.left(), r.top(), r.right() + 1, r.bottom() + 1},
                                      desktop));
    }
    deferred_ += invalid - onScreen;
    if (onScreen.isEmpty()) return;
    update(onScreen);
    pendingPaint_ += onScreen;
}

void FormWindow::RepaintDeferred() {
    if (deferred_.isEmpty()) return;
    // Part of what was beyond the screens may be on one now.
    update(deferred_);
    pendingPaint_ += deferred_;
    deferred_ = QRegion();
}

QRect FormWindow::LineBounds(const Line& line) const {
    return ToQRect(LineBox(line, backend_.Scale()));
}

void FormWindow::PaintLines(QPainter& painter, const QRect& exposed, const Control* container) {
    const PixelScale s = backend_.Scale();
    painter.setRenderHint(QPainter::Antialiasing, false);
    QPen pen;
    pen.setCapStyle(Qt::SquareCap);
    pen.setJoinStyle(Qt::MiterJoin);
    Color penColor = -1;
    int penWidth = -1;
    QColor color;
    for (const Line* line : form_->Lines()) {
        if (line->Container() != container || !line->ShownInForm()) continue;
        // Whole-pixel end points: with an aliased pen of width w the line covers w pixels
        // centred on them, the extra pixel of an even width before them, and its square caps
        // reach as far past the ends.
        const QPoint a = s.ToPixels(line->X1(), line->Y1());
        const QPoint b = s.ToPixels(line->X2(), line->Y2());
        const int w = line->BorderWidth();
        if (line->BorderColor() != penColor) {
            penColor = line->BorderColor();
            color = ToQColor(penColor);
        }
        // A level or plumb line, as every line of the ruler and the crosshairs is, is filled.
        const PixelBox fill = LineFill(*line, s);
        if (!fill.Empty()) {
            const QRect r = ToQRect(fill);
            if (r.intersects(exposed)) painter.fillRect(r, color);
            continue;
        }
        if (!LineBounds(*line).intersects(exposed)) continue;
        if (pen.color() != color || w != penWidth) {
            penWidth = w;
            pen.setColor(color);
            pen.setWidth(penWidth);
            painter.setPen(pen);
        }
        painter.drawLine(a, b);
    }
}

void FormWindow::paintEvent(QPaintEvent* e) {
    pendingPaint_ -= e->region();
    if (form_ == nullptr) return;
    QPainter painter(this);
    PaintLines(painter, e->rect(), nullptr);
}

void FormWindow::PaintPending() {
    if (pendingPaint_.isEmpty() || !isVisible()) return;
    const QRegion region = pendingPaint_;
    pendingPaint_ = QRegion();
    repaint(region);
}

}  // namespace tavrolin::qt
