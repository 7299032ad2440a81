#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/LineAppender.h"

// Drovix's daily history of the router's System Log: "DXLog yyyy-mm-dd.txt" in Stillbeacon's log
// folder, one router line per CR LF line, oldest first. The files are only ever appended to.

// "DXLog " + date + ".txt"; the date must be a valid "yyyy-mm-dd" (names are never built from
// anything else).
std::string HistoryFileName(std::string_view date);

// The history files of the folder ("DXLog 2*.txt", letter case ignored) in name order, which is
// date order; nullopt when the folder cannot be listed.
std::optional<std::vector<std::string>> ListHistoryFiles(const std::string& folder);

// Splits file bytes into lines at CR LF (or a lone LF); a last line without an end is kept.
std::vector<std::string> SplitFileLines(std::string_view bytes);

// Appends lines to one history file at a time, each with its CR LF as it comes (a LineAppender),
// so a crash loses at most the line being written.
class HistoryAppender {
  public:
    explicit HistoryAppender(std::string folder) : folder_(std::move(folder)) {}
    // Opens (creating when missing) the named file for appending; false with the reason on failure.
    bool Open(const std::string& name, std::string& error);
    bool Append(std::string_view line, std::string& error) { return file_.Append(line, error); }
    void Close();
    bool IsOpen() const { return file_.IsOpen(); }
    // The date in the open file's name ("yyyy-mm-dd"), empty when none is open.
    std::string OpenDate() const;
    const std::string& OpenName() const { return name_; }

  private:
    std::string folder_;
    std::string name_;
    LineAppender file_;
};
