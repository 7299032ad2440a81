#pragma once

// What the System Log subsystem keeps between refreshes.
struct SysLogState {};
