#pragma once
#include <string>
#include <string_view>

struct PopupMenu;

enum class MsgIcon { None, Critical, Question, Exclamation, Information };
enum class MsgButtons { OK, OKCancel, YesNo, YesNoCancel };
enum class MsgAnswer { OK, Cancel, Yes, No };
enum class MousePointer { Default, Hourglass };

// The one way the engine reaches the person in front of the screen. The Qt window implements
// it, a headless face serves unattended runs without a display, and tests record the calls.
// All texts are Latin-1 bytes, as everywhere in the engine.
class Frontend {
  public:
    virtual ~Frontend() = default;

    virtual MsgAnswer MsgBox(std::string_view text, MsgIcon icon, MsgButtons buttons,
                             std::string_view title) = 0;
    // Lets pending window events run (clicks, timers, repaints) and redraws the form.
    virtual void DoEvents() = 0;
    virtual void ShowWindow() = 0;
    // Width of a text in the window's font, in twips.
    virtual int TextWidth(std::string_view text) = 0;
    virtual void SetClipboardText(std::string_view text) = 0;
    virtual void SetMousePointer(MousePointer pointer) = 0;
    virtual MousePointer GetMousePointer() const = 0;
    // Shows a popup menu at a place on the window (twips from its inner top left corner) and
    // answers the name of the item the person chose, or nothing when the menu was dismissed.
    virtual std::string ShowPopupMenu(const PopupMenu& menu, int x, int y) {
        (void)menu, (void)x, (void)y;
        return {};
    }
    // Opens a folder in the desktop's file manager; false when it could not be opened.
    virtual bool OpenFolder(const std::string& path) {
        (void)path;
        return false;
    }
    // Screen resolution used to turn twips into pixels.
    virtual int TwipsPerPixelX() const { return 15; }
    virtual int TwipsPerPixelY() const { return 15; }
};
