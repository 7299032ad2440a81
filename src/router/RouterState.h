#pragma once
#include <string>

// What the router subsystem keeps between calls.
struct RouterState {
    bool NewFamily = false;  // the router's layout has been probed
    std::string ProbeURL, InLogURL, OutLogURL, StatusURL, SysLogSelectURL, SysLogPageURL;
};
