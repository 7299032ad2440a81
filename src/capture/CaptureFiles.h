#pragma once
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/LineAppender.h"

// The capture files: what the syslog receiver heard from the router between two refreshes, one
// file per day, "DXCapture yyyy-mm-dd.txt" in the program folder. Each line is a router line in
// the grammar of the System Log pages, "yyyy-mm-dd hh:mm:ss text", in the router's time, ended by
// CR LF; lines are in the order they arrived, oldest first. The files are only ever appended to.

// "DXCapture " + date + ".txt"; date is a valid "yyyy-mm-dd".
std::string CaptureFileName(std::string_view date);

// "yyyy-mm-dd hh:mm:ss" of a moment in this computer's local time.
std::string LocalStamp(std::time_t moment);

// Whether text begins with a valid "yyyy-mm-dd hh:mm:ss" followed by a blank.
bool StartsWithStamp(std::string_view text);

// The line for one message: stamp, a blank and the text. The text's trailing CR, LF and NUL bytes
// are dropped and any others become blanks, so a message never splits a line or ends a C string.
std::string CaptureLine(std::string_view stamp, std::string_view text);

// The router lines of a capture file's bytes, oldest first: every line ended by CR LF (or LF)
// that starts with a stamp. A last line without its end was cut short (a crash or a full disk
// while it was written) and is left out.
std::vector<std::string> CaptureLines(std::string_view bytes);

// The days ("yyyy-mm-dd") that have a capture file in folder, oldest first; none when the folder
// cannot be listed.
std::vector<std::string> CaptureDays(const std::string& folder);

// The lines captured on one day (date "yyyy-mm-dd") in folder, the program folder: empty when
// nothing was captured that day; nullopt, with error saying why, when the file exists but
// cannot be read.
std::optional<std::vector<std::string>> ReadCaptureDay(const std::string& folder, std::string_view date,
                                                       std::string* error = nullptr);

// Appends capture lines to the file of each line's day (a LineAppender): every line goes out with
// one write as it comes, so a crash loses at most the line being written.
class CaptureAppender {
  public:
    explicit CaptureAppender(std::string folder) : folder_(std::move(folder)) {}

    // Appends line (one that starts with a stamp) and CR LF. False, with error, when it could not
    // be written whole; nothing of it is left in the file then.
    bool Append(std::string_view line, std::string& error);

  private:
    bool OpenDay(std::string_view date, std::string& error);
    bool StillTheFile() const;

    std::string folder_;
    std::string date_;  // the day of the open file
    LineAppender file_;
    std::time_t checkedAt_ = 0;  // when the open file was last found under its name
};
