#include "router/RouterPages.h"

#include "form/MainForm.h"
#include "router/PageSource.h"

namespace {

bool Contains(const std::string& page, const char* text) {
    return page.find(text) != std::string::npos;
}

}  // namespace

void CreateURLs(MainForm& F) {
    RouterState& R = F.router;
    const std::string base = "http://" + F.IPAddr.Text;
    R.ProbeURL = base;
    R.InLogURL = base + "/inLogTable.htm";
    R.OutLogURL = base + "/outLogTable.htm";
    if (R.NewFamily) {
        R.StatusURL = base + "/RouterStatus.htm";
        R.SysLogSelectURL = base +
                            "/Gozila.cgi?SysLog.htm=0&hid_returnPoint=hid_sysLogPageNum&hid_sysLogPageNum=0"
                            "&hid_sysLogClear=0&sel_sysLogType=0";
        R.SysLogPageURL = base + "/SysLog.htm";
        return;
    }
    R.StatusURL = base + "/Status.htm";
    R.SysLogSelectURL = base + "/Group.cgi?LogType=0&LogClear=0";
    R.SysLogPageURL = base + (R.NoFirewallWord ? "/VPNLog.htm" : "/SysLogTable.htm");
}

void CheckWAG54G(MainForm& F) {
    RouterState& R = F.router;
    if (R.NewFamily) return;
    const int remembered = F.AltAuth;
    // The probe sends the logon inside the address; the newer family keeps it that way.
    if (F.AltAuth == 0) F.AltAuth = 1;
    const std::string page = FetchPage(F, R.ProbeURL);
    if (Contains(page, "wag54g") || Contains(page, "befsx41")) {
        R.NewFamily = true;
        CreateURLs(F);
        return;
    }
    if (!Contains(page, "firewall")) {
        R.NoFirewallWord = true;
        CreateURLs(F);
    }
    if (F.AltAuth < 2) F.AltAuth = remembered;
}
