#pragma once
#include <string_view>

struct MainForm;

// Reads the few keys Drovix shares with Stillbeacon from "Stillbeacon.ini" in the program's
// folder (read only): its log folder LOGDIR into SbLogDir (default: the program's folder) and
// the flags LRESOLVE, RESOLVENETBIOS, USESUBTYPES and CATEGORIZE.
void ReadStillbeaconIni(MainForm& F);
// The same from the bytes of the file (empty for a missing one).
void ApplyStillbeaconIni(MainForm& F, std::string_view bytes);

// Reads Stillbeacon's "don't log" lists "Hideaddr.txt" and "Hideport.txt" from the program's
// folder (read only); missing files leave the lists empty.
void ReadDontLogLists(MainForm& F);
