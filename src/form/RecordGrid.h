#pragma once
#include <algorithm>
#include <cstdint>
#include <deque>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "form/CellTexts.h"
#include "form/Colours.h"

// A record list as plain data, with the operations of a grid control: the engine reads and
// writes cells exactly as it would on screen, and the Qt view only draws what is here.
// Row 0 is the fixed header; records are rows 1 .. Rows()-1.
class RecordGrid {
  public:
    enum class Alignment { General, Left, Center, Right };

    RecordGrid();

    int Rows() const { return static_cast<int>(rows_.size()); }
    int Cols() const { return cols_; }
    void SetRows(int rows);
    void SetCols(int cols);
    bool HasRecords() const { return Rows() >= 2; }

    // A view of the cell's text, valid until that row's texts change (SetTextMatrix, SetRowTexts)
    // or the list's shape does (SetRows, SetCols, KeepRows, SortRows): copy it to keep it longer.
    std::string_view TextMatrix(int row, int col) const;
    // The text may be a view of a cell of the same row.
    void SetTextMatrix(int row, int col, std::string_view text);
    // The bytes of the texts of the row's first cols cells together: 0 when they are all empty.
    std::size_t TextBytes(int row, int cols) const;
    // Sets the row's first texts.size() cells in one go; the others keep their texts.
    void SetRowTexts(int row, std::span<const std::string_view> texts);

    // The current cell: CellBackColor and CellAlignment act on it.
    int Row() const { return row_; }
    int Col() const { return col_; }
    void SetRow(int row);
    void SetCol(int col);
    Colour CellBackColor() const { return CellBackColorAt(row_, col_); }
    void SetCellBackColor(Colour colour) { SetCellBackColorAt(row_, col_, colour); }
    Alignment CellAlignment() const { return CellAlignmentAt(row_, col_); }
    void SetCellAlignment(Alignment a) { SetCellAlignmentAt(row_, col_, a); }

    Colour CellBackColorAt(int row, int col) const;
    void SetCellBackColorAt(int row, int col, Colour colour);
    Alignment CellAlignmentAt(int row, int col) const;
    void SetCellAlignmentAt(int row, int col, Alignment a);
    // Paints every cell of a row.
    void PaintRow(int row, Colour colour);

    Alignment ColAlignment(int col) const;
    void SetColAlignment(int col, Alignment a);
    // Width in twips; 0 hides the column.
    int ColWidth(int col) const;
    void SetColWidth(int col, int twips);
    int RowHeight(int row) const;
    void SetRowHeight(int row, int twips);

    int TopRow() const { return topRow_; }
    void SetTopRow(int row);

    bool Redraw() const { return redraw_; }
    void SetRedraw(bool on);

    // Keeps the header row and the given data rows, in the order given (sorting passes them
    // reordered, filtering ascending); each row at most once.
    void KeepRows(const std::vector<int>& rows);

    // Turns the data rows [firstRow, Rows()) round; rows move whole, with their colours.
    void ReverseRows(int firstRow);

    // Sorts the data rows [firstRow, Rows()) by a key; rows move whole, with their colours.
    // less(a, b) is given each row's texts, which a[col] reads as a std::string_view.
    template <typename Less>
    void SortRows(int firstRow, Less less);

    // Place on the window, in twips.
    bool Visible = false;
    int Left = 0, Top = 0, Width = 0, Height = 0;
    std::string ToolTipText;

    // Views compare these to find out what changed since they last drew.
    std::uint64_t StructureRevision() const { return structureRevision_; }
    std::uint64_t ContentRevision() const { return contentRevision_; }
    std::uint64_t WidthRevision() const { return widthRevision_; }
    // Changes when a row's height may have: rows added, removed, moved or resized.
    std::uint64_t HeightRevision() const { return heightRevision_; }

    static constexpr int DefaultRowHeight = 240;
    static constexpr int DefaultColWidth = 960;

  private:
    // A cell's look is kept apart from its text: most rows are never painted and keep none, so a
    // list of many thousand rows holds little more than its texts.
    struct CellStyle {
        Colour back = White;
        Alignment align = Alignment::General;
    };
    struct RowData {
        CellTexts texts;
        std::vector<CellStyle> styles;  // none, or one per column
        int height = DefaultRowHeight;
    };
    CellStyle& StyleAt(int row, int col);
    const CellStyle* FindStyle(int row, int col) const;
    struct Column {
        int width = DefaultColWidth;
        Alignment align = Alignment::General;
    };

    bool Valid(int row, int col) const { return row >= 0 && row < Rows() && col >= 0 && col < cols_; }
    void Touch() { ++contentRevision_; }
    void TouchStructure() {
        ++structureRevision_;
        ++contentRevision_;
        ++heightRevision_;
    }

    // Grows in chunks: a list of many thousand rows never holds two copies of its rows at once.
    std::deque<RowData> rows_;
    std::vector<Column> columns_;
    int cols_ = 0;
    int row_ = 0, col_ = 0, topRow_ = 1;
    bool redraw_ = true;
    std::uint64_t structureRevision_ = 0, contentRevision_ = 0, widthRevision_ = 0, heightRevision_ = 0;
};

inline std::string_view RecordGrid::TextMatrix(int row, int col) const {
    return Valid(row, col) ? rows_[static_cast<size_t>(row)].texts[col] : std::string_view();
}

inline std::size_t RecordGrid::TextBytes(int row, int cols) const {
    return row >= 0 && row < Rows() ? rows_[static_cast<size_t>(row)].texts.BytesBefore(std::min(cols, cols_))
                                    : 0;
}

template <typename Less>
void RecordGrid::SortRows(int firstRow, Less less) {
    if (firstRow < 0 || firstRow >= Rows()) return;
    std::stable_sort(rows_.begin() + firstRow, rows_.end(),
                     [&](const RowData& a, const RowData& b) { return less(a.texts, b.texts); });
    Touch();
    ++heightRevision_;
}
