#pragma once
#include <vector>

class RecordGrid;
struct MainForm;

// Marking by hand: a record tagged "R" is merged into Stillbeacon's logs by "Update SB logs".

// Tags one record row "R" and paints it light blue (Dir keeps its colour); false when it already
// was marked or is not a record (a separator row).
bool MarkRow(RecordGrid& list, int row);
// Clears a row's "R" and paints it white; false when the row was not marked.
bool UnmarkRow(RecordGrid& list, int row);

// The records similar to a row. A message is similar to a message that starts with the same
// text up to and including the first ":"; any other record to a record with the same remote
// address or the same remote name. An empty address or name matches nothing, messages are
// never similar to records of traffic and the other way round, and separator rows to nothing.
std::vector<int> SimilarRows(const RecordGrid& list, int row);

enum SysMarkAction { MarkThis = 1, MarkAllSimilar = 2, UnmarkThis = 3, UnmarkAllSimilar = 4 };

// Marks or unmarks the current record of the System Log list, or every record similar to it,
// and updates the "Not in SB Logs" count and the "Update SB logs" button.
void SysMark(MainForm& F, int action);
