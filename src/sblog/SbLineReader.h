#pragma once
#include <string_view>

// Reads the fields of a Stillbeacon record line that the comparison needs. Views point into the
// caller's text, so reading a file's lines allocates nothing.
struct SbRecordView {
    std::string_view date;              // characters 1-10, e.g. 2005/01/31
    std::string_view time;              // characters 12-19, hh:nn:ss
    char direction = 0;                 // 'I' or 'O'
    std::string_view remote1, remote2;  // address and name, in either order
    std::string_view remotePort, localAddr, localPort;
};

// Position of the direction field when the line is an incoming or outgoing record, else npos.
// The direction is the field right after the time: a record is recognised by " I ", " O " or the
// same letters between tabs at that place only, so a message whose text happens to hold " I "
// is not taken for a record.
std::size_t FindDirectionMarker(std::string_view line);

inline bool IsSbRecordLine(std::string_view line) {
    return FindDirectionMarker(line) != std::string_view::npos;
}

// The fields of a record line; a line that is not a record gives direction 0 and empty fields.
// Missing fields of a short line stay empty. nbsp is the byte that separates the remote token
// from the protocol and message Stillbeacon may append to it.
SbRecordView ReadSbRecord(std::string_view line, char nbsp);
