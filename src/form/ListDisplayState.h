#pragma once
#include <map>
#include <string>
#include <vector>

class RecordGrid;

// One item of a popup menu; the caption's "&" marks the accelerator.
struct MenuItem {
    std::string Name;
    std::string Caption;
    bool Visible = true;
    bool Enabled = true;
};

// A popup menu as data: the engine fills it and the window shows it where the engine asks.
struct PopupMenu {
    std::string Name;
    std::string Caption;
    std::vector<MenuItem> Items;
};

enum class MouseButton { None, Left, Right, Middle };

// Where the mouse is over a record list: the cell (row 0 is the header; -1 when the mouse is
// past the last row or column) and the position in twips from the list's top left corner.
struct GridPoint {
    MouseButton Button = MouseButton::None;
    int Row = -1;
    int Col = -1;
    int X = 0;
    int Y = 0;
};

// Sort orders, numbered as grid controls number them.
enum SortOrderCode {
    GenericAscending = 1,
    GenericDescending = 2,
    NumericAscending = 3,
    NumericDescending = 4,
    TextAscending = 5,
    TextDescending = 6,
};

inline bool IsAscendingOrder(int order) {
    return order == GenericAscending || order == NumericAscending || order == TextAscending;
}

// What the record lists remember between events.
struct ListDisplayState {
    // The System Log list's last sort: its column (-1: none yet) and its order (1-6); the sort
    // arrow shows it. A refresh leaves the list newest first, as the Date column sorts it.
    int SortColumn = -1;
    int SortOrder = 0;
    // The cell whose full text the System Log list's tool tip shows.
    int TipRow = -1, TipCol = -1;
    // The cell the mouse was over when it first moved after a lookup answer (LLookup) appeared:
    // a move to another cell hides the answer. No list: the mouse has not moved since.
    const RecordGrid* LookupList = nullptr;
    int LookupRow = -1, LookupCol = -1;
    // Column widths (twips, by column) the person set by dragging a border: a list laid out
    // again keeps them. Those of the Incoming and Outgoing lists are kept in the settings file
    // too, the System Log list's with all its widths.
    std::map<int, int> InLogWidths, OutLogWidths, SysLogWidths;
    bool StdWidthsChanged = false;  // since the settings file was read or written
};
