#pragma once
#include <string>

#include "support/TestForm.h"

// A form set up to talk to a simulated router quickly: one-second wait and pause, two tries,
// the simulator's default logon.
struct RouterTestForm : TestForm {
    RouterTestForm() {
        F().UserID.Text = "admin";
        F().PW.Text = "admin";
        F().RouterWait.Text = "1";
        F().RouterRetry.Text = "2";
        F().RouterDelay.Text = "1";
    }
};

// How often what occurs in text.
inline int Count(const std::string& text, const std::string& what) {
    int n = 0;
    for (auto p = text.find(what); p != std::string::npos; p = text.find(what, p + 1)) ++n;
    return n;
}
