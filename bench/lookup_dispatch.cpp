// Times the concurrent lookup dispatcher: 1,000 distinct addresses through a resolver that takes
// 200 ms per answer, with 120 workers and with 30, beside the ideal of whole waves of workers.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <chrono>
#include <cstdio>

#include "ScriptedResolver.h"
#include "form/MainForm.h"
#include "form/SilentFrontend.h"
#include "resolve/RunLookups.h"

namespace {

void Measure(int workers, int addresses, std::chrono::milliseconds delay) {
    SilentFrontend frontend;
    SystemClock clock;
    MainForm F(frontend, clock);
    // Answers every reverse lookup after a fixed delay, as a slow DNS server would.
    auto resolver = std::make_shared<ScriptedResolver>();
    resolver->DelayAll(delay);
    LookupTable table;
    for (int i = 0; i < addresses; ++i) {
        const std::string address = "10." + std::to_string(i / 65536) + "." + std::to_string(i / 256 % 256) +
                                    "." + std::to_string(i % 256);
        resolver->Name(address, "host-" + address + ".example");
        table.push_back({address, ""});
    }
    F.resolve.resolver = resolver;
    QElapsedTimer timer;
    timer.start();
    const int result = RunLookups(F, table, workers, true, false, false);
    const qint64 elapsed = timer.elapsed();
    int named = 0;
    for (const auto& entry : table) named += entry.name.empty() ? 0 : 1;
    const long long waves = (addresses + workers - 1) / workers;
    const long long ideal = waves * delay.count();
    std::printf(
        "%3d workers: %d addresses, %d named, result %d: %lld ms (ideal %lld ms = %lld x %lld ms, %+.1f%%)\n",
        workers, addresses, named, result, static_cast<long long>(elapsed), ideal, waves,
        static_cast<long long>(delay.count()), 100.0 * (static_cast<double>(elapsed) - ideal) / ideal);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    using namespace std::chrono_literals;
    Measure(120, 1000, 200ms);
    Measure(30, 1000, 200ms);
    return 0;
}
