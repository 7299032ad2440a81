#include "app/SaveCommands.h"

#include "app/RunCycle.h"
#include "form/MainForm.h"
#include "stdlog/SbLogWriter.h"
#include "syslog/DayFileMerge.h"
#include "syslog/MnwExport.h"

void BSaveAll_Click(MainForm& F) {
    if (F.SysLog.Visible) {
        SysLogmNWSave(F);
    } else {
        SaveLogs(F, false);
    }
}

void BSaveHilited_Click(MainForm& F) {
    if (!F.SysLog.Visible) {
        SaveLogs(F, true);
    } else if (SysLogSave(F, false)) {
        BRun_Click(F);
    }
}
