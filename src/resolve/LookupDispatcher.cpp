#include "resolve/LookupDispatcher.h"

#include <algorithm>

LookupDispatcher& DispatcherOf(ResolveState& state) {
    if (!state.dispatcher) state.dispatcher = std::make_shared<LookupDispatcher>();
    return *state.dispatcher;
}

void LookupDispatcher::Initialize(int threads) {
    if (Initialized()) return;
    WorkerCount = threads <= 0 ? DefaultWorkers : std::min(threads, MaxWorkers);
    FreeList.assign(static_cast<size_t>(WorkerCount), 0);
    FreeCount = 0;
    LookupSlots.clear();
    Workers.clear();
    for (int k = 0; k < WorkerCount; ++k) {
        LookupSlots.push_back(std::make_shared<LookupSlot>());
        LookupSlots.back()->doorbell = Doorbell;
        Workers.push_back(std::make_unique<clsMultiThread>());
    }
}

LookupDispatcher::~LookupDispatcher() {
    for (size_t k = 0; k < Workers.size(); ++k) {
        LookupSlot& slot = *LookupSlots[k];
        bool inLookup = false;
        {
            // Under the slot's lock a worker either has already claimed its job (and may be
            // blocked in the resolver) or will see the end command before it claims one.
            std::lock_guard<std::mutex> guard(slot.lock);
            slot.command.store(LookupSlot::End, std::memory_order_release);
            inLookup = slot.status.load(std::memory_order_acquire) == LookupSlot::Working;
        }
        slot.wake.notify_one();
        if (inLookup) {
            Workers[k]->Release();
        } else {
            Workers[k]->Join();
        }
    }
}
