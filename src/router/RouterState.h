#pragma once
#include <string>

// What the router subsystem keeps between calls.
struct RouterState {
    std::string ProbeURL, InLogURL, OutLogURL, StatusURL, SysLogSelectURL, SysLogPageURL;
};
