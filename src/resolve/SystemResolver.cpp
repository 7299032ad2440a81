#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <cstring>

#include "resolve/SystemResolver.h"

namespace {

class PlatformResolver final : public Resolver {
  public:
    std::optional<std::string> HostNameOf(const std::string& dottedAddress) override {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        if (inet_pton(AF_INET, dottedAddress.c_str(), &address.sin_addr) != 1) return std::nullopt;
        char host[NI_MAXHOST] = {};
        // NI_NAMEREQD: an address without a name is a failure, not its own text echoed back.
        const int rc = getnameinfo(reinterpret_cast<const sockaddr*>(&address), sizeof address, host,
                                   sizeof host, nullptr, 0, NI_NAMEREQD);
        if (rc != 0) return std::nullopt;
        return std::string(host);
    }

    std::optional<IPv4> AddressOf(const std::string& name) override {
        if (name.empty() || name.find('\0') != std::string::npos) return std::nullopt;
        addrinfo hints{};
        hints.ai_family = AF_INET;
        hints.ai_socktype = SOCK_STREAM;
        addrinfo* list = nullptr;
        if (getaddrinfo(name.c_str(), nullptr, &hints, &list) != 0 || list == nullptr) return std::nullopt;
        std::optional<IPv4> result;
        for (const addrinfo* entry = list; entry != nullptr && !result; entry = entry->ai_next) {
            if (entry->ai_family != AF_INET || entry->ai_addr == nullptr) continue;
            const auto* in = reinterpret_cast<const sockaddr_in*>(entry->ai_addr);
            IPv4 bytes{};
            std::memcpy(bytes.data(), &in->sin_addr, bytes.size());
            result = bytes;
        }
        freeaddrinfo(list);
        return result;
    }
};

}  // namespace

std::shared_ptr<Resolver> SystemResolver() {
    static const std::shared_ptr<Resolver> platform = std::make_shared<PlatformResolver>();
    return platform;
}

std::shared_ptr<Resolver> ResolverOf(const ResolveState& state) {
    return state.resolver ? state.resolver : SystemResolver();
}
