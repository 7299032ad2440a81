#include "form/RecordGrid.h"

namespace {
const std::string kEmpty;
}

RecordGrid::RecordGrid() {
    SetCols(2);
    SetRows(2);
}

void RecordGrid::SetRows(int rows) {
    if (rows < 0) rows = 0;
    // Every row already has cols_ cells (SetCols keeps them so): only new rows need theirs, so
    // growing a list row by row costs time in proportion to the rows added.
    const size_t kept = std::min(cells_.size(), static_cast<size_t>(rows));
    cells_.resize(static_cast<size_t>(rows));
    for (size_t r = kept; r < cells_.size(); ++r) cells_[r].cells.resize(static_cast<size_t>(cols_));
    if (row_ >= rows) row_ = rows > 0 ? rows - 1 : 0;
    if (topRow_ >= rows) topRow_ = rows > 1 ? rows - 1 : 1;
    TouchStructure();
}

void RecordGrid::SetCols(int cols) {
    if (cols < 0) cols = 0;
    cols_ = cols;
    columns_.resize(static_cast<size_t>(cols));
    for (auto& r : cells_) {
        r.cells.resize(static_cast<size_t>(cols));
        if (!r.styles.empty()) r.styles.resize(static_cast<size_t>(cols));
    }
    if (col_ >= cols) col_ = cols > 0 ? cols - 1 : 0;
    TouchStructure();
}

const std::string& RecordGrid::TextMatrix(int row, int col) const {
    return Valid(row, col) ? cells_[row].cells[col].text : kEmpty;
}

void RecordGrid::SetTextMatrix(int row, int col, std::string text) {
    if (!Valid(row, col)) return;
    cells_[row].cells[col].text = std::move(text);
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
    const auto& styles = cells_[row].styles;
    return styles.empty() ? nullptr : &styles[static_cast<size_t>(col)];
}

// The row's styles are made, all plain, when one of its cells is first given a look.
RecordGrid::CellStyle& RecordGrid::StyleAt(int row, int col) {
    auto& styles = cells_[row].styles;
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
    return row >= 0 && row < Rows() ? cells_[row].height : DefaultRowHeight;
}

void RecordGrid::SetRowHeight(int row, int twips) {
    if (row < 0 || row >= Rows()) return;
    if (cells_[row].height == twips) return;
    cells_[row].height = twips;
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
    std::vector<RowData> kept;
    kept.reserve(rows.size() + 1);
    if (!cells_.empty()) kept.push_back(std::move(cells_[0]));
    for (int r : rows)
        if (r > 0 && r < Rows()) kept.push_back(std::move(cells_[static_cast<size_t>(r)]));
    cells_ = std::move(kept);
    if (row_ >= Rows()) row_ = Rows() > 0 ? Rows() - 1 : 0;
    if (topRow_ >= Rows()) topRow_ = Rows() > 1 ? Rows() - 1 : 1;
    TouchStructure();
}

void RecordGrid::ReverseRows(int firstRow) {
    if (firstRow < 0 || firstRow >= Rows()) return;
    std::reverse(cells_.begin() + firstRow, cells_.end());
    Touch();
    ++heightRevision_;
}
