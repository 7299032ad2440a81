#pragma once
#include <memory>
#include <vector>

#include "form/Constants.h"
#include "form/ResolveState.h"
#include "resolve/LookupSlot.h"
#include "resolve/clsMultiThread.h"

// The lookup workers and their slots, kept from the first concurrent run to the end of the
// program. Only the window's thread touches this object; the workers see their own slot.
struct LookupDispatcher {
    LookupDispatcher() = default;
    LookupDispatcher(const LookupDispatcher&) = delete;
    LookupDispatcher& operator=(const LookupDispatcher&) = delete;
    // Tells every worker to end and waits for it, except a worker stuck in a lookup, which is let
    // go: it owns its slot and its flags, so it can finish later without harm.
    ~LookupDispatcher();

    static constexpr int DefaultWorkers = 30;
    static constexpr int MaxWorkers = drovix::MaxLookupThreads;

    bool Initialized() const { return WorkerCount > 0; }
    // Sets the worker count once: threads, 30 for 0 or less, at most 120.
    void Initialize(int threads);

    int WorkerCount = 0;
    int FreeCount = 0;
    std::vector<int> FreeList;  // idle slot numbers; entries [0, FreeCount) are valid
    std::vector<std::shared_ptr<LookupSlot>> LookupSlots;
    std::vector<std::unique_ptr<clsMultiThread>> Workers;
    std::shared_ptr<LookupDoorbell> Doorbell = std::make_shared<LookupDoorbell>();
};

// The form's dispatcher, made at its first use.
LookupDispatcher& DispatcherOf(ResolveState& state);
