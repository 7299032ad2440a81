#include "app/SaveCommands.h"

#include "app/RunCycle.h"
#include "form/MainForm.h"
#include "stdlog/SbLogWriter.h"
#include "syslog/DayFileMerge.h"
#include "syslog/MnwExport.h"
#include "syslog/RecordMarking.h"

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
        // The refresh matches the list anew; what the person marked or unmarked by hand and the
        // merge did not carry out stays as they left it.
        const auto handMarks = HandMarksNotCarriedOut(F);
        BRun_Click(F);
        ReapplyHandMarks(F, handMarks);
    }
}
