// Qt widgets for the model's label and frame: unlike QLabel and QGroupBox they keep the mouse
// events that land on them, as the model's controls do, and a frame paints the line shapes it
// contains.
#pragma once

#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <functional>

namespace tavrolin::qt {

class LabelWidget : public QLabel {
public:
    explicit LabelWidget(QWidget* parent) : QLabel(parent) { setTextFormat(Qt::PlainText); }

protected:
    void mousePressEvent(QMouseEvent* e) override { e->accept(); }
    void mouseReleaseEvent(QMouseEvent* e) override { e->accept(); }
    void mouseDoubleClickEvent(QMouseEvent* e) override { e->accept(); }
    void mouseMoveEvent(QMouseEvent* e) override { e->accept(); }
};

class FrameWidget : public QGroupBox {
public:
    explicit FrameWidget(QWidget* parent) : QGroupBox(parent) {}
    std::function<void(QPainter&, const QRect&)> paintContents;

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override { e->accept(); }
    void mouseReleaseEvent(QMouseEvent* e) override { e->accept(); }
    void mouseDoubleClickEvent(QMouseEvent* e) override { e->accept(); }
    void mouseMoveEvent(QMouseEvent* e) override { e->accept(); }
};

// The caption as a label shows it: "&&" is one "&", a single "&" marks a mnemonic and is dropped.
QString LabelText(const QString& caption);

}  // namespace tavrolin::qt
