// The failure cache of the lookups as loaded from a file anyone may have edited (loading keeps
// the bytes as they are), then trimmed.
#include "FuzzForm.h"
#include "resolve/LookupCache.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FailureCache cache;
    cache.enabled = true;
    cache.text = fuzz::Bytes(data, size);
    const std::string kept = TrimFailureCache(cache.text);
    if (kept.size() > cache.text.size()) std::abort();
    InFailureCache(cache, "198.51.100.7");
    return 0;
}
