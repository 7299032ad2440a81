#include "syslog/MnwExport.h"

// The myNetWatchman export is not built yet; nothing is chosen or written.
void SysLogMNW(MainForm&) {}
void SysLogmNWSave(MainForm&) {}
