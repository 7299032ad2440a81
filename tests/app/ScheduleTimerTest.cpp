#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "TestForm.h"
#include "app/ScheduleTimer.h"

namespace {

// A scripted systemctl: whether a user manager answers, whether the timer is enabled, and whether
// switching it works; it records the commands it was given.
struct ScriptedSystemctl {
    bool userManager = true;
    bool enabled = false;
    bool switchFails = false;
    std::vector<std::string> commands;

    CommandResult operator()(const std::string& program, const std::vector<std::string>& args) {
        std::string line = program;
        for (const std::string& a : args) line += " " + a;
        commands.push_back(line);
        if (!userManager) return {1, "Failed to connect to bus"};
        if (args[1] == "is-enabled") return {enabled ? 0 : 1, enabled ? "enabled" : "disabled"};
        if (args[1] == "enable" || args[1] == "disable") {
            if (switchFails) return {1, "Unit drovix.timer not found."};
            enabled = args[1] == "enable";
        }
        return {0, ""};
    }
};

// The check box switches the user's timer at once and then shows it as it stands; without a user
// systemd it shows the cron line to use instead.
TEST(ScheduleTimer, TheBoxSwitchesTheUserTimerOrShowsTheCronLine) {
    const CommandRunner kept = TimerCommandRunner();
    const struct {
        const char* what;
        bool userManager, enabledBefore, switchFails, tick;
        const char* command;  // the switch run, nullptr when none
        bool ticked;          // the box afterwards
        const char* message;  // the start of what is shown, nullptr for nothing
    } cases[] = {
        {"on", true, false, false, true, "systemctl --user enable --now drovix.timer", true, nullptr},
        {"off", true, true, false, false, "systemctl --user disable --now drovix.timer", false, nullptr},
        {"failing", true, false, true, true, "systemctl --user enable --now drovix.timer", false,
         "\"systemctl --user enable --now drovix.timer\" failed: Unit drovix.timer not found."},
        {"no user systemd", false, false, false, true, nullptr, false,
         "There is no systemd user manager here. To run Drovix unattended every 10 minutes, add this line "
         "with "
         "\"crontab -e\":\n\n*/10 * * * * "},
    };
    for (const auto& c : cases) {
        auto systemctl = std::make_shared<ScriptedSystemctl>();
        systemctl->userManager = c.userManager;
        systemctl->enabled = c.enabledBefore;
        systemctl->switchFails = c.switchFails;
        TimerCommandRunner() = [systemctl](const std::string& p, const std::vector<std::string>& a) {
            return (*systemctl)(p, a);
        };
        TestForm t;
        MainForm& F = t.F();
        ShowTimerState(F);
        EXPECT_EQ(F.CkTimer.Value, c.userManager && c.enabledBefore) << c.what;
        F.CkTimer.Value = c.tick;
        CkTimer_Click(F);
        const auto& run = systemctl->commands;
        EXPECT_EQ(std::count(run.begin(), run.end(), c.command ? c.command : ""), c.command ? 1 : 0)
            << c.what;
        EXPECT_EQ(F.CkTimer.Value, c.ticked) << c.what;
        if (c.message == nullptr) {
            EXPECT_TRUE(t.frontend.messages.empty()) << c.what;
        } else {
            ASSERT_EQ(t.frontend.messages.size(), 1u) << c.what;
            EXPECT_EQ(t.frontend.messages[0].text.rfind(c.message, 0), 0u) << t.frontend.messages[0].text;
            if (!c.userManager) {
                EXPECT_TRUE(t.frontend.messages[0].text.ends_with(" /auto"));
            }
        }
        EXPECT_FALSE(F.SettingsChanged) << c.what;
    }
    TimerCommandRunner() = kept;
}

}  // namespace
