#pragma once
#include <QTableView>
#include <functional>

#include "form/ListDisplayState.h"
#include "form/RecordGrid.h"

class EngineHost;
class RecordGridModel;

// Draws one record list: cells, colours, the header row, column widths (0 hides a column) and
// the top row. A column border the user drags goes to the engine as a width in twips, and the top
// row the user scrolls to is written back into the grid. Mouse releases (also on the header row), moves and
// wheel turns go to the engine's handlers with the cell under the mouse.
class RecordGridView : public QTableView {
    Q_OBJECT
  public:
    using MouseHandler = std::function<void(const GridPoint&)>;

    RecordGridView(EngineHost& host, RecordGrid& grid, QWidget* parent);
    void Sync();
    RecordGrid& Grid() { return grid_; }

    void OnMouseUp(MouseHandler handler) { mouseUp_ = std::move(handler); }
    void OnMouseMove(MouseHandler handler) { mouseMove_ = std::move(handler); }
    // Set for a list that scrolls by the engine's rule; the others scroll as Qt does.
    void OnWheel(std::function<void(int rotation)> handler) { wheel_ = std::move(handler); }
    void OnColumnResize(std::function<void(int col, int twips)> handler) { resize_ = std::move(handler); }
    // Shows the sort arrow on a column's header; -1: none.
    void ShowSortArrow(int col, bool ascending);

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

  private:
    void ApplyWidths();
    void ApplyRowHeights();
    // Hidden rows take no step of the scroll bar: its value counts the rows shown above the top.
    int ScrollValueOf(int row) const;
    int RowAtScrollValue(int value) const;
    GridPoint PointAt(const QPoint& viewportPos, Qt::MouseButton button) const;
    int ToTwips(int pixels) const;

    MouseHandler mouseUp_, mouseMove_;
    std::function<void(int)> wheel_;
    std::function<void(int, int)> resize_;

    EngineHost& host_;
    RecordGrid& grid_;
    RecordGridModel* model_;
    bool applying_ = false;
    int topRowSeen_ = -1;
    std::uint64_t widthsSeen_ = ~0ull;
    std::uint64_t heightsSeen_ = ~0ull;
    int viewportWidthSeen_ = -1;
};
