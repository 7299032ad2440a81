#include "resolve/ConvertIP.h"

#include <algorithm>

#include "form/OsServices.h"
#include "form/Resolver.h"
#include "text/AddressText.h"

std::string PadForConvertIP(const std::string& address) {
    std::string padded = address.substr(0, ConvertIPAddressSize - 1);
    padded.resize(ConvertIPAddressSize, '\0');
    return padded;
}

short ConvertIP(Resolver& resolver, std::string paddedAddress, std::string& nameBuffer) {
    if (nameBuffer.size() < static_cast<size_t>(ConvertIPBufferSize)) return 0;
    const std::string address = TrimNull(paddedAddress);
    if (!IsIPAddress(address)) return 0;
    const std::string name = resolver.HostNameOf(address).value_or("!");
    const std::string answer = name.empty() ? std::string("!") : TrimNull(name);
    // Leave room for the terminating NUL, whatever the resolver sent.
    const size_t length = std::min(answer.size(), nameBuffer.size() - 1);
    std::copy_n(answer.begin(), length, nameBuffer.begin());
    nameBuffer[length] = '\0';
    return 1;
}
