#include "app/SaveCommands.h"

#include "app/RunCycle.h"
#include "form/MainForm.h"
#include "stdlog/SbLogWriter.h"
#include "syslog/DayFileMerge.h"
#include "syslog/MnwExport.h"
#include "syslog/RecordMarking.h"
#include "ui/StatusLine.h"

namespace {

std::string Count(int n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

std::string FileName(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Standard logs: the records written and the new file, or that there was nothing to write.
void NoteStandardSave(MainForm& F, const char* button, const SavedRecords& saved) {
    if (saved.path.empty()) {
        if (saved.records == 0 && F.LastProblem.empty()) {
            NoteSaveInStatusLine(F, std::string(button) + ": nothing new to save, no file written");
        }
        return;
    }
    NoteSaveInStatusLine(F, std::string(button) + ": wrote " + Count(saved.records, "record", "records") +
                                " to \"" + FileName(saved.path) + "\" in " + F.SbLogDir);
}

// The lines the merge added, per day file, from what the summary gained during it.
std::string MergedSince(const RunSummary& before, const RunSummary& after) {
    std::vector<RunSummary::DayFile> gained;
    int total = 0;
    for (const RunSummary::DayFile& f : after.Merged) {
        int earlier = 0;
        for (const RunSummary::DayFile& b : before.Merged) {
            if (b.name == f.name) earlier = b.lines;
        }
        if (f.lines == earlier) continue;
        total += f.lines - earlier;
        gained.push_back({f.name, f.lines - earlier});
    }
    if (total == 0) return {};
    return "merged " + Count(total, "line", "lines") + " into " + DayFileList(gained);
}

}  // namespace

void BSaveAll_Click(MainForm& F) {
    if (F.SysLog.Visible) {
        const int before = F.Summary.Exported;
        SysLogmNWSave(F);
        const int written = F.Summary.Exported - before;
        if (written > 0) {
            NoteSaveInStatusLine(F, "Update mNW log: wrote " + Count(written, "line", "lines") +
                                        " to \"SBmNW.log\" in " + F.ProgramDir);
        }
    } else {
        F.LastProblem.clear();
        NoteStandardSave(F, "Save All", SaveLogs(F, false));
    }
}

void BSaveHilited_Click(MainForm& F) {
    if (!F.SysLog.Visible) {
        F.LastProblem.clear();
        NoteStandardSave(F, "Save highlighted", SaveLogs(F, true));
        return;
    }
    const RunSummary before = F.Summary;
    const bool refresh = SysLogSave(F, false);
    if (const std::string merged = MergedSince(before, F.Summary); !merged.empty()) {
        NoteSaveInStatusLine(F, "Update SB logs: " + merged + " in " + F.SbLogDir);
    }
    if (!refresh) return;
    // The refresh matches the list anew; what the person marked or unmarked by hand and the
    // merge did not carry out stays as they left it.
    const auto handMarks = HandMarksNotCarriedOut(F);
    BRun_Click(F);
    ReapplyHandMarks(F, handMarks);
}
