#pragma once
#include <QDateTime>
#include <string>

#include "files/LineAppender.h"

// The trace the page fetcher keeps with "/trace": one line per event in the trace log and a copy
// of every page received in the program folder.

// Seconds since midnight with at most two decimals, in its shortest form ("52200", "52200.25").
std::string TraceTime(const QDateTime& now);

// The page address with any logon written into it ("http://user:pw@host/...") taken out, so
// that a password never reaches the trace or a file name.
std::string AddressWithoutLogon(const std::string& address);

// Full name of the copy of the counter-th traced page: programDir + "DXimage-" + the counter with
// at least three digits + "-" + the address with ":" -> ";", "/" -> "'", "?" -> "!" (other
// characters that do not belong in a file name become "_"), then ".html" unless the name already
// ends in ".htm" or ".html".
std::string PageCopyName(const std::string& programDir, int counter, const std::string& address);

// Appends lines (CR LF) to the trace log. Tracing is a diagnostic aid: when the file cannot be
// written the fetch goes on without it.
class TraceLog {
  public:
    TraceLog(bool on, const std::string& path);
    bool On() const { return on_; }
    void Line(const std::string& text);
    void Close();

  private:
    bool on_;
    LineAppender file_;
};

// Writes the page copy as raw bytes, replacing an older copy of the same name.
bool WritePageCopy(const std::string& path, const std::string& page);
