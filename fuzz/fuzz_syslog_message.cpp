// The syslog receiver's readers of what arrives from the network: a message's text is the end of
// the datagram (only a header is ever removed), its capture line holds no line break or NUL, and
// a TCP stream cut into pieces anywhere gives the messages the whole stream gives.
#include <cstdlib>
#include <vector>

#include "FuzzForm.h"
#include "capture/CaptureFiles.h"
#include "capture/StreamFraming.h"
#include "capture/SyslogMessage.h"

namespace {

std::vector<std::pair<std::string, bool>> Frames(std::string_view stream, size_t piece) {
    std::vector<std::pair<std::string, bool>> frames;
    SyslogStreamFramer framer(64);
    const SyslogStreamFramer::Emit keep = [&](std::string_view m, bool cut) { frames.emplace_back(m, cut); };
    for (size_t at = 0; at < stream.size(); at += piece) framer.Feed(stream.substr(at, piece), keep);
    framer.Finish(keep);
    return frames;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(fuzz::Bytes(data, size));
    const std::vector<std::string> names = {"192.168.1.1", "gateway"};
    const SyslogMessage m = ParseSyslogMessage(bytes, names);
    if (!std::string_view(bytes).ends_with(m.text)) std::abort();
    const std::string line = CaptureLine("2026-12-06 14:02:11", m.text);
    if (line.find_first_of(std::string("\r\n\0", 3)) != std::string::npos) std::abort();
    if (!m.routerStamp.empty() && !StartsWithStamp(m.routerStamp + " ")) std::abort();

    if (Frames(bytes, bytes.size() + 1) != Frames(bytes, 1 + (size > 0 ? data[0] % 7 : 0))) std::abort();
    return 0;
}
