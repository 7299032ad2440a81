#include "syslog/DayFileMerge.h"

// The merge into Stillbeacon's day files is not built yet; nothing is written.
void SysLogSave(MainForm&, bool) {}
