#include "app/ScheduleTimer.h"

#include <QCoreApplication>
#include <QProcess>
#include <QStringList>

#include "form/MainForm.h"

namespace {

constexpr int kCommandTimeoutMs = 15000;
const char* const kTimer = "drovix.timer";

bool UserSystemd(const CommandRunner& run) {
    return run("systemctl", {"--user", "show-environment"}).exitStatus == 0;
}

}  // namespace

CommandResult RunCommand(const std::string& program, const std::vector<std::string>& args) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    QStringList arguments;
    for (const std::string& a : args) arguments << QString::fromStdString(a);
    process.start(QString::fromStdString(program), arguments);
    if (!process.waitForStarted(kCommandTimeoutMs)) return {};
    if (!process.waitForFinished(kCommandTimeoutMs)) {
        process.kill();
        process.waitForFinished();
        return {-1, "it did not finish"};
    }
    CommandResult result;
    result.exitStatus = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.output = process.readAll().trimmed().toStdString();
    return result;
}

TimerState ReadTimerState(const CommandRunner& run) {
    TimerState state;
    state.userSystemd = UserSystemd(run);
    if (state.userSystemd) state.enabled = run("systemctl", {"--user", "is-enabled", kTimer}).exitStatus == 0;
    return state;
}

std::string SwitchTimer(const CommandRunner& run, bool on, const std::string& drovixPath) {
    if (!UserSystemd(run)) {
        return on ? "There is no systemd user manager here. To run Drovix unattended every 10 minutes, add "
                    "this line with \"crontab -e\":\n\n" +
                        CronLine(drovixPath)
                  : "There is no systemd user manager here: remove the Drovix line with \"crontab -e\".";
    }
    const CommandResult result = run("systemctl", {"--user", on ? "enable" : "disable", "--now", kTimer});
    if (result.exitStatus == 0) return {};
    return std::string("\"systemctl --user ") + (on ? "enable" : "disable") + " --now " + kTimer +
           "\" failed" + (result.output.empty() ? "" : ": " + result.output);
}

std::string CronLine(const std::string& drovixPath) {
    return "*/10 * * * * " + drovixPath + " /auto";
}

CommandRunner& TimerCommandRunner() {
    static CommandRunner runner = RunCommand;
    return runner;
}

void ShowTimerState(MainForm& F) {
    F.CkTimer.Value = ReadTimerState(TimerCommandRunner()).enabled;
}

void CkTimer_Click(MainForm& F) {
    const std::string problem = SwitchTimer(TimerCommandRunner(), F.CkTimer.Value,
                                            QCoreApplication::applicationFilePath().toStdString());
    ShowTimerState(F);
    if (!problem.empty()) {
        const bool cron = problem.find("crontab") != std::string::npos;
        F.ui.MsgBox(problem, cron ? MsgIcon::Information : MsgIcon::Exclamation, MsgButtons::OK, F.Title);
    }
}
