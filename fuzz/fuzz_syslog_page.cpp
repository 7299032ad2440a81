// The System Log page cutter of every layout, then each line it cut through the date repair and
// the router line parser, with a WAN address learnt along the page.
#include "FuzzForm.h"
#include "form/SysLogRecord.h"
#include "syslog/RouterDate.h"
#include "syslog/RouterLineParser.h"
#include "syslog/SysLogPageCutter.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view page = fuzz::Bytes(data, size);
    for (SysLogKind kind : {SysLogKind::NewFamily, SysLogKind::NoFirewallWord, SysLogKind::Standard}) {
        const SysLogLayout layout = LayoutFor(kind);
        std::string lastDate = "2026-12-05", wan;
        for (std::string line : CutSysLogPage(page, layout.anchor, layout.marker)) {
            if (!RepairRouterDate(line, lastDate, "2026-12-06")) continue;
            const SysLogRecord r = ParseRouterLine(line, "192.168.1.", wan);
            if (r[SysLogRecord::RowTag] != "R") std::abort();
        }
    }
    // Lines as they are, without a page around them.
    std::string wan;
    ParseRouterLine(page, "192.168.1.", wan);
    return 0;
}
