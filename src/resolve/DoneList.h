#pragma once
#include <optional>
#include <string>

// The addresses one dispatcher run has finished with and the names found, so that an address
// standing in several entries is looked up once. Kept as one text, newest entry first: a tab,
// then per entry the address, a line feed and the name, each name followed by a tab.
class DoneList {
  public:
    static constexpr size_t TrimAt = 30001;
    static constexpr size_t KeepFrom = 29800;

    void Add(const std::string& address, const std::string& name);
    // The name stored for address ("" when its lookup failed), or nothing when it is not listed.
    std::optional<std::string> Find(const std::string& address) const;
    bool Contains(const std::string& address) const { return Find(address).has_value(); }
    // Drops the oldest entries once the text reached 30,001 characters: keeps it up to and
    // including the first tab at or after position 29,800.
    void Trim();
    const std::string& Text() const { return text_; }

  private:
    std::string text_ = "\t";
};
