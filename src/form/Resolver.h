#pragma once
#include <array>
#include <memory>
#include <optional>
#include <string>

// The two questions Drovix asks of DNS. Lookups block, and the concurrent dispatcher asks them
// from many worker threads at once, so every implementation must be safe to call from any
// thread. Tests put a scripted resolver in its place; the program uses the system resolver.
class Resolver {
  public:
    using IPv4 = std::array<unsigned char, 4>;

    virtual ~Resolver() = default;
    // Reverse lookup of a dotted IPv4 address: the host name as the resolver gave it (raw
    // bytes, not yet cleaned), or nothing when no name was found or the lookup failed.
    virtual std::optional<std::string> HostNameOf(const std::string& dottedAddress) = 0;
    // Forward lookup: the first IPv4 address of the name (first octet first), or nothing.
    virtual std::optional<IPv4> AddressOf(const std::string& name) = 0;
};
