#pragma once
#include <string>
#include <string_view>
#include <vector>

// Merging new lines into the bytes of a Stillbeacon day file. Pure functions over bytes.

// Whether a line can be left out because the line after it in sorted order says the same:
// line has no "." as its 20th character (no hundredths after its time), both share their first
// 19 characters, and the text after the first blank at or after the 18th character is the same
// in both (the whole line counts as that text when it has no such blank). A line Drovix wrote
// without hundredths thus gives way to Stillbeacon's equal line with them, two identical lines
// collapse into one, and a line with hundredths is always kept.
bool GivesWayTo(std::string_view line, std::string_view next);

// Where the merged bytes go, in pieces as they are made, so a large day file is never held
// twice. Failures are the taker's to keep: the merge goes on to count its lines either way.
class MergedBytes {
  public:
    virtual ~MergedBytes() = default;
    virtual void Append(std::string_view bytes) = 0;
    // Drops every byte taken so far: the merge begins again.
    virtual void StartOver() = 0;
    // Told once, when the first line that was not in the file is among the bytes taken or about
    // to be: until then the merge may come to nothing new.
    virtual void FirstLineAdded() {}
};

struct MergeCounts {
    int lines = 0;  // lines in the merged bytes
    int added = 0;  // lines that were not in the file before, not even as an equal line
};

// The file's lines (CR LF or a lone LF; a last line without an end counts) and the new lines,
// sorted byte by byte in ascending order, with every line that gives way to the next left out,
// each ending in CR LF; a byte order mark the file began with stays in front.
MergeCounts MergeDayLines(std::string_view fileBytes, const std::vector<std::string>& newLines,
                          MergedBytes& out);

struct MergedDay : MergeCounts {
    std::string bytes;
};

// The same, the merged bytes held whole.
MergedDay MergeDayLines(std::string_view fileBytes, const std::vector<std::string>& newLines);
