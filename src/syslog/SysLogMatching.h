#pragma once

struct MainForm;

// Matches the listed records with Stillbeacon's day files; returns how many are missing there.
int SysLogMatch(MainForm& F);
