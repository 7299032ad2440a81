#pragma once
#include <functional>
#include <string>
#include <vector>

// "Run unattended every 10 minutes": the systemd user timer the package installs (drovix.timer),
// switched on and off with systemctl --user; without a user systemd, the cron line that does the
// same. The commands run through a runner, so tests never touch the real user's systemd.

struct CommandResult {
    int exitStatus = -1;  // -1: the program could not be started
    std::string output;   // standard output and error
};
using CommandRunner =
    std::function<CommandResult(const std::string& program, const std::vector<std::string>& args)>;

// Runs a program and waits for it (a few seconds at most).
CommandResult RunCommand(const std::string& program, const std::vector<std::string>& args);

struct TimerState {
    bool userSystemd = false;  // a systemd user manager answers
    bool enabled = false;      // drovix.timer is enabled
};
TimerState ReadTimerState(const CommandRunner& run);

// Enables (and starts) or disables (and stops) the timer; the message to show: empty when it
// worked, else what failed, or the cron line to use when there is no user systemd.
std::string SwitchTimer(const CommandRunner& run, bool on, const std::string& drovixPath);

// The crontab line that runs Drovix unattended every 10 minutes.
std::string CronLine(const std::string& drovixPath);

// The runner the window's check box uses: RunCommand, unless a test put a scripted one in its place.
CommandRunner& TimerCommandRunner();

struct MainForm;
// Ticks the check box as the timer stands (an interactive start does it once).
void ShowTimerState(MainForm& F);
// The check box was clicked: the timer follows it at once (it is no setting for OK or Cancel);
// what went wrong, or the cron line to use instead, is shown, and the box shows the timer as it is.
void CkTimer_Click(MainForm& F);
