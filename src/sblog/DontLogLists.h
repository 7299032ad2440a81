#pragma once
#include <string_view>

struct MainForm;

// Stillbeacon's "don't log" lists from the bytes of its files (empty for a missing one):
// "Hideaddr.txt" into SBAddrList and "Hideport.txt" into SBRPortList (remote ports) and
// SBLPortList (local ports).
void ApplyDontLogLists(MainForm& F, std::string_view hideaddr, std::string_view hideport);
