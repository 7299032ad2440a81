#pragma once
#include <functional>
#include <string>
#include <vector>

#include "form/Frontend.h"
#include "form/ListDisplayState.h"

// A Frontend that records what the engine shows and answers message boxes from a script.
class RecordingFrontend : public Frontend {
  public:
    struct Message {
        std::string text;
        MsgIcon icon;
        MsgButtons buttons;
        std::string title;
    };

    MsgAnswer MsgBox(std::string_view text, MsgIcon icon, MsgButtons buttons,
                     std::string_view title) override {
        messages.push_back({std::string(text), icon, buttons, std::string(title)});
        if (!answers.empty()) {
            MsgAnswer a = answers.front();
            answers.erase(answers.begin());
            return a;
        }
        return buttons == MsgButtons::YesNo || buttons == MsgButtons::YesNoCancel ? MsgAnswer::Yes
                                                                                  : MsgAnswer::OK;
    }
    void DoEvents() override {
        ++doEventsCalls;
        if (onDoEvents) onDoEvents();
    }
    void ShowWindow() override { windowShown = true; }
    // A fixed-pitch font: 105 twips per character (7 pixels at 15 twips a pixel).
    int TextWidth(std::string_view text) override { return static_cast<int>(text.size()) * 105; }
    void SetClipboardText(std::string_view text) override { clipboard = std::string(text); }
    void SetMousePointer(MousePointer p) override { pointer = p; }
    MousePointer GetMousePointer() const override { return pointer; }
    std::string ShowPopupMenu(const PopupMenu& menu, int x, int y) override {
        popups.push_back({menu, x, y});
        std::string choice;
        if (!popupChoices.empty()) {
            choice = popupChoices.front();
            popupChoices.erase(popupChoices.begin());
        }
        return choice;
    }

    struct Popup {
        PopupMenu menu;
        int x, y;
    };

    std::vector<Message> messages;
    std::vector<Popup> popups;
    std::vector<std::string> popupChoices;  // the items chosen in the menus shown, in turn
    std::vector<MsgAnswer> answers;
    std::function<void()> onDoEvents;
    int doEventsCalls = 0;
    bool windowShown = false;
    std::string clipboard;
    MousePointer pointer = MousePointer::Default;
};
