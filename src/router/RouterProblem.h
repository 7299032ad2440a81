#pragma once
#include <string>
#include <string_view>

struct MainForm;

// What the person is told when the router's pages did not come: where Drovix looked and why
// nothing came, "Can't contact the Router at 192.168.1.1: connection refused".
std::string CantContactRouterText(const MainForm& F);

// The router refused the logon: its page says so, or it answered the last fetch with status 401
// and no page at all. A refusal must not be told as an unreachable router.
bool LogonRefused(const MainForm& F, std::string_view page);

// Says who was refused where, for the end of the refused-password message.
std::string RefusedLogonDetail(const MainForm& F);
