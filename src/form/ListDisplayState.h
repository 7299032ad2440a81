#pragma once
#include <string>
#include <vector>

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

// What the record lists remember between events.
struct ListDisplayState {
    // The System Log list's last sort: its column (-1: none yet) and its order (1-6).
    int SortColumn = -1;
    int SortOrder = 0;
    // The cell whose full text the System Log list's tool tip shows.
    int TipRow = -1, TipCol = -1;
    // Where the mouse was when LLookup was placed (window twips), so that a move away hides it.
    int LookupX = 0, LookupY = 0;
};
