#pragma once
#include "form/Frontend.h"

// The face of an unattended run without a display: messages go to standard error, and any
// message means the run did not complete (the caller turns that into a non-zero exit status).
class HeadlessFrontend : public Frontend {
  public:
    MsgAnswer MsgBox(std::string_view text, MsgIcon icon, MsgButtons buttons,
                     std::string_view title) override;
    void DoEvents() override;
    void ShowWindow() override {}
    // An average character of the window's font, so column widths come out the same size.
    int TextWidth(std::string_view text) override { return static_cast<int>(text.size()) * 105; }
    void SetClipboardText(std::string_view) override {}
    void SetMousePointer(MousePointer p) override { pointer_ = p; }
    MousePointer GetMousePointer() const override { return pointer_; }

    bool MessageShown() const { return messageShown_; }

  private:
    MousePointer pointer_ = MousePointer::Default;
    bool messageShown_ = false;
};
