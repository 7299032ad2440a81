// The Incoming and Outgoing table parser: an incoming page and an outgoing page, cut at the
// input's first NUL byte, read into the two lists.
#include "FuzzForm.h"
#include "stdlog/CopyData.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::TheProcess();
    fuzz::Form form;
    MainForm& F = form.F();
    const auto [in, out] = fuzz::Halves(fuzz::Bytes(data, size));
    CopyData(F, F.InLog, 2, in);
    CopyData(F, F.OutLog, 2, out);
    return 0;
}
