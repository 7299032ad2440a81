#pragma once
#include <array>
#include <chrono>
#include <memory>
#include <string>
#include <utility>

#include "form/FastLookUp.h"
#include "form/Resolver.h"

struct LookupDispatcher;

// The last lookups of this program run, successes and failures alike, answering both ways.
// Entries are only ever appended; once full, new results are simply not kept.
struct RecentLookups {
    static constexpr int Capacity = 256;
    std::array<std::pair<std::string, std::string>, Capacity> entries;  // (key, result)
    int RecentCount = 0;
};

// What name resolution keeps for the life of the program.
struct ResolveState {
    // The resolver every lookup goes through; tests put a scripted one here. Unset: the system
    // resolver.
    std::shared_ptr<Resolver> resolver;
    // A concurrent lookup running longer than this is abandoned.
    std::chrono::milliseconds LookupTimeLimit{8000};
    RecentLookups recent;
    FastLookUp fastLookUp;
    // The lookup workers, made at the first concurrent run. Declared last so the workers are ended
    // before anything above goes away.
    std::shared_ptr<LookupDispatcher> dispatcher;
};
