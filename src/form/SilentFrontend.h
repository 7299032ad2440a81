#pragma once
#include "form/Frontend.h"

// A Frontend with nobody in front of it: for tools that drive the engine on their own (the
// benchmarks, the fuzz targets). Messages are answered OK and nothing is shown.
class SilentFrontend : public Frontend {
  public:
    MsgAnswer MsgBox(std::string_view, MsgIcon, MsgButtons, std::string_view) override {
        return MsgAnswer::OK;
    }
    void DoEvents() override {}
    void ShowWindow() override {}
    // An average character of the window's font, as the headless face measures.
    int TextWidth(std::string_view text) override { return static_cast<int>(text.size()) * 105; }
    void SetClipboardText(std::string_view) override {}
    void SetMousePointer(MousePointer) override {}
    MousePointer GetMousePointer() const override { return MousePointer::Default; }
};
