#pragma once
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "resolve/LookupDoorbell.h"
#include "resolve/NameLookup.h"

// One worker's mailbox. The dispatcher and the worker hand a job back and forth through the
// atomic command and status words: the dispatcher writes the job, then command, then status 0;
// the worker acts only on status 0 with command 2, sets status 2, writes its answer and sets
// status 4 last, then rings the doorbell; the dispatcher reads the answer only after it has seen
// status 4. Slots and the doorbell are owned through shared_ptr, so a worker still stuck in a
// lookup when the program ends never writes into freed memory.
struct LookupSlot {
    enum Command : int { End = 0, Idle = 1, LookUp = 2, Abandoned = 8 };
    enum Status : int { Ready = 0, Working = 2, Finished = 4 };

    std::atomic<int> command{Idle};
    std::atomic<int> status{Ready};
    std::atomic<unsigned> beats{0};  // passes of the worker loop, to see that it is alive

    // Job and answer: written by the dispatcher before command/status, by the worker before
    // status 4. address in: the address to look up; out: the address found for a name.
    std::string address;
    std::string name;
    std::shared_ptr<const LookupFlags> flags;

    // Shared by all slots; set before the worker starts.
    std::shared_ptr<LookupDoorbell> doorbell;

    // The dispatcher's own bookkeeping, never touched by the worker.
    int row = 0;  // 1-based entry of the caller's table; 0 when the slot is free
    std::string givenAddress;
    std::chrono::steady_clock::time_point started;

    // The worker sleeps here while it has no job; commands are changed under the lock.
    std::mutex lock;
    std::condition_variable wake;

    // Sets command (and status 0 when given) and wakes the worker.
    void Send(int newCommand, bool resetStatus);
};

// The worker procedure: waits for a job, does one blocking lookup, reports, until told to end.
void IP2URL(std::shared_ptr<LookupSlot> slot);
