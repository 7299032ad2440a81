#include "ui/qt/RecordGridModel.h"
#include "text/Latin1.h"

#include <QColor>

namespace {

Qt::Alignment ToQt(RecordGrid::Alignment a) {
    switch (a) {
        case RecordGrid::Alignment::Left:
            return Qt::AlignLeft | Qt::AlignVCenter;
        case RecordGrid::Alignment::Center:
            return Qt::AlignCenter;
        case RecordGrid::Alignment::Right:
            return Qt::AlignRight | Qt::AlignVCenter;
        case RecordGrid::Alignment::General:
            break;
    }
    return Qt::AlignLeft | Qt::AlignVCenter;
}

}  // namespace

RecordGridModel::RecordGridModel(const RecordGrid& grid, QObject* parent)
    : QAbstractTableModel(parent), grid_(grid) {}

int RecordGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : std::max(grid_.Rows() - 1, 0);
}

int RecordGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : grid_.Cols();
}

QVariant RecordGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const int row = index.row() + 1;
    const int col = index.column();
    switch (role) {
        case Qt::DisplayRole:
            return Latin1(grid_.TextMatrix(row, col));
        case Qt::ToolTipRole:
            // The engine sets the tip for the cell under the mouse, only when its text is cut.
            if (grid_.ToolTipText.empty()) return {};
            return Latin1(grid_.ToolTipText);
        case Qt::BackgroundRole: {
            const Colour c = grid_.CellBackColorAt(row, col);
            return QColor(ColourRed(c), ColourGreen(c), ColourBlue(c));
        }
        case Qt::ForegroundRole:
            return QColor(Qt::black);
        case Qt::TextAlignmentRole: {
            RecordGrid::Alignment a = grid_.CellAlignmentAt(row, col);
            if (a == RecordGrid::Alignment::General) a = grid_.ColAlignment(col);
            return QVariant::fromValue(ToQt(a));
        }
        default:
            return {};
    }
}

QVariant RecordGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal) return {};
    if (role == Qt::TextAlignmentRole) {
        const RecordGrid::Alignment a = grid_.CellAlignmentAt(0, section);
        if (a == RecordGrid::Alignment::General) return {};
        return QVariant::fromValue(ToQt(a));
    }
    if (role != Qt::DisplayRole) return {};
    return Latin1(grid_.TextMatrix(0, section));
}

bool RecordGridModel::Sync() {
    if (!grid_.Redraw()) return false;
    if (grid_.StructureRevision() != structureSeen_) {
        beginResetModel();
        structureSeen_ = grid_.StructureRevision();
        contentSeen_ = grid_.ContentRevision();
        endResetModel();
        return true;
    }
    if (grid_.ContentRevision() != contentSeen_) {
        contentSeen_ = grid_.ContentRevision();
        if (rowCount() > 0 && columnCount() > 0) {
            emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
        }
        emit headerDataChanged(Qt::Horizontal, 0, std::max(columnCount() - 1, 0));
    }
    return false;
}
