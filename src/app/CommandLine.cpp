#include "app/CommandLine.h"

#include <array>
#include <cstdio>
#include <string_view>

#include "app/Startup.h"
#include "capture/SyslogReceiver.h"

namespace {

constexpr std::array<CommandSwitch, 5> kSwitches = {{
    {"/auto", "refresh once without showing the window, print one summary line, exit"},
    {"/trace", "write Drovix_Trace.Log and a copy of every page fetched"},
    {"--listen", "receive the router's syslog messages into capture files (below); no window"},
    {"--help", "show this help and exit"},
    {"--version", "show the version and exit"},
}};

constexpr std::array<ExitStatusText, 7> kExitStatuses = {{
    {kExitCompleted, "the run completed (or the window was closed)"},
    {kExitProblemReported,
     "an unattended run without a display, or --listen, met a problem (told on standard error)"},
    {kExitNoDisplay, "no display for the window: start with /auto for an unattended run"},
    {kExitAlreadyRunning, "another Drovix already runs in the same folder"},
    {kExitNotSetUp, "an unattended run lacks the router address or the saved password"},
    {kExitCannotListen,
     "--listen cannot receive: the address or port cannot be used (told on standard error)"},
    {kExitUsage,
     "an option written with \"--\" that Drovix does not know, or a bad --listen value"},
}};

bool IsLongOption(const CommandSwitch& s) {
    return std::string_view(s.name).starts_with("--");
}

// Whether an argument holds one of the slash switches, in any of the forms they are matched in.
bool HoldsSlashSwitch(const std::string& argument) {
    for (const CommandSwitch& s : kSwitches) {
        if (!IsLongOption(s) && HasSwitch(argument, s.name + 1)) return true;
    }
    return false;
}

std::string Padded(std::string text, std::size_t width) {
    if (text.size() < width) text.append(width - text.size(), ' ');
    return text;
}

}  // namespace

std::span<const CommandSwitch> AcceptedSwitches() {
    return kSwitches;
}

std::span<const ExitStatusText> ExitStatuses() {
    return kExitStatuses;
}

std::string VersionText() {
    return std::string("drovix ") + DROVIX_VERSION + "\n";
}

std::string HelpText() {
    std::string text =
        "Usage: drovix [/auto] [/trace]\n"
        "       drovix --listen [[ADDR:]PORT]\n"
        "       drovix --help | --version\n"
        "\n"
        "Drovix logs onto a small-office router's web administration, reads its logs, finds the\n"
        "records that Stillbeacon missed and adds them to Stillbeacon's day files. Without a\n"
        "switch it opens its window.\n"
        "\n"
        "Switches (/auto and /trace are found anywhere in the command line, in any letter case,\n"
        "and may be written with \"-\" instead of \"/\"):\n";
    for (const CommandSwitch& s : kSwitches) text += "  " + Padded(s.name, 11) + s.description + "\n";
    text +=
        "\n"
        "Receiving the router's syslog (--listen):\n"
        "  Runs without a window, beside the window or /auto, until SIGTERM or SIGINT. Keeps the\n"
        "  messages (RFC 3164 or RFC 5424, UDP, or TCP on the same port) that come from the router's\n"
        "  address (ADDRESS in Drovix.ini) and appends each as a System Log line to\n"
        "  \"DXCapture yyyy-mm-dd.txt\" in the program folder. ADDR:PORT: the argument, else LISTEN in\n"
        "  Drovix.ini, else port 5514 on every IPv4 address. Each System Log refresh adds from these\n"
        "  files the router's lines that its pages no longer hold.\n"
        "\n"
        "Folders:\n"
        "  Drovix.ini, Stillbeacon.ini (read only), the trace log, the caches and the export file\n"
        "  live in one folder: $DROVIX_HOME when set; otherwise the program's own folder when it\n"
        "  is writable and not under /usr; otherwise the per-user data folder (under\n"
        "  $XDG_DATA_HOME, by default ~/.local/share). Stillbeacon's day files are in the folder\n"
        "  named by LOGDIR in Stillbeacon.ini. The saved router password is kept, scrambled,\n"
        "  in $XDG_CONFIG_HOME/Stillbeacon/Drovix.conf (by default ~/.config).\n"
        "\n"
        "Exit status:\n";
    for (const ExitStatusText& e : kExitStatuses) {
        text += "  " + Padded(std::to_string(e.status), 4) + e.meaning + "\n";
    }
    text += "\nSee drovix(1) for scheduled runs.\n";
    return text;
}

CommandLineAction ReadCommandLine(int argc, const char* const* argv) {
    using Kind = CommandLineAction::Kind;
    CommandLineAction run;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--help") return {Kind::Help, {}, HelpText(), kExitCompleted};
        if (argument == "--version") return {Kind::Version, {}, VersionText(), kExitCompleted};
        if (argument == "--listen" || argument.starts_with("--listen=")) {
            run.kind = Kind::Listen;
            // The address follows "=", or comes as the next argument unless that is a switch.
            const bool afterEquals = argument.size() > 8;
            const bool given =
                afterEquals || (i + 1 < argc && argv[i + 1][0] != '-' && argv[i + 1][0] != '/');
            if (given) run.listenAt = afterEquals ? argument.substr(9) : argv[++i];
            if (given && !ParseListenEndpoint(run.listenAt)) {
                return {
                    Kind::UnknownOption,
                    {},
                    "drovix: --listen takes [ADDR:]PORT, not '" + run.listenAt + "'\nTry 'drovix --help'.\n",
                    kExitUsage};
            }
            continue;
        }
        if (argument.starts_with("--") && argument != "--" && !HoldsSlashSwitch(argument)) {
            return {Kind::UnknownOption,
                    {},
                    "drovix: unknown option '" + argument + "'\nTry 'drovix --help'.\n",
                    kExitUsage};
        }
    }
    return run;
}
