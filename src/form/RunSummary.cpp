#include "form/RunSummary.h"

#include <cstdio>

namespace {

std::string Counts(const char* list, int listed, int flagged, bool compared, int captured = 0) {
    std::string text = std::string(list) + " " + std::to_string(listed) + " listed";
    if (captured > 0) text += " (" + std::to_string(captured) + " from the syslog capture)";
    if (compared) text += ", " + std::to_string(flagged) + " flagged";
    return text;
}

std::string Lines(int count) {
    return std::to_string(count) + (count == 1 ? " line" : " lines");
}

}  // namespace

void RunSummary::AddMerged(const std::string& name, int lines) {
    for (DayFile& f : Merged) {
        if (f.name == name) {
            f.lines += lines;
            return;
        }
    }
    Merged.push_back({name, lines});
}

int RunSummary::MergedLines() const {
    int total = 0;
    for (const DayFile& f : Merged) total += f.lines;
    return total;
}

std::string FormatRunSummary(const RunSummary& s) {
    const bool compared = s.NotCompared.empty();
    std::string line = "Drovix: ";
    switch (s.Read) {
        case RunSummary::Source::Nothing:
            line += "read no router log";
            break;
        case RunSummary::Source::StandardLogs:
            line += Counts("incoming", s.InListed, s.InFlagged, compared) + "; " +
                    Counts("outgoing", s.OutListed, s.OutFlagged, compared);
            break;
        case RunSummary::Source::SystemLog:
            line += Counts("system log", s.SysLogListed, s.SysLogFlagged, compared, s.SysLogCaptured);
            break;
    }
    if (!s.ReadInPart.empty()) line += "; read in part (" + s.ReadInPart + ")";
    if (s.Read != RunSummary::Source::Nothing && !compared) line += "; not compared: " + s.NotCompared;
    line += "; merged " + Lines(s.MergedLines());
    if (!s.Merged.empty()) line += " into " + DayFileList(s.Merged);
    line += "; exported " + Lines(s.Exported);
    return line;
}

std::string DayFileList(const std::vector<RunSummary::DayFile>& files) {
    std::string list;
    for (const RunSummary::DayFile& f : files) {
        if (!list.empty()) list += ", ";
        list += f.name + " (" + std::to_string(f.lines) + ")";
    }
    return list;
}

void PrintRunSummary(const RunSummary& summary) {
    const bool ran = summary.NotSetUp.empty();
    const std::string line =
        (ran ? FormatRunSummary(summary) : "Drovix cannot run unattended: " + summary.NotSetUp) + "\n";
    std::FILE* const stream = ran ? stdout : stderr;
    std::fwrite(line.data(), 1, line.size(), stream);
    std::fflush(stream);
}
