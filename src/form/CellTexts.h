#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
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
    CellTexts() = default;
    // A copy has a block of its own (a form's lists are copied whole, as a reset does).
    CellTexts(const CellTexts& other);
    CellTexts& operator=(const CellTexts& other);
    CellTexts(CellTexts&&) noexcept = default;
    CellTexts& operator=(CellTexts&&) noexcept = default;

    // The text of a cell; empty beyond the cells kept. Valid until this row's texts change.
    std::string_view operator[](int col) const;
    // Cells up to the last one that is not empty.
    int Count() const;
    // The bytes of the first count cells together (0 when they are all empty).
    std::size_t BytesBefore(int count) const;

    // Replaces the first texts.size() cells and keeps the rest (up to the count given).
    void Assign(std::span<const std::string_view> texts, int count);
    // Replaces one cell. The text may be a view of this row's own cells.
    void Set(int col, std::string_view text);
    // Drops the cells from count on.
    void Truncate(int count);

  private:
    // Block layout: [offset width: 1 byte][cell count: 4 bytes][end offsets: count x width][bytes]
    static constexpr std::size_t kHeader = 1 + sizeof(std::uint32_t);
    static int CountOf(const char* block) {
        std::uint32_t count;
        std::memcpy(&count, block + 1, sizeof count);
        return static_cast<int>(count);
    }
    static std::size_t ReadOffset(const char* at, int width) {
        if (width == 1) return static_cast<unsigned char>(*at);
        if (width == 2) {
            std::uint16_t v;
            std::memcpy(&v, at, sizeof v);
            return v;
        }
        std::uint32_t v;
        std::memcpy(&v, at, sizeof v);
        return v;
    }

    // Views of the kept cells, as many as fit in cells; the other entries are left as they are.
    void Decode(std::span<std::string_view> cells) const;
    // Makes the block anew from these texts, which may be views of the old block.
    void Build(std::span<const std::string_view> cells);
    // Writes a text no longer than the cell's own over it, in the block as it is (clearing a tag
    // need not make the row anew); false when it cannot.
    bool SetInPlace(int col, std::string_view text);

    std::unique_ptr<char[]> block_;
};

// Inline: the matching reads cells of many thousand rows.
inline int CellTexts::Count() const {
    return block_ ? CountOf(block_.get()) : 0;
}

inline std::size_t CellTexts::BytesBefore(int count) const {
    if (!block_ || count <= 0) return 0;
    const char* block = block_.get();
    // A row with a block keeps at least one cell; a cell's end offset counts the cells before it.
    const int last = (count < CountOf(block) ? count : CountOf(block)) - 1;
    const int width = block[0];
    return ReadOffset(block + kHeader + static_cast<std::size_t>(last) * width, width);
}

inline std::string_view CellTexts::operator[](int col) const {
    if (!block_ || col < 0) return {};
    const char* block = block_.get();
    const int count = CountOf(block);
    if (col >= count) return {};
    const int width = block[0];
    const char* ends = block + kHeader;
    const std::size_t begin = col == 0 ? 0 : ReadOffset(ends + (col - 1) * width, width);
    const std::size_t end = ReadOffset(ends + col * width, width);
    const char* bytes = ends + static_cast<std::size_t>(count) * width;
    return {bytes + begin, end - begin};
}
