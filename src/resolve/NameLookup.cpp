#include "resolve/NameLookup.h"

#include "form/MainForm.h"
#include "resolve/ConvertIP.h"
#include "resolve/SystemResolver.h"
#include "text/AddressText.h"

namespace {

std::string ReverseLookup(const LookupFlags& flags, const std::string& ip, bool askDnsOnly) {
    if (!IsIPAddress(ip) || !flags.resolver) return {};
    try {
        if (askDnsOnly) {
            std::string buffer(ConvertIPBufferSize, '\0');
            if (ConvertIP(*flags.resolver, PadForConvertIP(ip), buffer) == 1) {
                // Both paths end at the same system resolver here, so asking it a second time
                // after it answered would only double the wait of a failed lookup.
                const std::string name = CleanHostName(buffer, flags.BadNameChars);
                return name == "!" ? std::string() : name;
            }
        }
        if (!flags.ResolveNetBios) return {};
        const auto raw = flags.resolver->HostNameOf(ip);
        return raw ? CleanHostName(*raw, flags.BadNameChars) : std::string();
    } catch (...) {
        return {};
    }
}

std::string TrimBlanks(const std::string& text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    const size_t last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

}  // namespace

LookupFlags LookupFlagsOf(const MainForm& F) {
    return LookupFlags{F.WinNT5, F.ResolveNetBios, F.BadNameChars, ResolverOf(F.resolve)};
}

std::string CleanHostName(const std::string& raw, const std::string& badNameChars) {
    std::string name = raw;
    for (const char stop : {'\0', ' ', '\n'}) {
        const size_t at = name.find(stop);
        if (at != std::string::npos) name.resize(at);
    }
    name = TrimBlanks(name);
    if (HasBadChars(name, badNameChars)) return {};
    return LowerCase(name);
}

std::string NameByAddr(MainForm& F, const std::string& ip) {
    const LookupFlags flags = LookupFlagsOf(F);
    return ReverseLookup(flags, ip, flags.WinNT5);
}

std::string ResolveName(const LookupFlags& flags, const std::string& ip) {
    return ReverseLookup(flags, ip, flags.WinNT5 || !flags.ResolveNetBios);
}

std::string ResolveAddr(const LookupFlags& flags, const std::string& name) {
    if (IsIPAddress(name)) return name;
    if (!flags.resolver) return {};
    try {
        const auto bytes = flags.resolver->AddressOf(name);
        if (!bytes) return {};
        return std::to_string((*bytes)[0]) + "." + std::to_string((*bytes)[1]) + "." +
               std::to_string((*bytes)[2]) + "." + std::to_string((*bytes)[3]);
    } catch (...) {
        return {};
    }
}

std::string AddrByName(MainForm& F, const std::string& name) {
    return ResolveAddr(LookupFlagsOf(F), name);
}
