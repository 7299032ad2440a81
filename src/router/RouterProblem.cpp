#include "router/RouterProblem.h"

#include "form/MainForm.h"

std::string CantContactRouterText(const MainForm& F) {
    std::string text = "Can't contact the Router at " + F.IPAddr.Text;
    if (!F.router.LastFetchFailure.empty()) text += ": " + F.router.LastFetchFailure;
    return text;
}

bool LogonRefused(const MainForm& F, std::string_view page) {
    if (page.find("401 Authorization Required") != std::string_view::npos) return true;
    return page.empty() && F.router.LastFetchStatus == 401;
}

std::string RefusedLogonDetail(const MainForm& F) {
    const std::string user = F.UserID.Text.empty() ? std::string("admin") : F.UserID.Text;
    return "the Router at " + F.IPAddr.Text + " refused the logon ID \"" + user + "\" with this password";
}
