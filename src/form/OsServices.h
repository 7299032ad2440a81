#pragma once
#include <string>
#include <vector>

class QDateTime;

// What Drovix asks of the operating system.

// Router address guess from this computer's IPv4 addresses (in the platform's order).
std::string LocalIPAddresses();
// The same rule applied to a given address list, so it can be tested without real adapters.
std::string GuessRouterAddress(const std::vector<std::string>& adapterAddresses);

// Whether the DNS-only resolver may be used; it always exists in this program.
bool WinVer();

// Minutes to add to local time to obtain UTC, right now (local + result = UTC).
int GetUTC(int kind = 0);
// The same for a given moment, with the offset that holds in its time zone then.
int GetUTCAt(const QDateTime& local);
// The moments (seconds since 1970 UTC), earliest first, at which this computer's clock showed a
// local date and time, given as seconds since 1970-01-01 00:00:00 on the clock's own face. One as
// a rule; two in the hour that repeats when summer time ends. A time the clock skipped when summer
// time began reads as a clock not yet put forward would show it.
std::vector<long long> LocalTimeMoments(long long wallSeconds);

// The text up to its first character of code 0.
std::string TrimNull(const std::string& text);

// Pauses ms milliseconds (below 1: 50 ms; above 6,000,000: 60,000 ms). On the thread of the
// application object, window events keep running during the pause; other threads just sleep.
void WaitMs(int ms);
// The clamped duration WaitMs really waits.
int WaitMsDuration(int ms);
