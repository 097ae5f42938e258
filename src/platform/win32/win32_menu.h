#pragma once
// Pop-up menus built from the core's menu models, with the models' command ids.
#include "platform/win32/win32_system.h"

class CMenuModel;

// A new pop-up menu with the model's items, check marks, greyed items and sub-menus;
// the caller destroys it with DestroyMenu. Null when the system makes no menu.
HMENU BuildWin32Menu(const CMenuModel& model);
