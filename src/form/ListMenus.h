#pragma once
#include "form/ListDisplayState.h"

// The record lists' popup menus, as the window shows them; their handlers are in src/ui.
PopupMenu InboundMenu();
PopupMenu OutboundMenu();
PopupMenu SysLogMenu();
