#pragma once

class RecordGrid;
struct MainForm;

// Converts the addresses (or names) of one column of a record list.
void ConvertAddr(MainForm& F, RecordGrid& list, int column);
// Looks up the current row's cell of the given column and shows the answer in LLookup.
void IpUrlLookup(MainForm& F, RecordGrid& list, int column);
