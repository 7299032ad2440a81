#pragma once
#include <string>
#include <vector>

// One explanation of the instant help: its key and its text. In the text "^" starts a new
// paragraph; a final "~" asks for the note on the comparison with Stillbeacon's logs and a final
// "~+" for the sentence about the router's clock.
struct HelpEntry {
    std::string key;
    std::string text;
};

// The explanations, one for each option, in the order the help table keeps them.
const std::vector<HelpEntry>& HelpEntries();
