#pragma once
#include <functional>
#include <memory>
#include <set>
#include <string>

class QNetworkAccessManager;
class QNetworkReply;
class QTimer;

// Where procedures that read router pages get them. Unset: the page fetcher itself (GetHtml);
// tests may script the pages instead. Same contract as GetHtml: the page text, or an empty text
// when nothing came back; never a message.
using PageSource = std::function<std::string(const std::string& url)>;

// What the router subsystem keeps between calls.
struct RouterState {
    RouterState();
    ~RouterState();  // out of line: the Qt members are incomplete here
    RouterState(const RouterState&) = delete;
    RouterState& operator=(const RouterState&) = delete;

    // Layout flags, false at start and only ever set during a run.
    bool NewFamily = false;       // the root page named "wag54g" or "befsx41"
    bool NoFirewallWord = false;  // the root page named neither and lacked "firewall"

    std::string ProbeURL, InLogURL, OutLogURL, StatusURL, SysLogSelectURL, SysLogPageURL;

    // ---- page fetcher ----
    // Where procedures get router pages; unset means the page fetcher itself.
    PageSource Pages;
    // Created at the first fetch; used on the application's thread only.
    std::unique_ptr<QNetworkAccessManager> Network;
    // Requests under way (a WAN check may run while a refresh waits for its own page).
    std::set<QNetworkReply*> ActiveReplies;
    int ActiveFetches = 0;
    // Raised by CancelTransfers; a fetch that sees it change gives up without retrying.
    unsigned CancelGeneration = 0;
    // Numbers the page copies of the trace; raised before every traced fetch.
    int PageCopyCounter = 0;
    // Why the last fetch came back empty, in words ("connection refused", "no answer within 4
    // seconds"); empty after a fetch that brought a page. With the HTTP status of its last answer
    // (0: none came), a refusal of the logon without a page body is still told as one.
    std::string LastFetchFailure;
    int LastFetchStatus = 0;

    // ---- WAN address monitor ----
    std::unique_ptr<QTimer> Timer1;
    // Monitoring is on; the timer itself is stopped while a check runs.
    bool WanMonitorOn = false;
};
