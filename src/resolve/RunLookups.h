#pragma once
#include <string>
#include <vector>

struct MainForm;

// One entry of the dispatcher's table: an address and its name (empty, or equal to the address,
// while unknown). RunLookups writes the lower-case names it finds into name.
struct LookupEntry {
    std::string address;
    std::string name;
};
using LookupTable = std::vector<LookupEntry>;

// Looks up the names of the table's addresses on up to 120 worker threads (the count is fixed at
// the first call: threads, 30 for 0 or less), skipping entries already named and addresses met
// before in this run, abandoning a lookup after F.resolve.LookupTimeLimit. Shows the FastLookUp
// window when show is set (at left, top in twips when both are 0 or more). Cancel comes from the
// window's button or from F.QuitRequested. Returns 1 after Cancel or an error, else 0.
int RunLookups(MainForm& F, LookupTable& table, int threads, bool winNT5, bool resolveNetBios, bool show,
               int left = -1, int top = -1, int unusedPosition = 0);
