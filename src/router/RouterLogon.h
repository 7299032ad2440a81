#pragma once
#include <string>

// How the logon travels with a page request. Credential modes 1 and 3 put the logon into the
// address, 0 and 2 hand it over as separate settings; on the wire both become a basic
// authorization header.
bool LogonInAddress(int altAuth);

// "http://" + user + ":" + password + "@" + the address after its "http://". User and password
// are percent-encoded, so a password holding "@", ":" or "/" cannot break the address apart.
std::string CredentialAddress(const std::string& address, const std::string& user,
                              const std::string& password);

struct Logon {
    std::string user, password;
};
// The logon carried by a credential address, decoded back to its original bytes.
Logon LogonFromAddress(const std::string& credentialAddress);

// The value of the Authorization header for a logon: "Basic " + base64(user ":" password).
std::string BasicAuthorization(const Logon& logon);
