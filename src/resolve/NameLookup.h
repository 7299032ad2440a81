#pragma once
#include <memory>
#include <string>

class Resolver;
struct MainForm;

// What a lookup may read besides its argument. The dispatcher hands a copy to its workers with
// every job, so a worker never reads the form.
struct LookupFlags {
    bool WinNT5 = true;
    bool ResolveNetBios = false;
    std::string BadNameChars;
    std::shared_ptr<Resolver> resolver;
};

LookupFlags LookupFlagsOf(const MainForm& F);

// Reverse lookup on the window's thread: the lower-case host name, or "" when ip is not a dotted
// address or no usable name was found.
std::string NameByAddr(MainForm& F, const std::string& ip);
// Forward lookup: name itself when it already is a dotted address, "" when it cannot be resolved.
std::string AddrByName(MainForm& F, const std::string& name);

// The same two lookups for worker threads; they touch nothing but their arguments. The reverse
// one asks the DNS-only lookup also when the NetBIOS permission is off.
std::string ResolveName(const LookupFlags& flags, const std::string& ip);
std::string ResolveAddr(const LookupFlags& flags, const std::string& name);

// A raw host name made fit for a list cell and Stillbeacon's log lines: cut before its first
// NUL, blank or line feed, trimmed, empty when it holds a character of badNameChars, lower case.
std::string CleanHostName(const std::string& raw, const std::string& badNameChars);
