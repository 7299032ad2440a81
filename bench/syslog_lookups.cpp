// Times a whole System Log refresh against drovix-routersim (10 pages of 100 lines, inbound
// records from 1,000 distinct addresses) with every name looked up through a scripted resolver
// that takes 200 ms per answer, with 120 workers and with 30. The lookups' share is the refresh
// with names less the same refresh without them; the ideal is whole waves of workers,
// ceil(1000 / workers) x 200 ms. Prints its figures; not a test.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>

#include "RouterSim.h"
#include "RouterSysLogForm.h"
#include "ScriptedResolver.h"
#include "app/RunCycle.h"
#include "form/SysLogRecord.h"

namespace {

using namespace std::chrono_literals;

constexpr int kAddresses = 1000;
constexpr int kPageLines = 100;  // 10 pages, the most a refresh reads
constexpr auto kAnswerDelay = 200ms;

std::string Remote(int i) {
    return "198.18." + std::to_string(i / 256) + "." + std::to_string(i % 256);
}

// One inbound line per address, a second apart, oldest first, all before the router's clock.
std::string Lines() {
    std::string text;
    for (int i = 0; i < kAddresses; ++i) {
        const int secs = 10 * 3600 + i;
        char stamp[32];
        std::snprintf(stamp, sizeof stamp, "2026-12-06 %02d:%02d:%02d", secs / 3600, secs / 60 % 60,
                      secs % 60);
        text += std::string(stamp) + " TCP from " + Remote(i) + ":" + std::to_string(1024 + i) +
                " to 127.0.0.100:80\n";
    }
    return text;
}

// The scripted resolver, noting when the first lookup began and the last one answered.
class TimedResolver : public ScriptedResolver {
  public:
    std::optional<std::string> HostNameOf(const std::string& address) override {
        const qint64 start = Now();
        qint64 none = -1;
        first_.compare_exchange_strong(none, start);
        auto answer = ScriptedResolver::HostNameOf(address);
        last_.store(std::max(last_.load(), Now()));
        return answer;
    }
    // Milliseconds from the first lookup's start to the last answer.
    qint64 SpanMs() const { return last_.load() - first_.load(); }

  private:
    static qint64 Now() {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }
    std::atomic<qint64> first_{-1}, last_{0};
};

struct Refresh {
    qint64 ms = 0;
    int rows = 0, named = 0;
    qint64 resolverSpanMs = 0;
    bool failed = false;
};

Refresh RunRefresh(RouterSim& sim, int workers, bool names) {
    RouterSysLogForm t(sim);
    MainForm& F = t.F();
    F.CompSB.Value = false;
    auto resolver = std::make_shared<TimedResolver>();
    for (int i = 0; i < kAddresses; ++i) resolver->Name(Remote(i), "host" + std::to_string(i) + ".example");
    resolver->DelayAll(kAnswerDelay);
    F.resolve.resolver = resolver;
    F.ConvertIPInEffect = names;
    F.LookupThreads = workers;

    QElapsedTimer timer;
    timer.start();
    BRun_Click(F);
    Refresh r;
    r.ms = timer.elapsed();
    r.failed = !t.frontend.messages.empty();
    for (int row = 1; row < F.SysLog.Rows(); ++row) {
        if (F.SysLog.TextMatrix(row, SysLogRecord::Dir) != "I") continue;
        ++r.rows;
        if (F.SysLog.TextMatrix(row, SysLogRecord::RemURL).rfind("host", 0) == 0) ++r.named;
    }
    if (names) r.resolverSpanMs = resolver->SpanMs();
    return r;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    RouterSim sim({"--page-lines", std::to_string(kPageLines)}, SysLogRecords(Lines()));
    if (!sim.Started()) {
        std::printf("drovix-routersim did not start: %s\n", sim.Error().c_str());
        return 1;
    }
    std::printf(
        "System Log refresh: %d pages x %d lines from drovix-routersim, %d distinct addresses, "
        "%lld ms per answer\n",
        kAddresses / kPageLines, kPageLines, kAddresses, static_cast<long long>(kAnswerDelay.count()));
    RunRefresh(sim, 2, false);  // the first refresh also pays for starting up: not counted
    for (const int workers : {120, 30}) {
        const Refresh plain = RunRefresh(sim, workers, false);
        const Refresh named = RunRefresh(sim, workers, true);
        const long long waves = (kAddresses + workers - 1) / workers;
        const long long ideal = waves * kAnswerDelay.count();
        const qint64 lookups = named.ms - plain.ms;
        std::printf(
            "%3d workers: refresh %lld ms (without names %lld ms); lookups %lld ms, ideal %lld ms "
            "(%lld x %lld ms), ratio %.3f; resolver busy %lld ms; %d inbound rows, %d named%s\n",
            workers, static_cast<long long>(named.ms), static_cast<long long>(plain.ms),
            static_cast<long long>(lookups), ideal, waves, static_cast<long long>(kAnswerDelay.count()),
            static_cast<double>(lookups) / static_cast<double>(ideal),
            static_cast<long long>(named.resolverSpanMs), named.rows, named.named,
            plain.failed || named.failed ? " (a message was shown!)" : "");
    }
    return 0;
}
