#pragma once
#include <string_view>

struct MainForm;

// Reads Stillbeacon's "don't log" lists from the program's folder: "Hideaddr.txt" into SBAddrList
// and "Hideport.txt" into SBRPortList (remote ports) and SBLPortList (local ports). Missing files
// leave the lists empty.
void ReadDontLogLists(MainForm& F);
// The same from the bytes of the two files (empty for a missing one).
void ApplyDontLogLists(MainForm& F, std::string_view hideaddr, std::string_view hideport);
