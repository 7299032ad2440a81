#pragma once

struct MainForm;

// Reads the few keys Drovix shares with Stillbeacon from "Stillbeacon.ini" in the program's
// folder (read only): its log folder LOGDIR into SbLogDir (default: the program's folder) and
// the flags LRESOLVE, RESOLVENETBIOS, USESUBTYPES and CATEGORIZE.
void ReadStillbeaconIni(MainForm& F);
