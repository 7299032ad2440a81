#pragma once

struct MainForm;

// Reads Stillbeacon's "don't log" lists from the program's folder: "Hideaddr.txt" into SBAddrList
// and "Hideport.txt" into SBRPortList (remote ports) and SBLPortList (local ports). Missing files
// leave the lists empty.
void ReadDontLogLists(MainForm& F);
