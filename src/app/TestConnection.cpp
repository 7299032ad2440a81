#include "app/TestConnection.h"

#include "form/MainForm.h"
#include "form/Progress.h"
#include "router/PageSource.h"
#include "router/RouterContact.h"
#include "router/RouterPages.h"
#include "router/RouterProblem.h"

namespace {

bool Contains(const std::string& page, const char* text) {
    return page.find(text) != std::string::npos;
}

// The layout flags, page addresses and credential mode the refreshes use: the test learns the
// layout of the router as typed, and then gives them back unchanged.
struct RouterLayoutKeeper {
    explicit RouterLayoutKeeper(MainForm& f)
        : F(f),
          newFamily(f.router.NewFamily),
          noFirewallWord(f.router.NoFirewallWord),
          altAuth(f.AltAuth),
          urls{f.router.ProbeURL,  f.router.InLogURL,        f.router.OutLogURL,
               f.router.StatusURL, f.router.SysLogSelectURL, f.router.SysLogPageURL} {}
    ~RouterLayoutKeeper() {
        RouterState& R = F.router;
        R.NewFamily = newFamily;
        R.NoFirewallWord = noFirewallWord;
        F.AltAuth = altAuth;
        R.ProbeURL = urls[0];
        R.InLogURL = urls[1];
        R.OutLogURL = urls[2];
        R.StatusURL = urls[3];
        R.SysLogSelectURL = urls[4];
        R.SysLogPageURL = urls[5];
    }
    RouterLayoutKeeper(const RouterLayoutKeeper&) = delete;
    RouterLayoutKeeper& operator=(const RouterLayoutKeeper&) = delete;

    MainForm& F;
    bool newFamily, noFirewallWord;
    int altAuth;
    std::string urls[6];
};

std::string LayoutWords(const RouterState& R) {
    if (R.NewFamily) return "the newer layout (status on RouterStatus.htm, System Log on SysLog.htm)";
    if (R.NoFirewallWord) return "the layout with a one-page VPN log (VPNLog.htm)";
    return "the standard layout (Incoming and Outgoing tables, System Log on SysLogTable.htm)";
}

}  // namespace

std::string TestConnectionFinding(MainForm& F) {
    const std::string address = F.IPAddr.Text;
    if (address.empty()) return "Enter the Router's LAN address first.";
    RouterLayoutKeeper keeper(F);
    F.router.NewFamily = false;
    F.router.NoFirewallWord = false;
    CreateURLs(F);

    RouterContact contact(F);
    const std::string root = FetchPage(F, F.router.ProbeURL);
    if (contact.Cancelled()) return "The test was cancelled.";
    if (LogonRefused(F, root)) {
        return "Missing or invalid Password: " + RefusedLogonDetail(F) + ".";
    }
    if (root.empty()) return CantContactRouterText(F) + ".";

    // The same reading of the root page as the first refresh makes.
    CheckWAG54G(F);
    std::string page = FetchPage(F, F.router.SysLogSelectURL);
    if (!page.empty() && !contact.Cancelled()) page = FetchPage(F, F.router.SysLogPageURL);
    if (contact.Cancelled()) return "The test was cancelled.";
    if (LogonRefused(F, page)) {
        return "Missing or invalid Password: " + RefusedLogonDetail(F) +
               " (its first page answered, its log pages did not).";
    }
    std::string text = "The Router at " + address + " answered, and the logon was accepted. Its pages have " +
                       LayoutWords(F.router) + ".";
    const bool sysLog =
        !Contains(page, "Error 404 Not Found") && (Contains(page, "System Log") || Contains(page, "VPNLog"));
    if (!sysLog) {
        text += " It has no System Log: Drovix reads its Incoming and Outgoing tables.";
    } else if (F.CSysLog.Value) {
        text += " It keeps a System Log, which Drovix reads.";
    } else {
        text += " It keeps a System Log; check \"Use Router's System Log\" to read it.";
    }
    return text;
}

void BTestConnection_Click(MainForm& F) {
    // A refresh or another test is waiting for the router.
    if (F.Busy) return;
    F.ui.SetMousePointer(MousePointer::Hourglass);
    const std::string finding = TestConnectionFinding(F);
    F.ui.SetMousePointer(MousePointer::Default);
    if (F.UnloadRequested) return;
    F.ui.MsgBox(finding, MsgIcon::Information, MsgButtons::OK, "Test connection");
}
