#pragma once
#include <QAbstractTableModel>
#include <cstdint>

#include "form/RecordGrid.h"

// Presents a RecordGrid to a Qt view without copying it: row 0 becomes the header, records are
// the view's rows. Sync() tells the view what changed since the last call.
class RecordGridModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    explicit RecordGridModel(const RecordGrid& grid, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Returns true when the shape of the grid changed (rows, columns or widths).
    bool Sync();

  private:
    const RecordGrid& grid_;
    std::uint64_t structureSeen_ = ~0ull, contentSeen_ = ~0ull;
};
