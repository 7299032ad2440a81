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
    // lead: bytes that go before the lines (a byte order mark).
    MergedWriter(std::string_view fileBytes, std::string_view lead, MergedBytes& out, MergeCounts& counts)
        : file_(fileBytes), out_(out), counts_(counts), small_(lead) {}

    void Take(std::string_view line) {
        if (pending_) Settle(*pending_, line);
        pending_ = line;
    }

    void Finish() {
        if (pending_) Settle(*pending_, std::nullopt);
        pending_.reset();
        Flush();
        Send();
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
        ++counts_.lines;
        if (!heldByFile_ && ++counts_.added == 1) out_.FirstLineAdded();
        heldByFile_ = false;
    }

    // Lines that follow each other in the file, each ended by CR LF there, are written as one run.
    void Write(std::string_view line) {
        const char* end = line.data() + line.size();
        const bool endsInCrLf =
            InFile(line) && file_.data() + file_.size() - end >= 2 && end[0] == '\r' && end[1] == '\n';
        if (!endsInCrLf) {
            Flush();
            small_.append(line);
            small_.append("\r\n");
            if (small_.size() >= LargePiece) Send();
            return;
        }
        if (runStart_ && line.data() != runEnd_) Flush();
        if (!runStart_) runStart_ = line.data();
        runEnd_ = end + 2;
    }

    // A run of the file's own bytes goes out as it lies; a short one joins the lines made here, so
    // that a file with many new lines is not written a few bytes at a time.
    void Flush() {
        if (!runStart_) return;
        const std::string_view run(runStart_, static_cast<size_t>(runEnd_ - runStart_));
        runStart_ = runEnd_ = nullptr;
        if (run.size() < LargePiece) {
            small_.append(run);
            if (small_.size() >= LargePiece) Send();
            return;
        }
        Send();
        out_.Append(run);
    }

    void Send() {
        if (!small_.empty()) out_.Append(small_);
        small_.clear();
    }

    static constexpr size_t LargePiece = 64 * 1024;
    std::string_view file_;
    MergedBytes& out_;
    MergeCounts& counts_;
    std::string small_;
    std::optional<std::string_view> pending_;
    bool heldByFile_ = false;
    const char* runStart_ = nullptr;
    const char* runEnd_ = nullptr;
};

// A day file is normally in order already (Stillbeacon writes as time goes, a merge writes
// sorted): its lines are walked once and the new ones, sorted, are merged in on the way, with no
// list of the file's lines. False when a line of the file is out of order: what was written by
// then is to be dropped.
bool MergeIntoOrderedFile(std::string_view fileBytes, const std::vector<std::string>& newLines,
                          MergedWriter& writer) {
    std::vector<std::string_view> added(newLines.begin(), newLines.end());
    std::sort(added.begin(), added.end());
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

// Holds the merged bytes whole.
class HeldBytes final : public MergedBytes {
  public:
    explicit HeldBytes(std::string& bytes) : bytes_(bytes) {}
    void Append(std::string_view bytes) override { bytes_.append(bytes); }
    void StartOver() override { bytes_.clear(); }

  private:
    std::string& bytes_;
};

}  // namespace

MergeCounts MergeDayLines(std::string_view fileBytes, const std::vector<std::string>& newLines,
                          MergedBytes& out) {
    const std::string_view lead = fileBytes.starts_with(Utf8ByteOrderMark) ? Utf8ByteOrderMark : "";
    fileBytes.remove_prefix(lead.size());
    MergeCounts counts;
    {
        MergedWriter writer(fileBytes, lead, out, counts);
        if (MergeIntoOrderedFile(fileBytes, newLines, writer)) return counts;
    }

    // A file out of order: its lines and the new ones sorted together by a merge sort, which
    // handles a file mostly in order still better than a quicksort, and has no bad cases.
    out.StartOver();
    counts = {};
    MergedWriter writer(fileBytes, lead, out, counts);
    std::vector<std::string_view> lines;
    ForEachLine(fileBytes, [&](std::string_view line) {
        lines.push_back(line);
        return true;
    });
    lines.insert(lines.end(), newLines.begin(), newLines.end());
    std::stable_sort(lines.begin(), lines.end());
    for (std::string_view line : lines) writer.Take(line);
    writer.Finish();
    return counts;
}

MergedDay MergeDayLines(std::string_view fileBytes, const std::vector<std::string>& newLines) {
    MergedDay merged;
    size_t size = Utf8ByteOrderMark.size() + fileBytes.size() + 2;
    for (const std::string& line : newLines) size += line.size() + 2;
    merged.bytes.reserve(size);
    HeldBytes held(merged.bytes);
    static_cast<MergeCounts&>(merged) = MergeDayLines(fileBytes, newLines, held);
    return merged;
}
