#pragma once

struct MainForm;

// Walks Stillbeacon's day files from the newest backwards, in step with the Incoming and Outgoing
// lists from their first record: records Stillbeacon logged get its date and time, records it
// missed are painted FlagColour, records its "don't log" lists hide IgnoreColour. A second pass
// over the files Drovix saved itself clears the highlight of the records found there, since
// they were saved already. Then counts the highlighted rows
// into the captions and enables "Save highlighted" when there are any.
void CompareSBLogs(MainForm& F);

// Counts the highlighted rows into the captions again, and enables "Save highlighted" when there
// are any.
void ShowFlagCounts(MainForm& F);
