#include "ui/qt/RecordGridView.h"

#include <QHeaderView>

#include "ui/qt/EngineHost.h"
#include "ui/qt/RecordGridModel.h"

namespace {
// A cell draws its text inside a small margin; widths measured from texts leave room for it.
constexpr int kCellPadding = 8;
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
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int col, int, int pixels) {
        if (applying_) return;
        const int pixelsPerInch = host_.ToPixelsX(1440);
        grid_.SetColWidth(col,
                          pixelsPerInch > 0 ? std::max(pixels - kCellPadding, 1) * 1440 / pixelsPerInch : 0);
        widthsSeen_ = grid_.WidthRevision();
    });
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

// Rows drawn lower or higher than the rest (the separators of the System Log list). Rows move
// with their heights when the list is sorted, so the heights follow every change of content.
void RecordGridView::ApplyRowHeights() {
    const int standard = verticalHeader()->defaultSectionSize();
    for (int row = 1; row < grid_.Rows(); ++row) {
        const int twips = grid_.RowHeight(row);
        const int pixels =
            twips == RecordGrid::DefaultRowHeight ? standard : std::max(host_.ToPixelsY(twips), 2);
        if (verticalHeader()->sectionSize(row - 1) != pixels)
            verticalHeader()->resizeSection(row - 1, pixels);
    }
}

void RecordGridView::Sync() {
    setVisible(grid_.Visible);
    setGeometry(host_.ToPixelsX(grid_.Left), host_.ToPixelsY(grid_.Top), host_.ToPixelsX(grid_.Width),
                host_.ToPixelsY(grid_.Height));
    setToolTip(QString::fromLatin1(grid_.ToolTipText));
    if (model_->Sync()) {
        widthsSeen_ = ~0ull;
        topRowSeen_ = -1;
    }
    if (grid_.Redraw() && grid_.ContentRevision() != heightsSeen_) {
        heightsSeen_ = grid_.ContentRevision();
        ApplyRowHeights();
    }
    if (grid_.WidthRevision() != widthsSeen_ || viewport()->width() != viewportWidthSeen_) {
        widthsSeen_ = grid_.WidthRevision();
        ApplyWidths();
    }
    if (grid_.TopRow() != topRowSeen_ && model_->rowCount() > 0) {
        topRowSeen_ = grid_.TopRow();
        scrollTo(model_->index(std::max(grid_.TopRow() - 1, 0), 0), QAbstractItemView::PositionAtTop);
    }
}
