#pragma once
#include <string>

struct Logon {
    std::string user, password;
};

// The value of the Authorization header for a logon: "Basic " + base64(user ":" password). Every
// credential mode logs on so: the logon never travels inside the page address.
std::string BasicAuthorization(const Logon& logon);
