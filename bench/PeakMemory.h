#pragma once
#include <sys/resource.h>

#include <fstream>
#include <string>

// The most resident memory this process has held so far, in KiB; it never goes down, so a
// figure taken after a step covers every step before it. Read as VmHWM from /proc/self/status:
// the same as getrusage's ru_maxrss, except that it starts afresh at exec, where ru_maxrss keeps
// the peak of the process that forked (a child started by a big benchmark would report its
// parent's size). Falls back on ru_maxrss where /proc is missing.
inline long PeakKiB() {
    std::ifstream status("/proc/self/status");
    std::string key;
    long kib = 0;
    while (status >> key) {
        if (key == "VmHWM:" && status >> kib) return kib;
        status.ignore(4096, '\n');
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}
