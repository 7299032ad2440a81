#include "ui/qt/RecordGridView.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include "text/Latin1.h"
#include "ui/qt/EngineHost.h"
#include "ui/qt/RecordGridModel.h"

namespace {
// A cell draws its text inside a small margin; widths measured from texts leave room for it.
constexpr int kCellPadding = 8;

MouseButton ToEngine(Qt::MouseButton button) {
    switch (button) {
        case Qt::LeftButton:
            return MouseButton::Left;
        case Qt::RightButton:
            return MouseButton::Right;
        case Qt::MiddleButton:
            return MouseButton::Middle;
        default:
            return MouseButton::None;
    }
}
}  // namespace

RecordGridView::RecordGridView(EngineHost& host, RecordGrid& grid, QWidget* parent)
    : QTableView(parent), host_(host), grid_(grid), model_(new RecordGridModel(grid, this)) {
    setModel(model_);
    verticalHeader()->hide();
    verticalHeader()->setMinimumSectionSize(1);  // separator rows are thinner than text
    verticalHeader()->setDefaultSectionSize(host.ToPixelsY(RecordGrid::DefaultRowHeight) + 4);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setAlternatingRowColors(false);
    setAutoScroll(false);  // a click never scrolls the list
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setMouseTracking(true);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setSortIndicatorShown(false);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int col) {
        if (!mouseUp_) return;
        const QPoint pos = horizontalHeader()->mapTo(this, horizontalHeader()->mapFromGlobal(QCursor::pos()));
        const GridPoint at{MouseButton::Left, 0, col, ToTwips(pos.x()), ToTwips(pos.y())};
        host_.Dispatch([this, at] { mouseUp_(at); });
    });
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int value) {
        if (applying_) return;
        grid_.SetTopRow(RowAtScrollValue(value));
        topRowSeen_ = grid_.TopRow();
    });
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int col, int, int pixels) {
        if (applying_ || !resize_) return;
        const int pixelsPerInch = host_.ToPixelsX(1440);
        const int twips = pixelsPerInch > 0 ? std::max(pixels - kCellPadding, 1) * 1440 / pixelsPerInch : 0;
        // The view already shows the width: it is not applied again while the border moves.
        host_.Dispatch([this, col, twips] {
            resize_(col, twips);
            widthsSeen_ = grid_.WidthRevision();
        });
    });
}

int RecordGridView::ToTwips(int pixels) const {
    const int pixelsPerInch = host_.ToPixelsX(1440);
    return pixelsPerInch > 0 ? pixels * 1440 / pixelsPerInch : 0;
}

GridPoint RecordGridView::PointAt(const QPoint& viewportPos, Qt::MouseButton button) const {
    const QModelIndex index = indexAt(viewportPos);
    const QPoint inList = viewport()->mapTo(this, viewportPos);
    return GridPoint{ToEngine(button), index.isValid() ? index.row() + 1 : -1, columnAt(viewportPos.x()),
                     ToTwips(inList.x()), ToTwips(inList.y())};
}

void RecordGridView::mouseReleaseEvent(QMouseEvent* event) {
    QTableView::mouseReleaseEvent(event);
    if (!mouseUp_) return;
    const GridPoint at = PointAt(event->position().toPoint(), event->button());
    host_.Dispatch([this, at] { mouseUp_(at); });
}

void RecordGridView::mouseMoveEvent(QMouseEvent* event) {
    QTableView::mouseMoveEvent(event);
    if (!mouseMove_) return;
    const GridPoint at = PointAt(event->position().toPoint(), Qt::NoButton);
    host_.Dispatch([this, at] { mouseMove_(at); });
}

void RecordGridView::wheelEvent(QWheelEvent* event) {
    if (!wheel_) {
        QTableView::wheelEvent(event);
        return;
    }
    const int rotation = event->angleDelta().y();
    event->accept();
    if (rotation == 0) return;
    host_.Dispatch([this, rotation] { wheel_(rotation); });
}

void RecordGridView::ApplyWidths() {
    applying_ = true;
    int total = 0;
    int widest = -1;
    for (int c = 0; c < grid_.Cols(); ++c) {
        const int twips = grid_.ColWidth(c);
        setColumnHidden(c, twips == 0);
        if (twips == 0) continue;
        setColumnWidth(c, host_.ToPixelsX(twips) + kCellPadding);
        total += columnWidth(c);
        if (widest < 0 || columnWidth(c) > columnWidth(widest)) widest = c;
    }
    // The margins must not push the list past its width: the widest column gives them back.
    const int excess = total - host_.ToPixelsX(grid_.Width) + 2 * frameWidth();
    if (widest >= 0 && excess > 0 && total <= host_.ToPixelsX(grid_.Width) + grid_.Cols() * kCellPadding) {
        setColumnWidth(widest, std::max(columnWidth(widest) - excess, kCellPadding));
    }
    // The last shown column (the message of a System Log record) takes the room that is left;
    // only on screen: the list keeps the width it was given.
    int last = grid_.Cols() - 1;
    while (last >= 0 && isColumnHidden(last)) --last;
    const int room = viewport()->width() - total;
    if (last >= 0 && room > 0) setColumnWidth(last, columnWidth(last) + room);
    viewportWidthSeen_ = viewport()->width();
    applying_ = false;
}

// Rows drawn lower or higher than the rest (the separators of the System Log list), or hidden
// (height 0). Rows move with their heights when the list is sorted, so the heights follow every
// change of content.
void RecordGridView::ApplyRowHeights() {
    const int standard = verticalHeader()->defaultSectionSize();
    for (int row = 1; row < grid_.Rows(); ++row) {
        const int twips = grid_.RowHeight(row);
        if (isRowHidden(row - 1) != (twips == 0)) setRowHidden(row - 1, twips == 0);
        if (twips == 0) continue;
        const int pixels =
            twips == RecordGrid::DefaultRowHeight ? standard : std::max(host_.ToPixelsY(twips), 2);
        if (verticalHeader()->sectionSize(row - 1) != pixels)
            verticalHeader()->resizeSection(row - 1, pixels);
    }
}

int RecordGridView::ScrollValueOf(int row) const {
    int value = 0;
    for (int r = 0; r < row - 1 && r < model_->rowCount(); ++r)
        if (!isRowHidden(r)) ++value;
    return value;
}

int RecordGridView::RowAtScrollValue(int value) const {
    int shown = 0;
    for (int r = 0; r < model_->rowCount(); ++r) {
        if (isRowHidden(r)) continue;
        if (shown == value) return r + 1;
        ++shown;
    }
    return model_->rowCount();
}

void RecordGridView::ShowSortArrow(int col, bool ascending) {
    QHeaderView* header = horizontalHeader();
    const Qt::SortOrder order = ascending ? Qt::AscendingOrder : Qt::DescendingOrder;
    if (header->isSortIndicatorShown() != (col >= 0)) header->setSortIndicatorShown(col >= 0);
    if (col >= 0 && (header->sortIndicatorSection() != col || header->sortIndicatorOrder() != order))
        header->setSortIndicator(col, order);
}

void RecordGridView::Sync() {
    setVisible(grid_.Visible);
    setGeometry(host_.ToPixelsX(grid_.Left), host_.ToPixelsY(grid_.Top), host_.ToPixelsX(grid_.Width),
                host_.ToPixelsY(grid_.Height));
    setToolTip(Latin1(grid_.ToolTipText));
    if (model_->Sync()) {
        widthsSeen_ = ~0ull;
        topRowSeen_ = -1;
    }
    // Walking every row's height costs milliseconds on a long list: only when one may have changed.
    if (grid_.Redraw() && grid_.HeightRevision() != heightsSeen_) {
        heightsSeen_ = grid_.HeightRevision();
        ApplyRowHeights();
    }
    if (grid_.WidthRevision() != widthsSeen_ || viewport()->width() != viewportWidthSeen_) {
        widthsSeen_ = grid_.WidthRevision();
        ApplyWidths();
    }
    if (grid_.TopRow() != topRowSeen_ && model_->rowCount() > 0) {
        topRowSeen_ = grid_.TopRow();
        applying_ = true;
        verticalScrollBar()->setValue(ScrollValueOf(grid_.TopRow()));
        applying_ = false;
    }
}
