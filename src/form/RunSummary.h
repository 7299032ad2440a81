#pragma once
#include <string>
#include <vector>

// What one refresh read and wrote, for the line an unattended run prints on standard output so
// that a scheduler's journal shows what happened. Each procedure fills its own part: the
// standard-log refresh the Incoming and Outgoing counts, the System Log refresh its own, the
// savers the lines they merged and exported.
struct RunSummary {
    enum class Source { Nothing, StandardLogs, SystemLog };
    // Which of the router's logs the refresh listed; Nothing until a refresh has listed one (an
    // unattended start without a router address or saved password runs none).
    Source Read = Source::Nothing;

    int InListed = 0, InFlagged = 0;
    int OutListed = 0, OutFlagged = 0;
    int SysLogListed = 0, SysLogFlagged = 0;
    // Of the System Log records listed, those added from the syslog receiver's capture files.
    int SysLogCaptured = 0;
    // Why the records were not compared with Stillbeacon's logs (their flagged counts mean
    // nothing then); empty when they were.
    std::string NotCompared;
    // Why the router's log was read only in part ("page 3 could not be read"). Set only by an
    // unattended run that saved what it read and met no other problem: its line is printed,
    // marked, although the run ends with status 1 for the message it gave.
    std::string ReadInPart;

    struct DayFile {
        std::string name;  // "Log yyyy-mm-dd.txt"
        int lines = 0;
    };
    std::vector<DayFile> Merged;  // in the order they were written
    int Exported = 0;             // lines added to the myNetWatchman file

    // What an unattended run lacked to refresh at all ("no saved router password ..."); empty
    // when it could refresh.
    std::string NotSetUp;

    // Adds lines merged into a day file; a file merged twice is listed once.
    void AddMerged(const std::string& name, int lines);
    int MergedLines() const;
};

// The one line, without its line end, for example
// "Drovix: incoming 5 listed, 2 flagged; outgoing 7 listed, 0 flagged; merged 0 lines; exported 0 lines".
std::string FormatRunSummary(const RunSummary& summary);

// The day files and the lines each gained, as every report names them: "Log 2026-12-05.txt (4), ...".
std::string DayFileList(const std::vector<RunSummary::DayFile>& files);

// Prints the line on standard output: the only thing Drovix writes there. A run that was not set
// up did nothing and has no summary: what it lacked goes to standard error instead.
void PrintRunSummary(const RunSummary& summary);
