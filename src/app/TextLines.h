#pragma once
#include <cstring>
#include <string_view>

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
