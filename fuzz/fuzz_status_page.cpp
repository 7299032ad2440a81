// The router's status page: its WAN address and its clock, in both page families.
#include "FuzzForm.h"
#include "router/WanMonitor.h"
#include "syslog/SysLogPages.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::TheProcess();
    // One form per family for the whole run: reading the address keeps nothing from one page to
    // the next, and building a form per input would cost more than the reading.
    static fuzz::Form forms[2];
    const std::string page(fuzz::Bytes(data, size));
    for (const bool newFamily : {false, true}) {
        RouterClock(page, newFamily);
        MainForm& F = forms[newFamily ? 1 : 0].F();
        F.PW.Text = "admin";
        F.router.StatusURL = "http://192.168.1.1/Status.htm";
        F.router.NewFamily = newFamily;
        F.router.Pages = [&page](const std::string&) { return page; };
        GetWan(F);
    }
    return 0;
}
