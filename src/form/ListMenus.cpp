#include "form/ListMenus.h"

PopupMenu InboundMenu() {
    return {"mpopIn",
            "Inbound",
            {{"mpopInLookup", "Lookup URL"},
             {"mpopInCopy", "&Copy Remote Address to Clipboard"},
             {"mpopInCopyRows", "Copy rows to Clipboard"}}};
}

PopupMenu OutboundMenu() {
    return {"mpopOut",
            "Outbound",
            {{"mpopOutLookup", "Lookup IP Address"},
             {"mpopOutCopy", "&Copy Remote URL/IP to Clipboard"},
             {"mpopOutCopyRows", "Copy rows to Clipboard"}}};
}

PopupMenu SysLogMenu() {
    return {"mpopsys",
            "SysLog",
            {{"mpopSysLookup", "Lookup IP Address or URL"},
             {"mpopSysCopy", "&Copy field to Clipboard"},
             {"mpopSysCopyRows", "Copy rows to Clipboard"},
             {"mpopSysMark", "&Mark this record for logging"},
             {"mpopSysMarkAll", "Mark &All records similar to this one for logging"},
             {"mpopSysUnmark", "&Unmark this record for logging"},
             {"mpopSysUnmarkAll", "Unmark all records similar to this one for logging"}}};
}
