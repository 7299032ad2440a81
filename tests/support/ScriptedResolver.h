#pragma once
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <thread>

#include "form/Resolver.h"

// A resolver whose answers, delays and blocking the test decides. Thread-safe: the dispatcher's
// workers call it concurrently. Keys not scripted find nothing.
class ScriptedResolver : public Resolver {
  public:
    // Reverse answer for an address (raw, as a DNS server might send it).
    void Name(const std::string& address, const std::string& name) {
        std::lock_guard<std::mutex> g(m_);
        names_[address] = name;
    }
    // Forward answer for a name, as dotted text.
    void Address(const std::string& name, const std::string& dotted) {
        std::lock_guard<std::mutex> g(m_);
        addresses_[name] = dotted;
    }
    void Delay(const std::string& key, std::chrono::milliseconds d) {
        std::lock_guard<std::mutex> g(m_);
        delays_[key] = d;
    }
    void DelayAll(std::chrono::milliseconds d) {
        std::lock_guard<std::mutex> g(m_);
        defaultDelay_ = d;
    }
    // A lookup of key blocks until Release(key).
    void Hold(const std::string& key) {
        std::lock_guard<std::mutex> g(m_);
        held_.insert(key);
    }
    void Release(const std::string& key) {
        {
            std::lock_guard<std::mutex> g(m_);
            held_.erase(key);
        }
        cv_.notify_all();
    }
    int Calls(const std::string& key) const {
        std::lock_guard<std::mutex> g(m_);
        const auto it = calls_.find(key);
        return it == calls_.end() ? 0 : it->second;
    }
    int TotalCalls() const {
        std::lock_guard<std::mutex> g(m_);
        int total = 0;
        for (const auto& [key, n] : calls_) total += n;
        return total;
    }
    int Finished() const {
        std::lock_guard<std::mutex> g(m_);
        return finished_;
    }
    // Runs on the calling thread before every lookup (tests on the window's thread use it to
    // press Cancel in the middle of a run).
    std::function<void(const std::string&)> onLookup;

    std::optional<std::string> HostNameOf(const std::string& address) override {
        return Answer(names_, address);
    }

    std::optional<IPv4> AddressOf(const std::string& name) override {
        const auto dotted = Answer(addresses_, name);
        unsigned a = 0, b = 0, c = 0, d = 0;
        if (!dotted || std::sscanf(dotted->c_str(), "%u.%u.%u.%u", &a, &b, &c, &d) != 4) return std::nullopt;
        return IPv4{static_cast<unsigned char>(a), static_cast<unsigned char>(b),
                    static_cast<unsigned char>(c), static_cast<unsigned char>(d)};
    }

  private:
    // Counts the call, waits as scripted, then answers from the given script.
    std::optional<std::string> Answer(const std::map<std::string, std::string>& answers,
                                      const std::string& key) {
        if (onLookup) onLookup(key);
        std::chrono::milliseconds delay;
        {
            std::unique_lock<std::mutex> g(m_);
            ++calls_[key];
            const auto it = delays_.find(key);
            delay = it == delays_.end() ? defaultDelay_ : it->second;
            cv_.wait(g, [&] { return held_.count(key) == 0; });
        }
        if (delay.count() > 0) std::this_thread::sleep_for(delay);
        std::lock_guard<std::mutex> g(m_);
        ++finished_;
        const auto it = answers.find(key);
        if (it == answers.end()) return std::nullopt;
        return it->second;
    }

    mutable std::mutex m_;
    std::condition_variable cv_;
    std::map<std::string, std::string> names_, addresses_;
    std::map<std::string, std::chrono::milliseconds> delays_;
    std::chrono::milliseconds defaultDelay_{0};
    std::set<std::string> held_;
    std::map<std::string, int> calls_;
    int finished_ = 0;
};
