#pragma once
#include <string>

struct MainForm;

// The paragraph a start that cannot refresh shows beside the options it opens: what Drovix needs
// (the router's address, its password, Stillbeacon's log folder), what of it is missing, and where
// Drovix looked for Stillbeacon's folder. Drovix never writes Stillbeacon's settings.
std::string SetUpNotice(const MainForm& F);

// Shows it beside the open options panel, until the panel closes.
void ShowSetUpNotice(MainForm& F);
