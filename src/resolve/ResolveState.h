#pragma once
#include <chrono>
#include <memory>

#include "resolve/FastLookUp.h"
#include "resolve/LookupCache.h"
#include "resolve/LookupDispatcher.h"
#include "resolve/Resolver.h"

// What name resolution keeps for the life of the program.
struct ResolveState {
    // The resolver every lookup goes through; tests put a scripted one here.
    std::shared_ptr<Resolver> resolver = MakeSystemResolver();
    // A concurrent lookup running longer than this is abandoned.
    std::chrono::milliseconds LookupTimeLimit{8000};
    RecentLookups recent;
    FastLookUp fastLookUp;
    // Declared last so its workers are ended before anything above goes away.
    LookupDispatcher dispatcher;
};
