#pragma once
#include <cstdint>

// Colours are 0xRRGGBB. The record lists paint whole rows with these to tell the user what each
// record is; tests read a row's state back from its colour, so the values are fixed.
using Colour = std::uint32_t;

inline constexpr Colour White = 0xFFFFFF;
inline constexpr Colour FlagColour = 0xC0FEFE;    // missing from Stillbeacon's logs
inline constexpr Colour IgnoreColour = 0xF5F5F5;  // hidden by Stillbeacon's "don't log" lists
inline constexpr Colour WarnColour = 0xFFE0E0;    // blocked or modified by the router
inline constexpr Colour MnwColour = 0xF8EFD0;     // chosen for the myNetWatchman export
inline constexpr Colour CapturedColour = 0xD0F0C0;  // added from the syslog capture (the Dir cell)
inline constexpr Colour DayChangeColour = 0x0000FF;
inline constexpr Colour NewRecordsColour = 0xFE00FF;

inline constexpr int ColourRed(Colour c) {
    return static_cast<int>((c >> 16) & 0xFF);
}
inline constexpr int ColourGreen(Colour c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
inline constexpr int ColourBlue(Colour c) {
    return static_cast<int>(c & 0xFF);
}
