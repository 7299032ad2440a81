#pragma once

// What the standard-log subsystem keeps between a refresh and a save.
struct StdLogState {
    int InFlagCount = 0;
    int OutFlagCount = 0;
};
