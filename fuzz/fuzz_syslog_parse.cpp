// A Stillbeacon day-file line read into a System Log record.
#include "FuzzForm.h"
#include "form/SysLogRecord.h"
#include "syslog/SbLineParser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    SysLogRecord record;
    SysLogParse(fuzz::Bytes(data, size), record);
    return 0;
}
