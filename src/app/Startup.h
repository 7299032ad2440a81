#pragma once
#include <string>

struct MainForm;

// Gives a new form its design state: the captions, defaults and states the window has before
// Form_Load reads the settings. Both faces call it, so they start alike.
void PrepareMainForm(MainForm& F, const std::string& programDir);
// Gives the form the procedures of src/app and src/ui that lower procedures call (F.commands).
// PrepareMainForm does it; a form made otherwise (a test's) calls it itself.
void ConnectFormCommands(MainForm& F);

// The command line as Form_Load reads it: every argument, joined by blanks.
std::string JoinArguments(int argc, char** argv);
// Whether the command line holds "/name" or "-name" anywhere, in any letter case.
bool HasSwitch(const std::string& commandLine, const std::string& name);
// Whether the joined command line asks for an unattended run.
bool WantsAutoMode(const std::string& commandLine);

// What keeps an unattended run from refreshing: the router address and the saved password it
// needs, each named with the place it is read from; empty when both are there.
std::string MissingForUnattendedRun(const MainForm& F);

// The exit status of an unattended run whose window went with its start: a problem was reported
// (the run cleared AutoMode), it was not set up, or it completed.
int UnattendedExitStatus(const MainForm& F);
