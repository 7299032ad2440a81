#pragma once

struct MainForm;
struct GridPoint;

// Wheel over the System Log list: three rows per notch; rotation below 1 scrolls down.
void MouseWheel(MainForm& F, int rotation);

// Mouse moves over the lists: a cell too narrow for its text shows it whole as a tool tip, and
// a lookup answer goes away once the mouse has left the place where it was asked for.
void InLog_MouseMove(MainForm& F, const GridPoint& at);
void OutLog_MouseMove(MainForm& F, const GridPoint& at);
void SysLog_MouseMove(MainForm& F, const GridPoint& at);
// The statistics row explains the statistic under the mouse.
void SysStats_MouseMove(MainForm& F, const GridPoint& at);
