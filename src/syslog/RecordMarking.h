#pragma once
#include <map>
#include <string>
#include <vector>

class RecordGrid;
struct MainForm;

// Marking by hand: a record tagged "R" is merged into Stillbeacon's logs by "Update SB logs".

// Tags one record row "R" and paints it light blue (Dir keeps its colour, a warning its light red
// Message, a record chosen for myNetWatchman its light brown address); false when it already was
// marked or is not a record (a separator row).
bool MarkRow(RecordGrid& list, int row);
// Clears a row's "R" and paints it white, with the same exceptions; false when the row was not
// marked.
bool UnmarkRow(RecordGrid& list, int row);

// The records similar to a row. A message is similar to a message that starts with the same
// text up to and including the first ":"; any other record to a record with the same remote
// address or the same remote name. An empty address or name matches nothing, messages are
// never similar to records of traffic and the other way round, and separator rows to nothing.
std::vector<int> SimilarRows(const RecordGrid& list, int row);

enum SysMarkAction { MarkThis = 1, MarkAllSimilar = 2, UnmarkThis = 3, UnmarkAllSimilar = 4 };

// Marks or unmarks the current record of the System Log list, or every record similar to it,
// and updates the "Not in SB Logs" count (statistics row and caption) and the "Update SB logs"
// button. Each record changed is remembered as marked or unmarked by hand.
void SysMark(MainForm& F, int action);

// What identifies a record across refreshes: its fields as the router gave them (the addresses
// without the names a lookup added).
std::string RecordText(const RecordGrid& list, int row);

// After a merge: the choices made by hand that the merge did not carry out (every unmark, and the
// marks of records still tagged), which the merge's refresh is to keep.
std::map<std::string, bool> HandMarksNotCarriedOut(const MainForm& F);
// Puts choices made by hand back on the records of a new list, as SysMark would.
void ReapplyHandMarks(MainForm& F, const std::map<std::string, bool>& marks);
