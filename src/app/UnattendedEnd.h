#pragma once
#include <functional>

struct MainForm;
struct Notification;

// The end of an unattended run, after its summary line: leaves how it ended in the program
// folder for the window's status line and tells the desktop when it merged records or failed.
// Neither changes the exit status, which is returned as given; notify is the seam tests replace.
int FinishUnattendedRun(const MainForm& F, int exitStatus,
                        const std::function<bool(const Notification&)>& notify);
