// Qt widgets for the model's label, frame, picture and list: unlike QLabel and QGroupBox they
// keep the mouse events that land on them, as the model's controls do, a frame paints the line
// shapes it contains, a picture paints its pixels one to one on the screen's, and a list asks
// for the text of the cells it shows only.
#pragma once

#include <QAbstractTableModel>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QTableView>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "forms/Control.h"
#include "qt/PixelScale.h"

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

// A list's rows as Qt's views see them: as many rows as were last shown, and each cell's text
// asked of the list when the view paints it.
class ListRows : public QAbstractTableModel {
public:
    ListRows(const ListView& list, QObject* parent);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Takes the list's columns and rows: rows added at the end are inserted, anything else
    // rebuilds the view. True when it was rebuilt (the view's selection is then gone).
    bool Follow();
    // The list is going away: nothing more is asked of it.
    void Forget();

private:
    const ListView* list_;
    std::vector<ListView::Column> columns_;
    int rows_ = 0;
    std::uint64_t resetVersion_ = 0;
};

// The view of a list: whole rows selected the desktop's way, one row height for all, no
// editing, and the keys that would act on one cell alone (copying it, searching by typing) left
// to the form.
class ListWidget : public QTableView {
public:
    ListWidget(const ListView& list, QWidget* parent);

    // Shows the list's columns (widths in twips), rows, the selection the program made and the
    // row it asked to bring into sight.
    void Show(const ListView& list, const PixelScale& scale);
    // The rows selected in the view, ascending.
    std::vector<std::size_t> SelectedRows() const;
    void Forget() { rows_->Forget(); }

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void keyboardSearch(const QString& search) override;
    void wheelEvent(QWheelEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    void ShowSelection(const ListView& list);
    void ScrollPending();

    ListRows* rows_;
    std::uint64_t selectionVersion_ = 0;
    std::uint64_t scrollVersion_ = 0;
    int scrollRow_ = -1;  // asked into sight and not yet brought there
};

// The caption as a label shows it: "&&" is one "&", a single "&" marks a mnemonic and is dropped.
QString LabelText(const QString& caption);

}  // namespace tavrolin::qt
