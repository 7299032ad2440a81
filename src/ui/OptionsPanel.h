#pragma once

struct MainForm;

// Opens the options panel when it is closed; closes and applies it when it is open.
void BOptions_Click(MainForm& F);
void BCancelOptions_Click(MainForm& F);
void CSysLog_Click(MainForm& F);
