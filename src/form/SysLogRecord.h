#pragma once
#include <array>
#include <string>
#include <string_view>

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

// A record's fields as views: of a SysLogRecord, or of the line a record is read from.
struct SysLogRecordView {
    std::array<std::string_view, SysLogRecord::FieldCount> f{};

    SysLogRecordView() = default;
    // Views of the record's fields, valid while they are unchanged; implicit, as a string's view.
    SysLogRecordView(const SysLogRecord& record) {
        for (size_t i = 0; i < f.size(); ++i) f[i] = record.f[i];
    }

    std::string_view& operator[](int i) { return f[static_cast<size_t>(i)]; }
    std::string_view operator[](int i) const { return f[static_cast<size_t>(i)]; }

    SysLogRecord Record() const {
        SysLogRecord record;
        for (size_t i = 0; i < f.size(); ++i) record.f[i] = std::string(f[i]);
        return record;
    }
};
