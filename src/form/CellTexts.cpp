#include "form/CellTexts.h"

#include <cstdint>
#include <algorithm>
#include <cstring>

namespace {

// Block layout: [offset width: 1 byte][cell count: 4 bytes][end offsets: count x width][bytes]
constexpr std::size_t kHeader = 1 + sizeof(std::uint32_t);

std::size_t ReadOffset(const char* at, int width) {
    switch (width) {
        case 1: return static_cast<unsigned char>(*at);
        case 2: {
            std::uint16_t v;
            std::memcpy(&v, at, sizeof v);
            return v;
        }
        default: {
            std::uint32_t v;
            std::memcpy(&v, at, sizeof v);
            return v;
        }
    }
}

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

int CountOf(const char* block) {
    std::uint32_t count;
    std::memcpy(&count, block + 1, sizeof count);
    return static_cast<int>(count);
}

}  // namespace

int CellTexts::Count() const {
    return block_ ? CountOf(block_.get()) : 0;
}

std::string_view CellTexts::operator[](int col) const {
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

// Builds the new block before the old one goes, so that the new texts may be views of the old.
template <typename TextOf>
void CellTexts::Rebuild(int count, TextOf textOf) {
    while (count > 0 && textOf(count - 1).empty()) --count;
    if (count <= 0) {
        block_.reset();
        return;
    }
    std::size_t total = 0;
    for (int c = 0; c < count; ++c) total += textOf(c).size();
    const int width = total <= 0xFF ? 1 : total <= 0xFFFF ? 2 : 4;
    const std::size_t offsets = static_cast<std::size_t>(count) * width;
    auto block = std::make_unique_for_overwrite<char[]>(kHeader + offsets + total);
    block[0] = static_cast<char>(width);
    const auto count32 = static_cast<std::uint32_t>(count);
    std::memcpy(block.get() + 1, &count32, sizeof count32);
    char* ends = block.get() + kHeader;
    char* bytes = ends + offsets;
    std::size_t end = 0;
    for (int c = 0; c < count; ++c) {
        const std::string_view text = textOf(c);
        if (!text.empty()) std::memcpy(bytes + end, text.data(), text.size());
        end += text.size();
        WriteOffset(ends + static_cast<std::size_t>(c) * width, width, end);
    }
    block_ = std::move(block);
}

void CellTexts::Assign(std::span<const std::string_view> texts, int count) {
    const int given = static_cast<int>(texts.size());
    const int kept = Count();
    Rebuild(std::min(count, std::max(given, kept)), [&](int c) {
        return c < given ? texts[static_cast<std::size_t>(c)] : (*this)[c];
    });
}

void CellTexts::Set(int col, std::string_view text) {
    if (col < 0) return;
    if (text.empty() && col >= Count()) return;  // already empty
    Rebuild(std::max(col + 1, Count()), [&](int c) { return c == col ? text : (*this)[c]; });
}

void CellTexts::Truncate(int count) {
    if (Count() > count) Rebuild(count, [&](int c) { return (*this)[c]; });
}
