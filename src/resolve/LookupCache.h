#pragma once
#include <string>
#include <string_view>

#include "form/ResolveState.h"

struct MainForm;

// The text standing for "looked up, nothing found"; the empty text means "not looked up".
inline const std::string NotFound(1, '\0');

// The partner of the first entry whose key or result equals key (exact, case-sensitive); "" when
// none does.
std::string CacheLookup(const RecentLookups& recent, const std::string& key);
std::string CacheLookup(const MainForm& F, const std::string& key);
void RecordLookup(RecentLookups& recent, const std::string& key, const std::string& result);

// "IPcache.txt": every address or name whose lookup found nothing, one per CR LF line, oldest
// first. Held whole in memory for one conversion run and written back only when it grew.
struct FailureCache {
    bool enabled = false;  // "Cache failures" was checked when the run began
    std::string text;
    bool changed = false;
};

inline constexpr size_t FailureCacheKeep = 80000;

std::string FailureCachePath(const MainForm& F);
// Plain substring test, not bounded by line breaks: a listed 10.1.2.34 also covers 10.1.2.3.
bool InFailureCache(const FailureCache& cache, std::string_view text);
void AppendFailure(FailureCache& cache, const std::string& text);
// The newest entries, about the last 80,000 characters, always starting at a line.
std::string TrimFailureCache(const std::string& text);

// Both answer false after telling the person "Error <n> in 'ConvertAddr' opening cache file".
// A missing file loads as an empty cache. Saving replaces the file atomically, and only when the
// cache changed.
bool LoadFailureCache(MainForm& F, FailureCache& cache);
bool SaveFailureCache(MainForm& F, const FailureCache& cache);
