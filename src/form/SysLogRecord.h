#pragma once
#include <array>
#include <string>

// One System Log record: twelve text fields, the same as the twelve columns of the SysLog list.
// The parsers that make records from router pages and Stillbeacon lines are in src/syslog.
struct SysLogRecord {
    enum Field {
        Date = 0,     // "yyyy-mm-dd"; "0000-00-00" for a router line that carried no date
        Time = 1,     // "hh:mm:ss"
        Dir = 2,      // I, O, M; B and P are the subtypes set on admission
        Prot = 3,     // lower case
        RemAddr = 4,  // remote address, dotted IPv4
        RemURL = 5,   // remote host name
        RPort = 6,    // remote port
        LocalAddr = 7,
        LPort = 8,
        Message = 9,
        RowTag = 10,   // "R" admitted this refresh, "N" hidden by Stillbeacon's don't-log lists
        SortKey = 11,  // hidden; left to matching and marking
    };
    static constexpr int FieldCount = 12;

    std::array<std::string, FieldCount> f;

    std::string& operator[](int i) { return f[static_cast<size_t>(i)]; }
    const std::string& operator[](int i) const { return f[static_cast<size_t>(i)]; }
};
