#pragma once
#include <string>
#include <string_view>

#include "app/PasswordStore.h"

struct MainForm;

// Reads Drovix.ini, the per-user password store, Stillbeacon.ini and the "don't log" lists.
// Missing files and values out of range leave the current (design) values; a file that exists
// but cannot be read is reported.
void IniRead(MainForm& F);
// Drovix.ini alone, for a process that only needs its values (the syslog receiver): the
// password store and Stillbeacon's files are not touched. False when the file exists but could
// not be read (reported).
bool ReadDrovixIniOnly(MainForm& F);
// What IniRead makes of the bytes of Drovix.ini (empty for a missing file), with the password
// store it reads and writes; Stillbeacon's files are read on their own.
void ApplyDrovixIni(MainForm& F, std::string_view bytes, const PasswordStoreAccess& store = {});
// Rewrites Drovix.ini completely and clears SettingsChanged. The file is replaced atomically:
// when the new one cannot be written, the old one stays whole, SettingsChanged stays set and the
// result is false. A file that IniRead found but could not read is never replaced.
bool IniWrite(MainForm& F);
// IniWrite, telling the person when the settings could not be saved (the old file, if any, is
// still whole). False then.
bool SaveSettings(MainForm& F);
// Scrambles (decode false) or unscrambles (decode true) a password with a hex key.
std::string Enc(const std::string& text, const std::string& key, bool decode);
