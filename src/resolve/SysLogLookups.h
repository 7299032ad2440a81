#pragma once

class RecordGrid;
struct MainForm;

// Hands the remote addresses of a System Log list to the concurrent dispatcher: the rows of
// direction "I" or "P" with a remote address and no name yet (Remote URL empty or equal to the
// address); each name found goes into the row's Remote URL column. Uses F.LookupThreads and the
// form's lookup flags. Returns RunLookups' result (1 after Cancel or an error).
int LookupSysLogNames(MainForm& F, RecordGrid& list, bool show, int left = -1, int top = -1);
