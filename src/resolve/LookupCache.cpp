#include "resolve/LookupCache.h"

#include "files/FileBytes.h"
#include "form/Constants.h"
#include "form/MainForm.h"
#include "form/ProblemReport.h"

std::string CacheLookup(const RecentLookups& recent, const std::string& key) {
    for (int i = 0; i < recent.RecentCount; ++i) {
        const auto& [k, result] = recent.entries[static_cast<size_t>(i)];
        if (k == key) return result;
        if (result == key) return k;
    }
    return {};
}

std::string CacheLookup(const MainForm& F, const std::string& key) {
    return CacheLookup(F.resolve.recent, key);
}

void RecordLookup(RecentLookups& recent, const std::string& key, const std::string& result) {
    if (recent.RecentCount >= RecentLookups::Capacity) return;
    recent.entries[static_cast<size_t>(recent.RecentCount)] = {key, result};
    ++recent.RecentCount;
}

std::string FailureCachePath(const MainForm& F) {
    return F.ProgramDir + "IPcache.txt";
}

bool InFailureCache(const FailureCache& cache, std::string_view text) {
    return cache.enabled && !text.empty() && cache.text.find(text) != std::string::npos;
}

void AppendFailure(FailureCache& cache, const std::string& text) {
    if (!cache.enabled) return;
    cache.text += text + "\r\n";
    cache.changed = true;
}

std::string TrimFailureCache(const std::string& text) {
    if (text.size() <= FailureCacheKeep) return text;
    // The first line break whose CR stands at or after position n - 80,000 (counted from 1).
    const size_t from = text.size() - FailureCacheKeep - 1;
    const size_t lineBreak = text.find("\r\n", from);
    return lineBreak == std::string::npos ? std::string() : text.substr(lineBreak + 2);
}

namespace {

bool CacheFileError(MainForm& F, int errorNumber, const std::string& reason) {
    ReportProblem(F,
                  "Error " + std::to_string(errorNumber) + " in 'ConvertAddr' opening cache file " +
                      FileInFolder(F.ProgramDir, "IPcache.txt", reason),
                  MsgIcon::Critical, MsgButtons::OK, drovix::ErrorTitle);
    return false;
}

}  // namespace

bool LoadFailureCache(MainForm& F, FailureCache& cache) {
    cache.text.clear();
    cache.changed = false;
    if (!cache.enabled) return true;
    const FileRead read = ReadFileBytes(FailureCachePath(F), cache.text);
    if (read || read.Missing()) return true;
    cache.text.clear();
    return CacheFileError(F, read.errorNumber, read.error);
}

bool SaveFailureCache(MainForm& F, const FailureCache& cache) {
    if (!cache.enabled || !cache.changed) return true;
    const std::string kept = TrimFailureCache(cache.text);
    int errorNumber = 0;
    std::string error;
    // On failure nothing was renamed: the old file stays as it was.
    if (!SaveFileAtomically(FailureCachePath(F), kept, &error, &errorNumber))
        return CacheFileError(F, errorNumber, error);
    return true;
}
