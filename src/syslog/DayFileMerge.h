#pragma once

struct MainForm;

// "Update SB logs": merges the records still missing from Stillbeacon's logs (tag "R") into its
// day files "Log yyyy-mm-dd.txt", one day at a time from the oldest row up. Each day file is read
// while no other program has it open and replaced whole through an atomic save, so it is always
// either as it was or fully merged; a day without a file gets one only while the name is still
// free. A merged row loses its tag. The first day that cannot be read or written (in use, not
// 8-bit text, unreadable) ends the merge, with a message; that day and the later ones stay as
// they were, their rows still tagged. F.Summary learns how many lines each day file gained. An
// Exit pressed while the merge waited for a day file is carried out once it stopped.
// True when an interactive merge (unattended false) wrote something: the caller then refreshes,
// so the list is matched again with the day files.
bool SysLogSave(MainForm& F, bool unattended);
