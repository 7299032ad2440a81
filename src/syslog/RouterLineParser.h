#pragma once
#include <string>
#include <string_view>

#include "form/SysLogRecord.h"

// Parses cleaned, date-repaired router lines. lanPrefix is the router address up to and
// including its third "." ("192.168.1."); wanAddress is the router's WAN address, learnt from
// lines such as "WAN IP address is 203.0.113.7" (it is updated in place). An empty WAN address
// is no prefix of anything. RowTag is "R"; SortKey is empty. Over bytes, and nothing else.
//
// A reader is kept from line to line: the fields it gives are views of the line and of the few
// texts it makes (a protocol in lower case, a message joined from words) in room it keeps, so
// that reading a line makes no strings. They are valid while the line is, until the next Read.
class RouterLineReader {
  public:
    RouterLineReader() = default;
    RouterLineReader(const RouterLineReader&) = delete;
    RouterLineReader& operator=(const RouterLineReader&) = delete;

    const SysLogRecordView& Read(std::string_view line, std::string_view lanPrefix, std::string& wanAddress);

  private:
    SysLogRecordView fields_;
    std::string prot_, message_;
};

// One line into a record of its own.
SysLogRecord ParseRouterLine(std::string_view line, std::string_view lanPrefix, std::string& wanAddress);
