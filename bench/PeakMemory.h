#pragma once
#include <sys/resource.h>

// The most resident memory this process has held so far, in KiB (Linux's unit for ru_maxrss).
// It never goes down: a figure taken after a step covers every step before it.
inline long PeakKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}
