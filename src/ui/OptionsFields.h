#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "text/SettingsText.h"  // LeadingNumber, as typed numbers are read

struct MainForm;

// Edits and clicks in the options panel. Each marks the settings as changed when the setting
// really changes; the new values take effect when the panel closes.
void UserID_Change(MainForm& F);
void IPAddr_Change(MainForm& F);
void PW_Change(MainForm& F);
void MaxTdiff_Change(MainForm& F);
void RouterWait_Change(MainForm& F);
void RouterRetry_Change(MainForm& F);
void RouterDelay_Change(MainForm& F);
void SavePW_Click(MainForm& F);
void CCacheFailures_Click(MainForm& F);
void CompDX_Click(MainForm& F);
void CmnW_Click(MainForm& F);
// Timeframe options: exactly one is chosen.
void Include_Click(MainForm& F, int index);
void ShowMessages_Click(MainForm& F, int index);

// The time difference a text stands for, rounded to a whole number, when it lies from 1 to
// MaxTimeDifference; nothing otherwise. The field and the settings file agree on it.
std::optional<long long> AcceptedTimeDifference(std::string_view text);

// Validators, run when a field loses the focus.
void MaxTdiff_LostFocus(MainForm& F);
void mnThreads_LostFocus(MainForm& F);
void RouterWait_LostFocus(MainForm& F);
void RouterRetry_LostFocus(MainForm& F);
void RouterDelay_LostFocus(MainForm& F);

// Enter (13) in the address field moves on to the password (Enter in the password is OK: see
// src/app/OptionsCommands).
constexpr int KeyEnter = 13;
constexpr int KeyEscape = 27;
void IPAddr_KeyUp(MainForm& F, int key);
void PW_GotFocus(MainForm& F);
