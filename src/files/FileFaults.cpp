#include "files/FileFaults.h"

#include <atomic>

namespace {

std::atomic<FileFaults*> injected{nullptr};

}  // namespace

FileFaults* InjectFileFaults(FileFaults* faults) {
    return injected.exchange(faults);
}

int InjectedFault(FileCall call, std::string_view path) {
    FileFaults* faults = injected.load();
    return faults != nullptr ? faults->Fault(call, path) : 0;
}
