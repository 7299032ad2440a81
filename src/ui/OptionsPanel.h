#pragma once

struct MainForm;

// The options panel as it opens and closes; the OK and Cancel buttons that apply or drop the
// options are commands (src/app/OptionsCommands).

// Opens the panel over the lists: remembers what was on screen and every option control, so that
// closing gives the lists back and Cancel can put the options back.
void OpenOptions(MainForm& F);
// Closes the panel and gives back the lists, captions and buttons it covered.
void HideOptions(MainForm& F);
// Puts every option control, and the panel's width, back as they stood when the panel opened.
void PutBackOptionControls(MainForm& F);
// The thread count typed takes effect only when the System Log is read: lookups run concurrently
// there. The field keeps the count, clamped to 0 .. MaxLookupThreads.
void AdoptThreadCount(MainForm& F);
