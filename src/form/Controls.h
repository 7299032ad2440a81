#pragma once
#include <string>

// The window's controls as plain data. The engine sets captions, values, enabled and visible
// states and places (in twips); the Qt window draws them and reports clicks and edits back.
struct Control {
    bool Visible = true;
    bool Enabled = true;
    std::string ToolTipText;
    int Left = 0, Top = 0, Width = 0, Height = 0;
};

struct Button : Control {
    std::string Caption;
};

struct CheckBox : Control {
    std::string Caption;
    bool Value = false;
};

struct OptionButton : Control {
    std::string Caption;
    bool Value = false;
};

struct TextBox : Control {
    std::string Text;
    int MaxLength = 0;  // 0: no limit
    bool PasswordChar = false;
};

struct Label : Control {
    std::string Caption;
};

struct Frame : Control {};
