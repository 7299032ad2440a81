#include "resolve/DoneList.h"

void DoneList::Add(const std::string& address, const std::string& name) {
    text_ = "\t" + address + "\n" + name + text_;
}

std::optional<std::string> DoneList::Find(const std::string& address) const {
    const std::string key = "\t" + address + "\n";
    const size_t at = text_.find(key);
    if (at == std::string::npos) return std::nullopt;
    const size_t nameStart = at + key.size();
    const size_t nameEnd = text_.find('\t', nameStart);
    return text_.substr(nameStart, nameEnd == std::string::npos ? std::string::npos : nameEnd - nameStart);
}

void DoneList::Trim() {
    if (text_.size() < TrimAt) return;
    const size_t tab = text_.find('\t', KeepFrom - 1);
    if (tab != std::string::npos) text_.resize(tab + 1);
}
