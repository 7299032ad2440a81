#pragma once

struct MainForm;

// Builds the router page addresses from the router address field and the layout flags.
void CreateURLs(MainForm& F);
// Probes the router's root page once to learn its layout; may rebuild the page addresses.
void CheckWAG54G(MainForm& F);
