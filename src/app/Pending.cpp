// Placeholders for procedures whose subsystems are still being written. Each one is deleted
// from this file by the change that brings the real procedure.
#include <string>

#include "app/MainForm.h"
#include "app/Settings.h"
#include "resolve/AddressConversion.h"
#include "router/PageFetcher.h"
#include "router/RouterPages.h"
#include "router/WanMonitor.h"
#include "stdlog/SbLogWriter.h"
#include "stdlog/StdLogParser.h"
#include "ui/Help.h"
#include "ui/OptionsPanel.h"

