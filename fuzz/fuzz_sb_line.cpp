// The Stillbeacon line reader the comparison uses: every view must lie inside the line.
#include "FuzzForm.h"
#include "sblog/SbLineReader.h"

namespace {

void CheckInside(std::string_view line, std::string_view part) {
    if (part.empty()) return;
    if (part.data() < line.data() || part.data() + part.size() > line.data() + line.size()) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string line(fuzz::Bytes(data, size));  // its own allocation, so ASan sees overreads
    const SbRecordView r = ReadSbRecord(line, '\xA0');
    for (std::string_view part :
         {r.date, r.time, r.remote1, r.remote2, r.remotePort, r.localAddr, r.localPort})
        CheckInside(line, part);
    if ((r.direction != 0) != IsSbRecordLine(line)) std::abort();
    return 0;
}
