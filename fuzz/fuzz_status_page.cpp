// The router's status page: its WAN address and its clock, in both page families.
#include "FuzzForm.h"
#include "router/WanMonitor.h"
#include "syslog/SysLogPages.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::TheProcess();
    const std::string page(fuzz::Bytes(data, size));
    for (const bool newFamily : {false, true}) {
        RouterClock(page, newFamily);
        fuzz::Form form;
        MainForm& F = form.F();
        F.PW.Text = "admin";
        F.router.StatusURL = "http://192.168.1.1/Status.htm";
        F.router.NewFamily = newFamily;
        F.router.Pages = [&page](const std::string&) { return page; };
        GetWan(F);
    }
    return 0;
}
