// The failure cache of the lookups as loaded from a file anyone may have edited (loading keeps
// the bytes as they are), then trimmed. Inputs are short, so an input whose first byte is odd is
// repeated past the size at which trimming starts.
#include "FuzzForm.h"
#include "resolve/LookupCache.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FailureCache cache;
    cache.enabled = true;
    cache.text = fuzz::Bytes(data, size);
    if (size > 0 && (data[0] & 1) != 0) {
        while (cache.text.size() <= FailureCacheKeep) cache.text += fuzz::Bytes(data, size);
    }
    const std::string kept = TrimFailureCache(cache.text);
    // What is kept is the newest part of the cache, whole lines only.
    if (kept.size() > cache.text.size() || !cache.text.ends_with(kept)) std::abort();
    if (!kept.empty() && kept.size() < cache.text.size() && !cache.text.ends_with("\r\n" + kept))
        std::abort();
    InFailureCache(cache, "198.51.100.7");
    return 0;
}
