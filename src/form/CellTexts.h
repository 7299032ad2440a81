#pragma once
#include <cstddef>
#include <memory>
#include <span>
#include <string_view>

// The texts of one row's cells in one block of memory: a list of many thousand rows then costs
// little more than its bytes. The block holds the width of an offset (1, 2 or 4 bytes, the
// least that the row's bytes need), the number of cells kept, the end offset of each cell, and
// the bytes of all cells back to back. Trailing empty cells are not kept, and a row with no
// text holds no block at all.
class CellTexts {
  public:
    // The text of a cell; empty beyond the cells kept. Valid until this row's texts change.
    std::string_view operator[](int col) const;
    // Cells up to the last one that is not empty.
    int Count() const;

    // Replaces the first texts.size() cells and keeps the rest (up to the count given).
    void Assign(std::span<const std::string_view> texts, int count);
    // Replaces one cell. The text may be a view of this row's own cells.
    void Set(int col, std::string_view text);
    // Drops the cells from count on.
    void Truncate(int count);

  private:
    template <typename TextOf>
    void Rebuild(int count, TextOf textOf);

    std::unique_ptr<char[]> block_;
};
