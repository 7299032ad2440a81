#pragma once

struct MainForm;

// Procedures of the floors above that a lower procedure runs in its course: the merge carries out
// an Exit pressed while it waited for a day file, the myNetWatchman export records where the next
// export starts, and the System Log list's first setup lays the window out for it. src/app sets
// them when it prepares a form, so that the lower floors reach them without including src/app or
// src/ui.
struct FormCommands {
    // The exit sequence (BQuit_Click).
    void (*Exit)(MainForm& F) = nullptr;
    // Rewrites Drovix.ini (IniWrite); false, and the person told, when it could not be written.
    bool (*SaveSettings)(MainForm& F) = nullptr;
    // Places the controls for the lists now shown (Form_Resize).
    void (*Relayout)(MainForm& F) = nullptr;
};
