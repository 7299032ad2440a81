#pragma once
#include <string_view>

#include "form/SysLogRecord.h"

// Parses one line of a Stillbeacon day file, blank or tab form, into fields 0 to 9 of a record.
// Returns false for a line that is not a record (empty, too few tokens, a status line "S" or
// "E", neither a remote party nor a protocol nor a message); the record is then partly filled and
// must be skipped. A pure function over bytes.
bool SysLogParse(std::string_view line, SysLogRecord& record);
