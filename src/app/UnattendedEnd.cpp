#include "app/UnattendedEnd.h"

#include "app/DesktopNotification.h"
#include "app/LastRun.h"
#include "form/MainForm.h"

int FinishUnattendedRun(const MainForm& F, int exitStatus,
                        const std::function<bool(const Notification&)>& notify) {
    // A state file that cannot be written costs only the status line's record of this run.
    SaveLastRun(F.ProgramDir, LastRunOf(F, exitStatus));
    if (const auto notification = UnattendedRunNotification(F, exitStatus)) notify(*notification);
    return exitStatus;
}
