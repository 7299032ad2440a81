#pragma once
#include <string>
#include <string_view>

// Appends lines, each ended by CR LF, to a file that is only ever appended to (a history file, a
// capture file, the WAN address log, the trace), creating it when missing. Every line goes out
// with one write as it comes, nothing buffered between lines, so a crash loses at most the line
// being written; a line that went out only in part (a full disk) is taken back, so the file holds
// whole lines only. A file whose last line lost its end (to a crash) gets the end before the next
// line, which so starts a line of its own instead of being glued to the remnant.
class LineAppender {
  public:
    LineAppender() = default;
    ~LineAppender() { Close(); }
    LineAppender(const LineAppender&) = delete;
    LineAppender& operator=(const LineAppender&) = delete;

    // Opens path for appending, creating it when missing. False, with the system's reason, when it
    // cannot be opened.
    bool Open(const std::string& path, std::string& error);
    // Appends one line and its CR LF. False, with the system's reason, when the line could not be
    // written whole; nothing of it is left in the file then, unless WroteInPart() and taking back
    // failed too (the next line then starts a line of its own).
    bool Append(std::string_view line, std::string& error);
    // The last failed Append had written part of its line: the disk is full.
    bool WroteInPart() const { return inPart_; }
    void Close();

    bool IsOpen() const { return fd_ >= 0; }
    const std::string& Path() const { return path_; }
    // Whether the path still names the open file: not deleted or renamed away meanwhile.
    bool StillNamed() const;

  private:
    std::string path_;
    int fd_ = -1;
    std::string lineEndOwed_;  // the end of an unfinished last line, written before the next line
    std::string bytes_;        // the write buffer, kept for its room
    bool inPart_ = false;
};

// Appends one line to a file, creating the file when missing.
bool AppendLine(const std::string& path, std::string_view line, std::string& error);
