#pragma once
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "form/SysLogRecord.h"

class RecordGrid;
class RouterLineReader;
struct MainForm;
struct SysLogState;

// The most rows the SysLog list takes in one refresh. Generous (weeks of history), yet bounded
// so that a runaway history or router cannot exhaust memory.
inline constexpr int MaxSysLogRows = 200000;
// The list grows by this many rows at a time.
inline constexpr int SysLogGrowth = 50;

// What admission needs to know, read from the form once per refresh.
struct AdmissionOptions {
    bool showIn = true, showOut = true, showMessages = true, showWarnings = true, showIgnored = true;
    bool useSubtypes = false;
    bool compareWithSb = false;
    const std::vector<std::string>* addrList = nullptr;
    const std::vector<std::string>* rPortList = nullptr;
    const std::vector<std::string>* lPortList = nullptr;
    // Width of a text in the window's font, in twips (widens a hidden Message column).
    std::function<int(std::string_view)> textWidth;
};
AdmissionOptions AdmissionOptionsOf(MainForm& F);

enum class Admission { Added, Filtered, ListFull };

// Decides whether a parsed record enters the list (display filters, subtypes, don't-log test)
// and appends it, with a blue separator before it when its day is later than the last row's.
// wanAddress is the router's WAN address as known now (router lines may teach a new one).
Admission AdmitRecord(const SysLogRecordView& record, const AdmissionOptions& options,
                      const std::string& wanAddress, RecordGrid& list, SysLogState& state);

// Appends an empty separator row painted in columns 0-9; false when the list is full.
bool AppendSeparator(RecordGrid& list, SysLogState& state, unsigned colour);

// The magenta "new records start here" row.
bool StartNew(RecordGrid& list, SysLogState& state);

// Tells the person the list is full; the history files are still kept up to date.
void ReportDisplayFull(MainForm& F);

// Parses a router or history line and admits it. True when the list could take no more rows
// (the person has then been told so), false when the line was handled. The caller keeps the
// reader from line to line.
bool SysLogAdd(MainForm& F, const AdmissionOptions& options, std::string_view line, RouterLineReader& reader);
