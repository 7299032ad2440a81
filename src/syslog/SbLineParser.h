#pragma once
#include <array>
#include <string>
#include <string_view>

#include "form/SysLogRecord.h"

// Parses one line of a Stillbeacon day file, blank or tab form, into fields 0 to 9 of a record.
// Returns false for a line that is not a record (empty, too few tokens, a status line "S" or
// "E", neither a remote party nor a protocol nor a message); the record is then partly filled and
// must be skipped. A pure function over bytes.
bool SysLogParse(std::string_view line, SysLogRecord& record);

// The same line read in place, for a month of lines matched one by one: fields 0 to 9 are views
// of the line, or of the record's own room where the reader changes a field (a protocol in lower
// case, a remote token with its "!" marked). The views last until the next parse into the same
// record or the line's end; the record is not to be copied.
struct SbLineFields {
    std::array<std::string_view, SysLogRecord::FieldCount> f;
    std::string_view operator[](int i) const { return f[static_cast<size_t>(i)]; }
    std::string protocolRoom, remoteRoom;
};
bool SysLogParse(std::string_view line, SbLineFields& record);
