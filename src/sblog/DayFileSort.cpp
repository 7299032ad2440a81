#include "sblog/DayFileSort.h"

#include <algorithm>
#include <functional>

#include "text/TextLines.h"

namespace {

// The line's record after its time stamp; the whole line when no blank follows the time.
std::string_view TextAfterTime(std::string_view line) {
    const size_t blank = line.find(' ', 17);
    return blank == std::string_view::npos ? line : line.substr(blank + 1);
}

}  // namespace

bool GivesWayTo(std::string_view line, std::string_view next) {
    if (line.size() >= 20 && line[19] == '.') return false;
    if (line.substr(0, 19) != next.substr(0, 19)) return false;
    return TextAfterTime(line) == TextAfterTime(next);
}

MergedDay MergeDayLines(std::string_view fileBytes, const std::vector<std::string>& newLines) {
    const bool marked = fileBytes.starts_with(Utf8ByteOrderMark);
    if (marked) fileBytes.remove_prefix(Utf8ByteOrderMark.size());
    // Plain views, sorted by their bytes alone: a line is one of the file's when its bytes lie
    // in the file's.
    std::vector<std::string_view> lines;
    lines.reserve(static_cast<size_t>(std::count(fileBytes.begin(), fileBytes.end(), '\n')) + 1 +
                  newLines.size());
    ForEachLine(fileBytes, [&](std::string_view line) {
        lines.push_back(line);
        return true;
    });
    const auto middle = lines.begin() + static_cast<std::ptrdiff_t>(lines.size());
    lines.insert(lines.end(), newLines.begin(), newLines.end());
    // A day file is normally in order already (Stillbeacon writes as time goes, a merge writes
    // sorted): then only the new lines need sorting, and one pass merges them in.
    if (std::is_sorted(lines.begin(), middle)) {
        std::sort(middle, lines.end());
        std::inplace_merge(lines.begin(), middle, lines.end());
    } else {
        // A merge sort: a file out of order is mostly in order still, which it handles better than
        // a quicksort, and its time has no bad cases.
        std::stable_sort(lines.begin(), lines.end());
    }
    const auto inFile = [&](std::string_view line) {
        return std::greater_equal<const char*>()(line.data(), fileBytes.data()) &&
               std::less<const char*>()(line.data(), fileBytes.data() + fileBytes.size());
    };

    MergedDay merged;
    size_t size = Utf8ByteOrderMark.size();
    for (std::string_view line : lines) size += line.size() + 2;
    merged.bytes.reserve(size);
    if (marked) merged.bytes.append(Utf8ByteOrderMark);
    // Lines that follow each other in the file, each ended by CR LF there, are copied as one run.
    const char* runStart = nullptr;
    const char* runEnd = nullptr;
    const auto flush = [&] {
        if (runStart) merged.bytes.append(runStart, static_cast<size_t>(runEnd - runStart));
        runStart = runEnd = nullptr;
    };
    const auto emit = [&](std::string_view line) {
        const char* end = line.data() + line.size();
        const bool endsInCrLf = inFile(line) && fileBytes.data() + fileBytes.size() - end >= 2 &&
                                end[0] == '\r' && end[1] == '\n';
        if (!endsInCrLf) {
            flush();
            merged.bytes.append(line);
            merged.bytes.append("\r\n");
            return;
        }
        if (runStart && line.data() != runEnd) flush();
        if (!runStart) runStart = line.data();
        runEnd = end + 2;
    };
    // A line that gives way to an identical one passes on whether the file held it.
    bool heldByFile = false;
    for (size_t i = 0; i < lines.size(); ++i) {
        heldByFile = heldByFile || inFile(lines[i]);
        if (i + 1 < lines.size() && GivesWayTo(lines[i], lines[i + 1])) {
            if (lines[i] != lines[i + 1]) heldByFile = false;
            continue;
        }
        emit(lines[i]);
        ++merged.lines;
        if (!heldByFile) ++merged.added;
        heldByFile = false;
    }
    flush();
    return merged;
}
