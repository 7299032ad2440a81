#include "app/CommandLine.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

CommandLineAction Read(std::vector<const char*> args) {
    args.insert(args.begin(), "drovix");
    return ReadCommandLine(static_cast<int>(args.size()), args.data());
}

using Kind = CommandLineAction::Kind;

TEST(CommandLine, TheFirstOfHelpVersionOrAnUnknownOptionDecides) {
    const CommandLineAction help = Read({"/auto", "--help", "--bogus"});
    EXPECT_EQ(help.kind, Kind::Help);
    EXPECT_EQ(help.exitStatus, 0);
    EXPECT_EQ(help.text.rfind("Usage: drovix", 0), 0u) << help.text;

    const CommandLineAction version = Read({"--version", "--help"});
    EXPECT_EQ(version.kind, Kind::Version);
    EXPECT_EQ(version.text, std::string("drovix ") + DROVIX_VERSION + "\n");

    const CommandLineAction unknown = Read({"--verbose", "--help"});
    EXPECT_EQ(unknown.kind, Kind::UnknownOption);
    EXPECT_EQ(unknown.exitStatus, kExitUsage);
    EXPECT_EQ(unknown.text, "drovix: unknown option '--verbose'\nTry 'drovix --help'.\n");
    // Long options are exact, unlike the slash switches.
    EXPECT_EQ(Read({"--HELP"}).kind, Kind::UnknownOption);
    EXPECT_EQ(Read({"--help=all"}).kind, Kind::UnknownOption);
}

TEST(CommandLine, EveryFormSchedulersUseForTheSlashSwitchesStillRuns) {
    for (const char* argument : {"/auto", "-AUTO", "/Trace", "x/autorun", "--auto", "--TRACE", "--auto-run",
                                 "--", "-x", "plain", ""}) {
        EXPECT_EQ(Read({argument}).kind, Kind::Run) << argument;
    }
    EXPECT_EQ(Read({}).kind, Kind::Run);
}

}  // namespace
