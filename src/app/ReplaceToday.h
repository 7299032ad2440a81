#pragma once

struct MainForm;

// "Re-do Today": deletes the newest history file and closes the options panel with a refresh,
// so that day is written again from the router's records. Nothing happens while a refresh or a
// merge runs, or when there is no history file.
void BReplaceToday_Click(MainForm& F);
