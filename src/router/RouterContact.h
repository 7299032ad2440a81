#pragma once
#include <string>

#include "form/MainForm.h"

// While a refresh waits for the router, the Exit button reads "Cancel" and a click on it stops
// the wait instead of closing the window. Cancelled() tells the caller that the person, not the
// router, ended the contact, so that no failure is reported for it.
class RouterContact {
  public:
    explicit RouterContact(MainForm& F)
        : F(F), caption_(F.BQuit.Caption), wasBusy_(F.Busy), wasContacting_(F.ContactingRouter) {
        if (wasBusy_) return;  // an outer procedure already owns the button
        F.Busy = true;
        F.QuitRequested = false;
        F.ContactingRouter = true;
        F.BQuit.Caption = "Cancel";
    }
    ~RouterContact() {
        if (wasBusy_) return;
        F.BQuit.Caption = caption_;
        F.Busy = false;
        F.ContactingRouter = wasContacting_;
        F.QuitRequested = false;
    }
    RouterContact(const RouterContact&) = delete;
    RouterContact& operator=(const RouterContact&) = delete;

    bool Cancelled() const { return F.QuitRequested; }

  private:
    MainForm& F;
    std::string caption_;
    bool wasBusy_, wasContacting_;
};
