#pragma once
#include <array>
#include <string>
#include <vector>

#include "form/Colours.h"
#include "form/Controls.h"

// The dispatcher's progress window as plain data; src/ui/qt/FastLookUpWindow draws it.
struct FastLookUp {
    enum Counter { Entries = 0, GivenOut, Busy, Found, Failed, Skipped, CounterCount };

    static constexpr Colour Running = 0xFFFF00;
    static constexpr Colour Done = 0x00FF00;
    static constexpr Colour GivenUp = 0xFF0000;
    static constexpr Colour Unused = 0xC8C8C8;

    bool Visible = false;
    int Left = -1, Top = -1;  // twips; negative: wherever the window system puts it
    Button BQuit;
    std::array<long, CounterCount> LStatus{};
    std::string LrecentIPs;          // the addresses being looked up, newest first
    std::vector<Colour> Indicators;  // one per worker
    unsigned LActivity = 0;          // advances at every dispatcher pass
    bool CancelRequested = false;    // set by a click on BQuit

    FastLookUp() { BQuit.Caption = "&Cancel"; }

    void BQuit_Click() {
        if (BQuit.Enabled) CancelRequested = true;
    }
};
