#pragma once
#include <string>

struct MainForm;

// Fills the help table with every explanation, in its fixed order.
void HelpLoad(MainForm& F);
// Shows the explanation for a key in the help pane below the options panel; the empty key
// clears the pane (and hides it unless the panel is open). A key without an explanation leaves
// the pane as it is.
void HelpShow(MainForm& F, const std::string& key);

// Pointer moves over the window, the panel's background and the main buttons. The buttons
// explain themselves only while the panel is open.
void Form_MouseMove(MainForm& F);
void OptionsFrame_MouseMove(MainForm& F);
void BRun_MouseMove(MainForm& F);
void BOptions_MouseMove(MainForm& F);
void BQuit_MouseMove(MainForm& F);
void BCancelOptions_MouseMove(MainForm& F);

// The clock sentence that ends the explanation of the allowed time difference; empty when the
// router's clock is not known.
std::string RouterClockSentence(long long routerClockOffset);
