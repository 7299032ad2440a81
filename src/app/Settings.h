#pragma once
#include <string>

struct MainForm;

// Reads Drovix.ini, the per-user password store, Stillbeacon.ini and the "don't log" lists.
void IniRead(MainForm& F);
// Rewrites Drovix.ini completely (atomically) and clears SettingsChanged.
void IniWrite(MainForm& F);
// Scrambles (decode false) or unscrambles (decode true) a password with a hex key.
std::string Enc(const std::string& text, const std::string& key, bool decode);
