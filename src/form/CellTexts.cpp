#include "form/CellTexts.h"

#include <algorithm>
#include <array>
#include <vector>

namespace {

void WriteOffset(char* at, int width, std::size_t value) {
    if (width == 1) {
        *at = static_cast<char>(static_cast<unsigned char>(value));
    } else if (width == 2) {
        const auto v = static_cast<std::uint16_t>(value);
        std::memcpy(at, &v, sizeof v);
    } else {
        const auto v = static_cast<std::uint32_t>(value);
        std::memcpy(at, &v, sizeof v);
    }
}

// Room for count cells' views, all empty: on the stack for a row of the usual width.
class CellRoom {
  public:
    explicit CellRoom(int count) {
        const auto n = static_cast<std::size_t>(std::max(count, 0));
        if (n > local_.size()) many_.resize(n);
        cells_ = n > local_.size() ? std::span<std::string_view>(many_) : std::span(local_).first(n);
    }
    CellRoom(const CellRoom&) = delete;
    CellRoom& operator=(const CellRoom&) = delete;
    std::span<std::string_view> Cells() { return cells_; }

  private:
    std::array<std::string_view, 16> local_{};
    std::vector<std::string_view> many_;
    std::span<std::string_view> cells_;
};

}  // namespace

CellTexts::CellTexts(const CellTexts& other) {
    if (!other.block_) return;
    const char* block = other.block_.get();
    const int count = CountOf(block);
    const int width = block[0];
    const std::size_t offsets = static_cast<std::size_t>(count) * width;
    // The block may be larger than its texts need (a cell written shorter in place): only what
    // they need is copied.
    const std::size_t size = kHeader + offsets + ReadOffset(block + kHeader + offsets - width, width);
    block_ = std::make_unique_for_overwrite<char[]>(size);
    std::memcpy(block_.get(), block, size);
}

CellTexts& CellTexts::operator=(const CellTexts& other) {
    if (this != &other) block_ = CellTexts(other).block_;
    return *this;
}

void CellTexts::Decode(std::span<std::string_view> cells) const {
    if (!block_) return;
    const char* block = block_.get();
    const int width = block[0];
    const auto count = std::min(static_cast<std::size_t>(CountOf(block)), cells.size());
    const char* ends = block + kHeader;
    const char* bytes = ends + static_cast<std::size_t>(CountOf(block)) * width;
    std::size_t begin = 0;
    for (std::size_t c = 0; c < count; ++c) {
        const std::size_t end = ReadOffset(ends + c * width, width);
        cells[c] = {bytes + begin, end - begin};
        begin = end;
    }
}

void CellTexts::Build(std::span<const std::string_view> cells) {
    std::size_t count = cells.size();
    while (count > 0 && cells[count - 1].empty()) --count;
    if (count == 0) {
        block_.reset();
        return;
    }
    std::size_t total = 0;
    for (std::size_t c = 0; c < count; ++c) total += cells[c].size();
    const int width = total <= 0xFF ? 1 : total <= 0xFFFF ? 2 : 4;
    const std::size_t offsets = count * width;
    auto block = std::make_unique_for_overwrite<char[]>(kHeader + offsets + total);
    block[0] = static_cast<char>(width);
    const auto count32 = static_cast<std::uint32_t>(count);
    std::memcpy(block.get() + 1, &count32, sizeof count32);
    char* ends = block.get() + kHeader;
    char* bytes = ends + offsets;
    std::size_t end = 0;
    for (std::size_t c = 0; c < count; ++c) {
        if (!cells[c].empty()) std::memcpy(bytes + end, cells[c].data(), cells[c].size());
        end += cells[c].size();
        WriteOffset(ends + c * width, width, end);
    }
    // Only now may the old block go: the texts may have been views of it.
    block_ = std::move(block);
}

void CellTexts::Assign(std::span<const std::string_view> texts, int count) {
    if (!block_ && texts.size() <= static_cast<std::size_t>(std::max(count, 0))) {
        Build(texts);  // a row with no texts yet: nothing of it to keep
        return;
    }
    CellRoom room(std::min(count, std::max(static_cast<int>(texts.size()), Count())));
    const auto cells = room.Cells();
    Decode(cells);
    std::copy_n(texts.begin(), std::min(texts.size(), cells.size()), cells.begin());
    Build(cells);
}

bool CellTexts::SetInPlace(int col, std::string_view text) {
    if (!block_) return false;
    char* block = block_.get();
    const int count = CountOf(block);
    // An emptied last cell would stay kept: the row is made anew without it.
    if (col >= count || (text.empty() && col == count - 1)) return false;
    const int width = block[0];
    char* ends = block + kHeader;
    char* bytes = ends + static_cast<std::size_t>(count) * width;
    const std::size_t begin = col == 0 ? 0 : ReadOffset(ends + (col - 1) * width, width);
    const std::size_t end = ReadOffset(ends + col * width, width);
    const std::size_t total = ReadOffset(ends + (count - 1) * width, width);
    if (text.size() > end - begin) return false;
    const std::size_t shrink = end - begin - text.size();
    // The text may be a view of this row's own bytes: it is copied before anything moves.
    if (!text.empty()) std::memmove(bytes + begin, text.data(), text.size());
    std::memmove(bytes + begin + text.size(), bytes + end, total - end);
    for (int c = col; c < count; ++c)
        WriteOffset(ends + c * width, width, ReadOffset(ends + c * width, width) - shrink);
    return true;
}

void CellTexts::Set(int col, std::string_view text) {
    if (col < 0) return;
    if (text.empty() && col >= Count()) return;  // already empty
    if (SetInPlace(col, text)) return;
    CellRoom room(std::max(col + 1, Count()));
    const auto cells = room.Cells();
    Decode(cells);
    cells[static_cast<std::size_t>(col)] = text;
    Build(cells);
}

void CellTexts::Truncate(int count) {
    if (Count() <= count) return;
    CellRoom room(count);
    Decode(room.Cells());
    Build(room.Cells());
}
