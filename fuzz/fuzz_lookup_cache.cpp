// The failure cache of the lookups, loaded from a file anyone may have edited, then trimmed.
#include "FuzzForm.h"
#include "resolve/LookupCache.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::TheProcess();
    fuzz::Form form;
    MainForm& F = form.F();
    fuzz::WriteFile(FailureCachePath(F), fuzz::Bytes(data, size));
    FailureCache cache;
    cache.enabled = true;
    if (LoadFailureCache(F, cache)) {
        const std::string kept = TrimFailureCache(cache.text);
        if (kept.size() > cache.text.size()) std::abort();
        InFailureCache(cache, "198.51.100.7");
    }
    return 0;
}
