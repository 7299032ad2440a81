#pragma once
#include <cstring>
#include <string_view>

// A file saved by an editor may begin with the UTF-8 byte order mark. It is not part of the
// first line: readers pass over it, and a file rewritten keeps it as its first bytes.
inline constexpr std::string_view Utf8ByteOrderMark = "\xEF\xBB\xBF";

inline std::string_view WithoutByteOrderMark(std::string_view bytes) {
    if (bytes.starts_with(Utf8ByteOrderMark)) bytes.remove_prefix(Utf8ByteOrderMark.size());
    return bytes;
}

// Walks the lines of file bytes without copying them: each line is cut at its line feed, with a
// carriage return before it removed; a last line without an end counts too. fn(line) returns
// false to stop the walk.
template <typename Fn>
void ForEachLine(std::string_view bytes, Fn fn) {
    const char* p = bytes.data();
    const char* end = p + bytes.size();
    while (p < end) {
        const char* nl = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
        std::string_view line(p, static_cast<std::size_t>((nl ? nl : end) - p));
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (!fn(line)) return;
        p = nl ? nl + 1 : end;
    }
}
