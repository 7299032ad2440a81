#pragma once

struct MainForm;

// Puts the options' controls into the state the window has before any settings are read: the
// values that stand whenever Drovix.ini lacks a key or holds a value out of range. Start-up calls
// it once before IniRead.
void ApplyDesignDefaults(MainForm& F);
