#pragma once
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
