#include "app/LastRun.h"

#include <QDateTime>
#include <cstdlib>

#include "app/CommandLine.h"
#include "files/FileBytes.h"
#include "form/MainForm.h"
#include "form/RunSummary.h"
#include "text/TextLines.h"

namespace {

// The file keeps one line per field: the line breaks of a long message become blanks.
std::string OneLine(std::string text) {
    for (char& c : text) {
        if (c == '\r' || c == '\n') c = ' ';
    }
    return text;
}

}  // namespace

LastRun LastRunOf(const MainForm& F, int exitStatus) {
    LastRun run;
    run.time = F.clock.Now().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")).toStdString();
    run.exitStatus = exitStatus;
    if (!F.Summary.NotSetUp.empty()) {
        run.summary = "Drovix cannot run unattended: " + F.Summary.NotSetUp;
    } else if (exitStatus != kExitCompleted && !F.LastProblem.empty()) {
        run.summary = F.LastProblem;
    } else {
        run.summary = FormatRunSummary(F.Summary);
    }
    run.summary = OneLine(run.summary);
    return run;
}

std::string LastRunFileText(const LastRun& run) {
    return "TIME=" + run.time + "\r\nSTATUS=" + std::to_string(run.exitStatus) +
           "\r\nSUMMARY=" + OneLine(run.summary) + "\r\n";
}

std::optional<LastRun> ParseLastRun(const std::string& text) {
    LastRun run;
    bool any = false;
    ForEachLine(text, [&](std::string_view line) {
        const std::size_t eq = line.find('=');
        if (eq == std::string_view::npos) return true;
        const std::string key(line.substr(0, eq)), value(line.substr(eq + 1));
        if (key == "TIME") {
            run.time = value;
            any = true;
        } else if (key == "STATUS") {
            run.exitStatus = std::atoi(value.c_str());
        } else if (key == "SUMMARY") {
            run.summary = value;
        }
        return true;
    });
    return any ? std::optional<LastRun>(run) : std::nullopt;
}

std::string LastRunPath(const std::string& programDir) {
    return programDir + "DrovixLastRun.txt";
}

bool SaveLastRun(const std::string& programDir, const LastRun& run) {
    return SaveFileAtomically(LastRunPath(programDir), LastRunFileText(run));
}

std::optional<LastRun> ReadLastRun(const std::string& programDir) {
    std::string bytes;
    if (!ReadFileBytes(LastRunPath(programDir), bytes)) return std::nullopt;
    return ParseLastRun(bytes);
}
