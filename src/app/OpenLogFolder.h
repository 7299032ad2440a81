#pragma once

struct MainForm;

// "Open log folder": opens Stillbeacon's log folder in the desktop's file manager, or says why it
// cannot (the folder is not known or does not exist, or no file manager opened it).
void BOpenLogFolder_Click(MainForm& F);
