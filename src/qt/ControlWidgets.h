// Qt widgets for the model's label, frame and picture: unlike QLabel and QGroupBox they keep the
// mouse events that land on them, as the model's controls do, a frame paints the line shapes it
// contains, and a picture paints its pixels one to one on the screen's.
#pragma once

#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <cstdint>
#include <functional>
#include <vector>

namespace tavrolin::qt {

// A widget that keeps the mouse events landing on it.
template <class Base>
class KeepsMouse : public Base {
public:
    using Base::Base;

protected:
    void mousePressEvent(QMouseEvent* e) override { e->accept(); }
    void mouseReleaseEvent(QMouseEvent* e) override { e->accept(); }
    void mouseDoubleClickEvent(QMouseEvent* e) override { e->accept(); }
    void mouseMoveEvent(QMouseEvent* e) override { e->accept(); }
};

class LabelWidget : public KeepsMouse<QLabel> {
public:
    explicit LabelWidget(QWidget* parent) : KeepsMouse<QLabel>(parent) {
        setTextFormat(Qt::PlainText);
    }
};

class FrameWidget : public KeepsMouse<QGroupBox> {
public:
    explicit FrameWidget(QWidget* parent) : KeepsMouse<QGroupBox>(parent) {}
    std::function<void(QPainter&, const QRect&)> paintContents;

protected:
    void paintEvent(QPaintEvent* e) override;
};

class PictureWidget : public KeepsMouse<QWidget> {
public:
    explicit PictureWidget(QWidget* parent) : KeepsMouse<QWidget>(parent) {}
    // Takes the picture (0xRRGGBB, row by row) when its version is not the one shown.
    void SetPicture(std::uint64_t version, int width, int height,
                    const std::vector<std::uint32_t>& rgb);

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    QImage image_;
    std::uint64_t version_ = 0;
};

// The caption as a label shows it: "&&" is one "&", a single "&" marks a mnemonic and is dropped.
QString LabelText(const QString& caption);

}  // namespace tavrolin::qt
