#include "resolve/RunLookups.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "form/Constants.h"
#include "form/MainForm.h"
#include "form/ProblemReport.h"
#include "resolve/DoneList.h"
#include "resolve/LookupDispatcher.h"
#include "text/AddressText.h"

namespace {

using SteadyClock = std::chrono::steady_clock;

// How long the dispatcher waiting for an answer goes without letting window events run.
constexpr std::chrono::milliseconds kEventsEvery{5};

class LookupRun {
  public:
    LookupRun(MainForm& F, LookupTable& table)
        : F(F),
          table(table),
          d(DispatcherOf(F.resolve)),
          w(F.resolve.fastLookUp),
          limit(F.resolve.LookupTimeLimit) {}

    int Run(int threads, bool winNT5, bool resolveNetBios, bool show, int left, int top) {
        try {
            Prepare(threads, winNT5, resolveNetBios, show, left, top);
            if (!Cancelled()) GiveOutAll();
            if (!Cancelled()) AwaitLastJobs();
            return Finish();
        } catch (const std::exception& e) {
            return Fail(e.what());
        }
    }

  private:
    bool Cancelled() const { return w.CancelRequested || F.QuitRequested; }

    void Prepare(int threads, bool winNT5, bool resolveNetBios, bool show, int left, int top) {
        trc = 1;
        auto runFlags = std::make_shared<LookupFlags>(LookupFlagsOf(F));
        runFlags->WinNT5 = winNT5;
        runFlags->ResolveNetBios = resolveNetBios;
        flags = std::move(runFlags);
        trc = 2;
        d.Initialize(threads);
        w.Indicators.assign(static_cast<size_t>(d.WorkerCount), FastLookUp::Unused);
        w.LStatus = {};
        w.LStatus[FastLookUp::Entries] = static_cast<long>(table.size());
        w.LrecentIPs.clear();
        w.BQuit.Caption = "&Cancel";
        w.BQuit.Enabled = true;
        trc = 3;
        if (show) {
            if (left >= 0 && top >= 0) {
                w.Left = left;
                w.Top = top;
            }
            w.Visible = true;
        }
        trc = 4;
        d.FreeCount = 0;
        for (j = 0; j < d.WorkerCount && !Cancelled(); ++j) PrepareSlot(j);
        UpdateBusy();
    }

    void PrepareSlot(int k) {
        LookupSlot& slot = *d.LookupSlots[static_cast<size_t>(k)];
        if (slot.row >= 1) {
            // A lookup of an earlier run that was cancelled or abandoned: its worker is busy
            // until it returns, and its answer belongs to no entry of this table.
            if (slot.status.load(std::memory_order_acquire) != LookupSlot::Finished) return;
            FreeSlot(k);
            return;
        }
        slot.address.clear();
        slot.name.clear();
        if (slot.command.load(std::memory_order_acquire) == LookupSlot::End)
            slot.Send(LookupSlot::Idle, true);
        clsMultiThread& worker = *d.Workers[static_cast<size_t>(k)];
        if (!worker.Created()) {
            std::shared_ptr<LookupSlot> owned = d.LookupSlots[static_cast<size_t>(k)];
            if (!worker.CreateNewThread([owned] { IP2URL(owned); })) {
                throw std::runtime_error("cannot start a lookup worker");
            }
        }
        d.FreeList[static_cast<size_t>(d.FreeCount++)] = k;
    }

    void GiveOutAll() {
        trc = 6;
        for (i = 1; i <= static_cast<int>(table.size()); ++i) {
            LookupEntry& entry = table[static_cast<size_t>(i - 1)];
            for (;;) {
                if (Cancelled()) return;
                if (d.FreeCount < d.WorkerCount) SlotCheck();
                if (entry.name.size() >= 2 && entry.name != entry.address) break;
                if (TakeFromDoneList(entry)) break;
                if (InFlight(entry.address)) {
                    // Its answer is on the way: asking again would look the address up twice.
                    deferred.push_back(i);
                    break;
                }
                if (d.FreeCount > 0) {
                    GiveOut(d.FreeList[static_cast<size_t>(--d.FreeCount)], entry.address);
                    break;
                }
                AwaitAnswer();
            }
        }
        trc = 7;
        for (const int row : deferred) {
            i = row;
            LookupEntry& entry = table[static_cast<size_t>(row - 1)];
            for (;;) {
                if (Cancelled()) return;
                SlotCheck();
                if (TakeFromDoneList(entry) || !InFlight(entry.address)) break;
                AwaitAnswer();
            }
        }
    }

    // An address this run has finished with: the entry gets the name found then.
    bool TakeFromDoneList(LookupEntry& entry) {
        const auto known = done.Find(entry.address);
        if (!known) return false;
        ++w.LStatus[FastLookUp::Skipped];
        entry.name = *known;
        ++w.LStatus[known->empty() ? FastLookUp::Failed : FastLookUp::Found];
        return true;
    }

    bool InFlight(const std::string& address) const {
        for (const auto& slot : d.LookupSlots) {
            if (slot->row >= 1 && slot->givenAddress == address &&
                slot->command.load(std::memory_order_acquire) == LookupSlot::LookUp) {
                return true;
            }
        }
        return false;
    }

    void GiveOut(int k, const std::string& address) {
        j = k;
        LookupSlot& slot = *d.LookupSlots[static_cast<size_t>(k)];
        slot.row = i;
        slot.givenAddress = address;
        slot.address = address;
        slot.name.clear();
        slot.flags = flags;
        slot.started = SteadyClock::now();
        slot.Send(LookupSlot::LookUp, true);
        w.Indicators[static_cast<size_t>(k)] = FastLookUp::Running;
        ++w.LStatus[FastLookUp::GivenOut];
        UpdateBusy();
        F.ui.DoEvents();
    }

    // Returns once a worker has finished since the last SlotCheck, or after 50 ms at most so the
    // time limits are still checked. Window events run every few milliseconds meanwhile, also
    // while answers keep coming.
    void AwaitAnswer() {
        const auto deadline = SteadyClock::now() + std::chrono::milliseconds(50);
        for (;;) {
            const auto now = SteadyClock::now();
            if (now - lastEvents >= kEventsEvery) {
                F.ui.DoEvents();
                lastEvents = now;
                if (Cancelled()) return;
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now);
            if (left.count() <= 0) return;
            if (d.Doorbell->WaitForRing(ringsSeen, std::min(left, kEventsEvery))) return;
        }
    }

    // Collects finished lookups, abandons those over the time limit, frees their slots.
    void SlotCheck() {
        // Noted before the slots are read: a worker finishing meanwhile rings after this.
        ringsSeen = d.Doorbell->Rings();
        ++w.LActivity;
        for (j = 0; j < d.WorkerCount; ++j) {
            LookupSlot& slot = *d.LookupSlots[static_cast<size_t>(j)];
            if (slot.row < 1) continue;
            const int command = slot.command.load(std::memory_order_acquire);
            const int status = slot.status.load(std::memory_order_acquire);
            if (status == LookupSlot::Finished) {
                if (command != LookupSlot::Abandoned) TakeAnswer(slot, j);
                FreeSlot(j);
            } else if (command == LookupSlot::LookUp) {
                CheckRunning(slot, j);
            }
        }
        UpdateBusy();
        done.Trim();
    }

    void CheckRunning(LookupSlot& slot, int k) {
        w.LrecentIPs = slot.givenAddress + "  |  " + w.LrecentIPs.substr(0, 50);
        if (SteadyClock::now() - slot.started <= limit) return;
        slot.Send(LookupSlot::Abandoned, false);
        ++w.LStatus[FastLookUp::Failed];
        w.Indicators[static_cast<size_t>(k)] = FastLookUp::GivenUp;
        done.Add(slot.givenAddress, "");
    }

    void TakeAnswer(LookupSlot& slot, int k) {
        w.Indicators[static_cast<size_t>(k)] = FastLookUp::Done;
        const std::string name = LowerCase(slot.name);
        ++w.LStatus[name.size() >= 2 ? FastLookUp::Found : FastLookUp::Failed];
        if (slot.row <= static_cast<int>(table.size())) table[static_cast<size_t>(slot.row - 1)].name = name;
        if (!done.Contains(slot.givenAddress)) done.Add(slot.givenAddress, name);
    }

    void FreeSlot(int k) {
        LookupSlot& slot = *d.LookupSlots[static_cast<size_t>(k)];
        slot.address.clear();
        slot.name.clear();
        slot.givenAddress.clear();
        slot.flags.reset();
        slot.row = 0;
        slot.Send(LookupSlot::Idle, true);
        d.FreeList[static_cast<size_t>(d.FreeCount++)] = k;
    }

    int RunningJobs() const {
        int running = 0;
        for (const auto& slot : d.LookupSlots) {
            if (slot->row >= 1 && slot->command.load(std::memory_order_acquire) == LookupSlot::LookUp)
                ++running;
        }
        return running;
    }

    void AwaitLastJobs() {
        trc = 8;
        w.BQuit.Enabled = false;
        w.BQuit.Caption = "Waiting";
        while (RunningJobs() > 0 && !Cancelled()) {
            SlotCheck();
            if (RunningJobs() == 0) break;
            AwaitAnswer();
        }
    }

    // Answers that arrived are still taken; lookups still running are left to finish on their
    // own, and their answers will be dropped.
    void SettleSlots() {
        SlotCheck();
        for (const auto& slot : d.LookupSlots) {
            if (slot->row >= 1 && slot->command.load(std::memory_order_acquire) == LookupSlot::LookUp) {
                slot->Send(LookupSlot::Abandoned, false);
            }
        }
    }

    int Finish() {
        trc = 9;
        SettleSlots();
        const int result = Cancelled() ? 1 : 0;
        RestoreWindow();
        return result;
    }

    void RestoreWindow() {
        w.BQuit.Caption = "&Cancel";
        w.BQuit.Enabled = true;
        w.CancelRequested = false;
        w.Visible = false;
    }

    int Fail(const std::string& description) {
        const std::string text =
            "FastLookup error: 1,  " + description + " i=" + std::to_string(i) + " j=" + std::to_string(j) +
            " flinit=" + (d.Initialized() ? "True" : "False") + " trc=" + std::to_string(trc) +
            " fptr=" + std::to_string(d.FreeCount) + " ubound=" + std::to_string(d.FreeList.size());
        RestoreWindow();
        ReportProblem(F, text, MsgIcon::Critical, MsgButtons::OK, drovix::ErrorTitle);
        return 1;
    }

    void UpdateBusy() { w.LStatus[FastLookUp::Busy] = d.WorkerCount - d.FreeCount; }

    MainForm& F;
    LookupTable& table;
    LookupDispatcher& d;
    FastLookUp& w;
    std::chrono::milliseconds limit;
    std::shared_ptr<const LookupFlags> flags;
    DoneList done;
    std::vector<int> deferred;  // entries whose address was being looked up when their turn came
    int i = 0, j = 0, trc = 0;
    unsigned ringsSeen = 0;              // the doorbell's count when the slots were last read
    SteadyClock::time_point lastEvents;  // when AwaitAnswer last let window events run
};

}  // namespace

int RunLookups(MainForm& F, LookupTable& table, int threads, bool winNT5, bool resolveNetBios, bool show,
               int left, int top, int /*unusedPosition*/) {
    return LookupRun(F, table).Run(threads, winNT5, resolveNetBios, show, left, top);
}
