#include "syslog/DayFileSort.h"

#include <algorithm>

namespace {

// The line's record after its time stamp; the whole line when no blank follows the time.
std::string_view TextAfterTime(std::string_view line) {
    const size_t blank = line.find(' ', 17);
    return blank == std::string_view::npos ? line : line.substr(blank + 1);
}

struct Line {
    std::string_view text;
    bool fresh;  // one of the new lines
};

void AppendFileLines(std::string_view bytes, std::vector<Line>& lines) {
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        const size_t next = end == std::string_view::npos ? bytes.size() : end + 1;
        if (end == std::string_view::npos) end = bytes.size();
        if (end > start && bytes[end - 1] == '\r') --end;
        lines.push_back({bytes.substr(start, end - start), false});
        start = next;
    }
}

}  // namespace

bool GivesWayTo(std::string_view line, std::string_view next) {
    if (line.size() >= 20 && line[19] == '.') return false;
    if (line.substr(0, 19) != next.substr(0, 19)) return false;
    return TextAfterTime(line) == TextAfterTime(next);
}

MergedDay MergeDayLines(std::string_view fileBytes, const std::vector<std::string>& newLines) {
    std::vector<Line> lines;
    lines.reserve(static_cast<size_t>(std::count(fileBytes.begin(), fileBytes.end(), '\n')) + 1 +
                  newLines.size());
    AppendFileLines(fileBytes, lines);
    for (const std::string& line : newLines) lines.push_back({line, true});
    // Among equal lines the file's own come first, so the one that stays says whether the line
    // is really new.
    std::sort(lines.begin(), lines.end(), [](const Line& a, const Line& b) {
        const int order = a.text.compare(b.text);
        return order != 0 ? order < 0 : a.fresh < b.fresh;
    });

    MergedDay merged;
    size_t size = 0;
    for (const Line& line : lines) size += line.text.size() + 2;
    merged.bytes.reserve(size);
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i + 1 < lines.size() && GivesWayTo(lines[i].text, lines[i + 1].text)) {
            if (!lines[i].fresh && lines[i].text == lines[i + 1].text) lines[i + 1].fresh = false;
            continue;
        }
        merged.bytes.append(lines[i].text);
        merged.bytes.append("\r\n");
        ++merged.lines;
        if (lines[i].fresh) ++merged.added;
    }
    return merged;
}
