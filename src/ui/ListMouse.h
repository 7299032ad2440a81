#pragma once

class RecordGrid;
struct MainForm;
struct GridPoint;

// Wheel over the System Log list: three rows per notch; rotation below 1 scrolls down. A lookup
// answer goes, since the cell it belongs to moves.
void MouseWheel(MainForm& F, int rotation);

// A lookup answer (LLookup) stays while the mouse rests on one cell. It goes on the next click
// anywhere in the window, a move to another cell, a scroll, a refresh and a new window size.
void HideLookupAnswer(MainForm& F);
// A mouse button pressed anywhere in the window.
void Form_MouseDown(MainForm& F);

// Mouse moves over the lists: a cell too narrow for its text shows it whole as a tool tip, and
// a lookup answer goes once the mouse moves on to another cell.
void InLog_MouseMove(MainForm& F, const GridPoint& at);
void OutLog_MouseMove(MainForm& F, const GridPoint& at);
void SysLog_MouseMove(MainForm& F, const GridPoint& at);
// A column border dragged to a new width (twips): the list keeps it, also when a refresh lays the
// list out again.
void ListColumn_Resize(MainForm& F, RecordGrid& list, int col, int twips);

// The statistics row explains the statistic under the mouse.
void SysStats_MouseMove(MainForm& F, const GridPoint& at);
