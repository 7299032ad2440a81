#pragma once
#include <string>

struct MainForm;

// Start-up: single-instance test done by the caller; reads the command line, initializes, and
// in unattended mode runs the exit sequence.
void Form_Load(MainForm& F, const std::string& commandLine);
void Initialize(MainForm& F);
// One refresh cycle of the Run/Refresh button.
void BRun_Click(MainForm& F);
void FetchLogs(MainForm& F);
// The Exit button and the end of an unattended run.
void BQuit_Click(MainForm& F);
