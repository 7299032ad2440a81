#include "form/MainControls.h"

#include "form/MainForm.h"

std::string MakeBadNameChars() {
    std::string s = "()";
    for (int c = 1; c <= 31; ++c) s += static_cast<char>(c);
    for (int c = 128; c <= 255; ++c) s += static_cast<char>(c);
    return s;
}

void SetupMainControls(MainForm& F) {
    F.BRun.Caption = "&Run";
    F.BRun.ToolTipText = "Display/refresh the list";
    F.BQuit.Caption = "E&xit";
    F.BQuit.ToolTipText = "Stop Drovix and close its window";
    F.BSaveAll.Caption = "Save &all";
    F.BSaveHilited.Caption = "Save &highlighted";
    F.BOptions.Caption = "&Options";
    F.BOptions.ToolTipText = "Change options";
    F.BCancelOptions.Caption = "&Cancel";
    F.BCancelOptions.ToolTipText = "Keep previous Setup";
    F.BCancelOptions.Visible = false;
    F.BReplaceToday.Caption = "Re-do Today";
    F.BReplaceToday.Visible = false;

    F.LIPA.Caption = "WAN IP Address";
    F.LIPA.Visible = false;
    F.CurrWanAddr.Caption = "000.000.000.000";
    F.CurrWanAddr.ToolTipText = "Router's current real IP Address";
    F.CurrWanAddr.Visible = false;
    F.LNoLogs.Visible = false;
    F.LLookup.Visible = false;
    F.TProgress.Visible = false;
    F.LHelp.Visible = false;

    F.InCaption.Caption = "Incoming Log";
    F.OutCaption.Caption = "Outgoing Log";
    F.InLog.Visible = true;
    F.OutLog.Visible = true;
    F.InLog.SetRows(1);
    F.OutLog.SetRows(1);
    F.SysLog.SetRows(1);
    F.SysLog.Visible = false;
    F.SysStats.Visible = false;
    F.SysCaption.Visible = false;

    // System Log controls appear only once a router with a System Log is found.
    F.CSysLog.Visible = false;
    F.CSaveSysLog.Visible = false;
    F.CmnW.Visible = false;
    F.LAutorun.Visible = false;
}
