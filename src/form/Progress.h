#pragma once
#include <string>

struct MainForm;

// Number of segments of the progress bar.
inline constexpr int ProgressSegments = 20;

// Places the progress caption and its bar where the WAN address labels sit, F.ProgressWidth wide.
// The first call creates the segments, hidden.
void LayoutProgress(MainForm& F);

// Shows the caption and fills the bar to fraction (0..1); a negative fraction hides both.
// Also the point where long loops let window events run.
void ShowProgress(MainForm& F, double fraction, const std::string& text);
