#pragma once
#include <memory>

#include "PinnedClock.h"
#include "RecordingFrontend.h"
#include "TestFiles.h"
#include "app/Startup.h"
#include "form/MainForm.h"

// A main form over a recording frontend, a pinned clock and a temporary program folder that is
// also Stillbeacon's log folder unless a test says otherwise. Its commands are the program's own.
struct TestForm {
    TestForm() : form(std::make_unique<MainForm>(frontend, clock)) {
        form->ProgramDir = dir.path();
        form->SbLogDir = dir.path();
        form->TracePath = dir.path() + "Drovix_Trace.Log";
        ConnectFormCommands(*form);
    }
    MainForm& F() { return *form; }

    RecordingFrontend frontend;
    PinnedClock clock;
    TempFolder dir;
    std::unique_ptr<MainForm> form;
};
