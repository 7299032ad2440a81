#pragma once

// What the options panel remembers while it is open.
struct OptionsState {
    bool SaveAllEnabledAtOpen = false;
    bool SaveHilitedEnabledAtOpen = false;
};
