#include "resolve/LookupSlot.h"

void LookupSlot::Send(int newCommand, bool resetStatus) {
    {
        std::lock_guard<std::mutex> guard(lock);
        command.store(newCommand, std::memory_order_release);
        if (resetStatus) status.store(Ready, std::memory_order_release);
    }
    wake.notify_one();
}

namespace {

// Status 4 first, so the dispatcher woken by the bell sees it.
void ReportFinished(LookupSlot& slot) {
    slot.status.store(LookupSlot::Finished, std::memory_order_release);
    if (slot.doorbell) slot.doorbell->Ring();
}

struct Job {
    std::string address, name;
    std::shared_ptr<const LookupFlags> flags;
};

// Blocks until there is something to do. Returns false when the worker is to end; otherwise
// fills job, or leaves it empty when the job was abandoned before it began.
bool WaitForJob(LookupSlot& slot, std::optional<Job>& job) {
    std::unique_lock<std::mutex> guard(slot.lock);
    int command = LookupSlot::Idle;
    slot.wake.wait(guard, [&] {
        command = slot.command.load(std::memory_order_acquire);
        if (command == LookupSlot::End) return true;
        return slot.status.load(std::memory_order_acquire) == LookupSlot::Ready &&
               (command == LookupSlot::LookUp || command == LookupSlot::Abandoned);
    });
    if (command == LookupSlot::End) return false;
    if (command == LookupSlot::Abandoned) {
        // Given up before it started: report it finished so the dispatcher frees the slot.
        ReportFinished(slot);
        job.reset();
        return true;
    }
    slot.status.store(LookupSlot::Working, std::memory_order_release);
    job = Job{slot.address, slot.name, slot.flags};
    return true;
}

}  // namespace

void IP2URL(std::shared_ptr<LookupSlot> slot) {
    for (;;) {
        slot->beats.fetch_add(1, std::memory_order_relaxed);
        std::optional<Job> job;
        if (!WaitForJob(*slot, job)) return;
        if (!job) continue;
        std::string name = job->name, address = job->address;
        if (job->flags) {
            if (!address.empty()) {
                name = ResolveName(*job->flags, address);
            } else {
                address = ResolveAddr(*job->flags, name);
            }
        }
        slot->name = std::move(name);
        slot->address = std::move(address);
        ReportFinished(*slot);
        if (slot->command.load(std::memory_order_acquire) == LookupSlot::End) return;
    }
}
