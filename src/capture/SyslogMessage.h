#pragma once
#include <ctime>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// One syslog message as a router sends it (RFC 3164, or RFC 5424), taken apart into the time its
// header names and the text the router shows on its System Log page. The text stays bytes: it is
// not cleaned here (CaptureLine does that), and no character set is assumed.
struct SyslogMessage {
    // The moment an RFC 5424 header (or an RFC 3339 time in an RFC 3164 header) names, in
    // seconds since the epoch; it carries its zone, so it converts to this computer's local time.
    std::optional<std::time_t> when;
    // An RFC 3164 header written with a year ("Dec  6 2026 14:02:11"): the router's own clock
    // reading as "yyyy-mm-dd hh:mm:ss", no zone. Empty otherwise.
    std::string routerStamp;
    // The message with the header removed: after the priority, the time stamp and the host name
    // (RFC 3164), or after every header field and the structured data (RFC 5424), a UTF-8 byte
    // order mark before it dropped. A datagram that is no syslog message is all text.
    std::string text;
};

// Reads one message. An RFC 3164 header has no marked host name field: the word after the time
// stamp is taken for the host name only when it is one of hostNames (letter case ignored; the
// sender's address and the router's name), or when a tag with a process id ("dnsmasq[812]:")
// follows it. Otherwise it is the start of the text, which then loses nothing.
SyslogMessage ParseSyslogMessage(std::string_view bytes, std::span<const std::string> hostNames);

// Seconds since the epoch of an RFC 3339 time ("2026-12-06T14:02:11.5+01:00", "...Z"); nullopt
// when the text is not one.
std::optional<std::time_t> ParseRfc3339(std::string_view text);
