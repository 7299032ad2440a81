#pragma once
#include <string>

class QTcpSocket;

// Ways a broken or hostile router can answer, for testing that a client survives them.
enum class SimHostile {
    None,
    Endless,         // a body that never ends (no length, filler for ever)
    Huge,            // a declared and sent body of 256 MiB
    GarbageStatus,   // a status line that is not HTTP
    GarbageHeaders,  // a valid status line followed by header lines that are not headers
    Stall,           // half the declared body, then silence with the connection open
    Redirect,        // "302 Found" pointing at another page of this router
    Binary,          // a page of arbitrary bytes, NULs and 0xA0 included
};

// "endless", "huge", ... as on the command line; false for an unknown name.
bool ParseSimHostile(const std::string& name, SimHostile& out);

// Answers one request on socket the hostile way; page is what a sound answer would carry and
// redirectTo the address the redirect names. With verbose, writes "closed after N bytes" when the
// client goes away while an endless or huge body is being sent.
void SendHostile(QTcpSocket* socket, SimHostile mode, const std::string& page, const std::string& redirectTo,
                 bool verbose);
