#include "sblog/DayFileSort.h"

#include <algorithm>
#include <functional>
#include <optional>

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

namespace {

// Takes the merged lines in order, one at a time, and writes those that do not give way to the
// next one; a line is one of the file's when its bytes lie in the file's.
class MergedWriter {
  public:
    MergedWriter(std::string_view fileBytes, MergedDay& merged) : file_(fileBytes), merged_(merged) {}

    void Take(std::string_view line) {
        if (pending_) Settle(*pending_, line);
        pending_ = line;
    }

    void Finish() {
        if (pending_) Settle(*pending_, std::nullopt);
        pending_.reset();
        Flush();
    }

  private:
    bool InFile(std::string_view line) const {
        return std::greater_equal<const char*>()(line.data(), file_.data()) &&
               std::less<const char*>()(line.data(), file_.data() + file_.size());
    }

    // A line that gives way to an identical one passes on whether the file held it.
    void Settle(std::string_view line, std::optional<std::string_view> next) {
        heldByFile_ = heldByFile_ || InFile(line);
        if (next && GivesWayTo(line, *next)) {
            if (line != *next) heldByFile_ = false;
            return;
        }
        Write(line);
        ++merged_.lines;
        if (!heldByFile_) ++merged_.added;
        heldByFile_ = false;
    }

    // Lines that follow each other in the file, each ended by CR LF there, are copied as one run.
    void Write(std::string_view line) {
        const char* end = line.data() + line.size();
        const bool endsInCrLf =
            InFile(line) && file_.data() + file_.size() - end >= 2 && end[0] == '\r' && end[1] == '\n';
        if (!endsInCrLf) {
            Flush();
            merged_.bytes.append(line);
            merged_.bytes.append("\r\n");
            return;
        }
        if (runStart_ && line.data() != runEnd_) Flush();
        if (!runStart_) runStart_ = line.data();
        runEnd_ = end + 2;
    }

    void Flush() {
        if (runStart_) merged_.bytes.append(runStart_, static_cast<size_t>(runEnd_ - runStart_));
        runStart_ = runEnd_ = nullptr;
    }

    std::string_view file_;
    MergedDay& merged_;
    std::optional<std::string_view> pending_;
    bool heldByFile_ = false;
    const char* runStart_ = nullptr;
    const char* runEnd_ = nullptr;
};

// A day file is normally in order already (Stillbeacon writes as time goes, a merge writes
// sorted): its lines are walked once and the new ones, sorted, are merged in on the way, with no
// list of the file's lines. False, with nothing to keep, when a line of the file is out of order.
bool MergeIntoOrderedFile(std::string_view fileBytes, const std::vector<std::string>& newLines,
                          MergedDay& merged) {
    std::vector<std::string_view> added(newLines.begin(), newLines.end());
    std::sort(added.begin(), added.end());
    MergedWriter writer(fileBytes, merged);
    size_t next = 0;
    std::optional<std::string_view> previous;
    bool ordered = true;
    ForEachLine(fileBytes, [&](std::string_view line) {
        if (previous && line < *previous) return ordered = false;
        previous = line;
        // On equal lines the file's comes first.
        while (next < added.size() && added[next] < line) writer.Take(added[next++]);
        writer.Take(line);
        return true;
    });
    if (!ordered) return false;
    while (next < added.size()) writer.Take(added[next++]);
    writer.Finish();
    return true;
}

}  // namespace

MergedDay MergeDayLines(std::string_view fileBytes, const std::vector<std::string>& newLines) {
    const bool marked = fileBytes.starts_with(Utf8ByteOrderMark);
    if (marked) fileBytes.remove_prefix(Utf8ByteOrderMark.size());
    const auto start = [&] {
        MergedDay merged;
        size_t size = Utf8ByteOrderMark.size() + fileBytes.size() + 2;
        for (const std::string& line : newLines) size += line.size() + 2;
        merged.bytes.reserve(size);
        if (marked) merged.bytes.append(Utf8ByteOrderMark);
        return merged;
    };
    MergedDay merged = start();
    if (MergeIntoOrderedFile(fileBytes, newLines, merged)) return merged;

    // A file out of order: its lines and the new ones sorted together by a merge sort, which
    // handles a file mostly in order still better than a quicksort, and has no bad cases.
    merged = start();
    std::vector<std::string_view> lines;
    ForEachLine(fileBytes, [&](std::string_view line) {
        lines.push_back(line);
        return true;
    });
    lines.insert(lines.end(), newLines.begin(), newLines.end());
    std::stable_sort(lines.begin(), lines.end());
    MergedWriter writer(fileBytes, merged);
    for (std::string_view line : lines) writer.Take(line);
    writer.Finish();
    return merged;
}
