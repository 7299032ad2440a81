#pragma once
#include <string>
#include <string_view>

#include "form/SysLogRecord.h"

// Parses one cleaned, date-repaired router line. lanPrefix is the router address up to and
// including its third "." ("192.168.1."); wanAddress is the router's WAN address, learnt from
// lines such as "WAN IP address is 203.0.113.7" (it is updated in place). An empty WAN address
// is no prefix of anything. RowTag is "R"; SortKey is empty. A pure function over bytes.
SysLogRecord ParseRouterLine(std::string_view line, std::string_view lanPrefix, std::string& wanAddress);
// The same into a record that is reused from line to line: every field is written anew, in the
// room the field already has.
void ParseRouterLineInto(std::string_view line, std::string_view lanPrefix, std::string& wanAddress,
                         SysLogRecord& record);
