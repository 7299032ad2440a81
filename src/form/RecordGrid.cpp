#include "form/RecordGrid.h"

#include <algorithm>

RecordGrid::RecordGrid() {
    SetCols(2);
    SetRows(2);
}

void RecordGrid::SetRows(int rows) {
    if (rows < 0) rows = 0;
    // New rows are empty and hold no memory beyond their place in the list, so growing a list
    // row by row costs time in proportion to the rows added.
    rows_.resize(static_cast<size_t>(rows));
    if (row_ >= rows) row_ = rows > 0 ? rows - 1 : 0;
    if (topRow_ >= rows) topRow_ = rows > 1 ? rows - 1 : 1;
    TouchStructure();
}

void RecordGrid::SetCols(int cols) {
    if (cols < 0) cols = 0;
    cols_ = cols;
    columns_.resize(static_cast<size_t>(cols));
    for (auto& r : rows_) {
        r.texts.Truncate(cols);
        if (!r.styles.empty()) r.styles.resize(static_cast<size_t>(cols));
    }
    if (col_ >= cols) col_ = cols > 0 ? cols - 1 : 0;
    TouchStructure();
}

void RecordGrid::SetTextMatrix(int row, int col, std::string_view text) {
    if (!Valid(row, col)) return;
    rows_[static_cast<size_t>(row)].texts.Set(col, text);
    Touch();
}

void RecordGrid::SetRowTexts(int row, std::span<const std::string_view> texts) {
    if (row < 0 || row >= Rows()) return;
    if (texts.size() > static_cast<size_t>(cols_)) texts = texts.first(static_cast<size_t>(cols_));
    rows_[static_cast<size_t>(row)].texts.Assign(texts, cols_);
    Touch();
}

void RecordGrid::SetRow(int row) {
    if (row >= 0 && row < Rows()) row_ = row;
}

void RecordGrid::SetCol(int col) {
    if (col >= 0 && col < cols_) col_ = col;
}

const RecordGrid::CellStyle* RecordGrid::FindStyle(int row, int col) const {
    if (!Valid(row, col)) return nullptr;
    const auto& styles = rows_[static_cast<size_t>(row)].styles;
    return styles.empty() ? nullptr : &styles[static_cast<size_t>(col)];
}

// The row's styles are made, all plain, when one of its cells is first given a look.
RecordGrid::CellStyle& RecordGrid::StyleAt(int row, int col) {
    auto& styles = rows_[static_cast<size_t>(row)].styles;
    if (styles.empty()) styles.resize(static_cast<size_t>(cols_));
    return styles[static_cast<size_t>(col)];
}

Colour RecordGrid::CellBackColorAt(int row, int col) const {
    const CellStyle* style = FindStyle(row, col);
    return style ? style->back : White;
}

void RecordGrid::SetCellBackColorAt(int row, int col, Colour colour) {
    if (!Valid(row, col)) return;
    StyleAt(row, col).back = colour;
    Touch();
}

RecordGrid::Alignment RecordGrid::CellAlignmentAt(int row, int col) const {
    const CellStyle* style = FindStyle(row, col);
    return style ? style->align : Alignment::General;
}

void RecordGrid::SetCellAlignmentAt(int row, int col, Alignment a) {
    if (!Valid(row, col)) return;
    StyleAt(row, col).align = a;
    Touch();
}

void RecordGrid::PaintRow(int row, Colour colour) {
    if (row < 0 || row >= Rows()) return;
    for (int col = 0; col < cols_; ++col) StyleAt(row, col).back = colour;
    Touch();
}

RecordGrid::Alignment RecordGrid::ColAlignment(int col) const {
    return col >= 0 && col < cols_ ? columns_[col].align : Alignment::General;
}

void RecordGrid::SetColAlignment(int col, Alignment a) {
    if (col < 0 || col >= cols_) return;
    columns_[col].align = a;
    Touch();
}

int RecordGrid::ColWidth(int col) const {
    return col >= 0 && col < cols_ ? columns_[col].width : 0;
}

void RecordGrid::SetColWidth(int col, int twips) {
    if (col < 0 || col >= cols_) return;
    columns_[col].width = twips < 0 ? 0 : twips;
    ++widthRevision_;
}

int RecordGrid::RowHeight(int row) const {
    return row >= 0 && row < Rows() ? rows_[static_cast<size_t>(row)].height : DefaultRowHeight;
}

void RecordGrid::SetRowHeight(int row, int twips) {
    if (row < 0 || row >= Rows()) return;
    auto& height = rows_[static_cast<size_t>(row)].height;
    if (height == twips) return;
    height = twips;
    Touch();
    ++heightRevision_;
}

void RecordGrid::SetTopRow(int row) {
    if (Rows() <= 1) {
        topRow_ = 1;
        return;
    }
    if (row < 1) row = 1;
    if (row >= Rows()) row = Rows() - 1;
    topRow_ = row;
    Touch();
}

void RecordGrid::SetRedraw(bool on) {
    redraw_ = on;
    if (on) TouchStructure();
}

void RecordGrid::KeepRows(const std::vector<int>& rows) {
    std::deque<RowData> kept;
    if (!rows_.empty()) kept.push_back(std::move(rows_[0]));
    for (int r : rows)
        if (r > 0 && r < Rows()) kept.push_back(std::move(rows_[static_cast<size_t>(r)]));
    rows_ = std::move(kept);
    if (row_ >= Rows()) row_ = Rows() > 0 ? Rows() - 1 : 0;
    if (topRow_ >= Rows()) topRow_ = Rows() > 1 ? Rows() - 1 : 1;
    TouchStructure();
}

void RecordGrid::ReverseRows(int firstRow) {
    if (firstRow < 0 || firstRow >= Rows()) return;
    std::reverse(rows_.begin() + firstRow, rows_.end());
    Touch();
    ++heightRevision_;
}
