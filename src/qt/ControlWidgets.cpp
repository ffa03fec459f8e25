#include "qt/ControlWidgets.h"

#include <QHeaderView>
#include <QItemSelection>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QWheelEvent>
#include <algorithm>
#include <climits>

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

namespace {

bool SameColumns(const std::vector<ListView::Column>& a, const std::vector<ListView::Column>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const auto& x, const auto& y) {
        return x.header == y.header && x.width == y.width && x.number == y.number;
    });
}

int AlignmentOf(const ListView::Column& column) {
    return static_cast<int>((column.number ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
}

}  // namespace

ListRows::ListRows(const ListView& list, QObject* parent)
    : QAbstractTableModel(parent), list_(&list) {}

int ListRows::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int ListRows::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant ListRows::data(const QModelIndex& index, int role) const {
    if (list_ == nullptr || !index.isValid() || index.column() >= columnCount()) return {};
    switch (role) {
        case Qt::DisplayRole:
            return QString::fromStdString(list_->Cell(static_cast<std::size_t>(index.row()),
                                                      static_cast<std::size_t>(index.column())));
        case Qt::TextAlignmentRole:
            return AlignmentOf(columns_[static_cast<std::size_t>(index.column())]);
        default:
            return {};
    }
}

QVariant ListRows::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()) return {};
    const ListView::Column& column = columns_[static_cast<std::size_t>(section)];
    switch (role) {
        case Qt::DisplayRole: return QString::fromStdString(column.header);
        case Qt::TextAlignmentRole: return AlignmentOf(column);
        default: return {};
    }
}

bool ListRows::Follow() {
    if (list_ == nullptr) return false;
    const int rows = static_cast<int>(std::min<std::size_t>(list_->RowCount(), INT_MAX));
    if (list_->ResetVersion() != resetVersion_ || rows < rows_ ||
        !SameColumns(columns_, list_->Columns())) {
        beginResetModel();
        columns_ = list_->Columns();
        rows_ = rows;
        resetVersion_ = list_->ResetVersion();
        endResetModel();
        return true;
    }
    if (rows > rows_) {
        beginInsertRows({}, rows_, rows - 1);
        rows_ = rows;
        endInsertRows();
    }
    return false;
}

void ListRows::Forget() {
    // The list may be gone already (a form's run-time controls go before its window): not a
    // cell more is asked of it, not even while the view lets go of its rows.
    list_ = nullptr;
    beginResetModel();
    columns_.clear();
    rows_ = 0;
    endResetModel();
}

ListWidget::ListWidget(const ListView& list, QWidget* parent)
    : QTableView(parent), rows_(new ListRows(list, this)) {
    setModel(rows_);
    setSelectionBehavior(SelectRows);
    setSelectionMode(ExtendedSelection);
    setEditTriggers(NoEditTriggers);
    // Tab leaves the list for the form's next stop instead of walking its cells.
    setTabKeyNavigation(false);
    setShowGrid(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setHorizontalScrollMode(ScrollPerPixel);
    verticalHeader()->hide();
    // One height for every row: nothing is asked of rows out of sight to lay them out.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    QHeaderView* header = horizontalHeader();
    header->setSectionsClickable(false);
    header->setHighlightSections(false);
    header->setStretchLastSection(false);
}

void ListWidget::Show(const ListView& list, const PixelScale& scale) {
    // The row height before the rows: changing it later touches every row once.
    const int rowHeight = fontMetrics().height() + 4;
    QHeaderView* rowHeader = verticalHeader();
    if (rowHeader->defaultSectionSize() != rowHeight) {
        rowHeader->setMinimumSectionSize(std::min(rowHeight, rowHeader->minimumSectionSize()));
        rowHeader->setDefaultSectionSize(rowHeight);
    }
    const bool rebuilt = rows_->Follow();
    QHeaderView* header = horizontalHeader();
    const auto& columns = list.Columns();
    for (int i = 0; i < header->count() && i < static_cast<int>(columns.size()); ++i) {
        const int width = std::max(0, scale.ToPixelsX(columns[static_cast<std::size_t>(i)].width));
        if (header->sectionSize(i) != width) header->resizeSection(i, width);
    }
    if (rebuilt || list.SelectionVersion() != selectionVersion_) {
        selectionVersion_ = list.SelectionVersion();
        ShowSelection(list);
    }
    if (list.ScrollVersion() != scrollVersion_) {
        scrollVersion_ = list.ScrollVersion();
        scrollRow_ = static_cast<int>(std::min<std::size_t>(list.ScrollRow(), INT_MAX));
        ScrollPending();
    }
}

void ListWidget::ShowSelection(const ListView& list) {
    const int rows = rows_->rowCount();
    const int columns = rows_->columnCount();
    QItemSelection selection;
    if (columns > 0) {
        // One range for each run of adjacent rows: all rows selected are a single range.
        const std::vector<std::size_t> selected = list.SelectedRows();
        for (std::size_t i = 0; i < selected.size();) {
            std::size_t j = i;
            while (j + 1 < selected.size() && selected[j + 1] == selected[j] + 1) ++j;
            if (selected[i] < static_cast<std::size_t>(rows)) {
                const int last = static_cast<int>(std::min<std::size_t>(selected[j], rows - 1));
                selection.append(QItemSelectionRange(rows_->index(static_cast<int>(selected[i]), 0),
                                                     rows_->index(last, columns - 1)));
            }
            i = j + 1;
        }
    }
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

void ListWidget::ScrollPending() {
    // Before the list is first shown its viewport has no size yet to bring a row into.
    if (scrollRow_ < 0 || !isVisible()) return;
    if (scrollRow_ < rows_->rowCount() && rows_->columnCount() > 0) {
        updateGeometries();
        scrollTo(rows_->index(scrollRow_, 0), EnsureVisible);
    }
    scrollRow_ = -1;
}

std::vector<std::size_t> ListWidget::SelectedRows() const {
    std::vector<std::size_t> rows;
    for (const QItemSelectionRange& range : selectionModel()->selection()) {
        for (int r = range.top(); r <= range.bottom(); ++r) {
            rows.push_back(static_cast<std::size_t>(r));
        }
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

void ListWidget::keyPressEvent(QKeyEvent* e) {
    // The view alone would copy the current cell; what copying rows puts on the clipboard is
    // the form's to say.
    if (e->matches(QKeySequence::Copy)) {
        e->ignore();
        return;
    }
    QTableView::keyPressEvent(e);
}

void ListWidget::keyboardSearch(const QString& /*search*/) {
    // Finding a row by typing its start would ask for the text of every row.
}

void ListWidget::wheelEvent(QWheelEvent* e) {
    // At either end too: the wheel over a list scrolls the list or nothing.
    QTableView::wheelEvent(e);
    e->accept();
}

void ListWidget::showEvent(QShowEvent* e) {
    QTableView::showEvent(e);
    ScrollPending();
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
