#pragma once
#include <string_view>

class RecordGrid;
struct MainForm;

// Appends one list row per router table row ("<tr bgcolor=cccccc align=middle>" rows up to
// "</table>") and fills columns firstColumn .. last from the row's "<td>" cells in order, taken
// raw. Missing cells stay empty; cells beyond the list's columns are ignored. Lets window events
// run once per row.
void CopyData(MainForm& F, RecordGrid& list, int firstColumn, std::string_view page);
