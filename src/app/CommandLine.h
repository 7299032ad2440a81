#pragma once
#include <span>
#include <string>

// What the command line asks of drovix before anything else happens: print the help or the
// version, refuse an option it does not know, or run. Deciding this touches no file and needs no
// display, so it comes before the program folder, the single-instance lock and the toolkit.

// A switch drovix accepts. Slash switches ("/auto") also match as "-auto", anywhere in the
// command line and in any letter case, as schedulers already call them; long options ("--help")
// are whole arguments.
struct CommandSwitch {
    const char* name;         // as written in the help and the manual: "/auto", "--help"
    const char* description;  // one line for the help
};
std::span<const CommandSwitch> AcceptedSwitches();

// The exit statuses drovix returns, with their meaning as the help states it.
struct ExitStatusText {
    int status;
    const char* meaning;
};
std::span<const ExitStatusText> ExitStatuses();

constexpr int kExitCompleted = 0;
constexpr int kExitProblemReported = 1;
constexpr int kExitNoDisplay = 2;
constexpr int kExitAlreadyRunning = 3;
constexpr int kExitNotSetUp = 4;
constexpr int kExitCannotListen = 5;
constexpr int kExitUsage = 64;

struct CommandLineAction {
    enum class Kind { Run, Listen, Help, Version, UnknownOption };
    Kind kind = Kind::Run;
    // For Listen: the "[ADDR:]PORT" given after --listen, empty when none was.
    std::string listenAt;
    // For anything but Run: the text to print (standard output for the help and the version,
    // standard error for an unknown option), ending with a line feed.
    std::string text;
    int exitStatus = kExitCompleted;
};

// Reads the arguments after the program's name. The first of "--help", "--version" or an unknown
// "--" option decides; then "--listen" (with "[ADDR:]PORT" as its next argument or after "=")
// runs the syslog receiver; anything else runs the program. An argument written with "--" that holds
// a slash switch ("--auto") still counts as that switch, since the substring rule has always
// accepted it.
CommandLineAction ReadCommandLine(int argc, const char* const* argv);

std::string HelpText();
std::string VersionText();
