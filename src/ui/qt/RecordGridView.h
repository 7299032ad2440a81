#pragma once
#include <QTableView>

#include "ui/RecordGrid.h"

class EngineHost;
class RecordGridModel;

// Draws one record list: cells, colours, the header row, column widths (0 hides a column) and
// the top row. A column the user widens is written back into the grid in twips.
class RecordGridView : public QTableView {
    Q_OBJECT
  public:
    RecordGridView(EngineHost& host, RecordGrid& grid, QWidget* parent);
    void Sync();

  private:
    void ApplyWidths();
    void ApplyRowHeights();

    EngineHost& host_;
    RecordGrid& grid_;
    RecordGridModel* model_;
    bool applying_ = false;
    int topRowSeen_ = -1;
    std::uint64_t widthsSeen_ = ~0ull;
    std::uint64_t heightsSeen_ = ~0ull;
    int viewportWidthSeen_ = -1;
};
