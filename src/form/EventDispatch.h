#pragma once
#include <functional>

struct MainForm;

// Runs one handler for a user action or a timer. Handlers can nest (a click that arrives inside a
// wait runs inside the handler that waits); an Exit only asks for the window to go, and the host's
// unload runs once the outermost handler has returned, so nothing is destroyed under a running
// procedure.
void DispatchEvent(MainForm& F, const std::function<void()>& handler, const std::function<void()>& unload);

// The exit sequence's last step: the window goes as soon as no handler is running any more.
void RequestUnload(MainForm& F);
