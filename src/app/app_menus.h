#pragma once
// The notification icon's two menus: the system menu, and the exit menu shown while
// the characters play their ending.
#include "platform/menu_model.h"

CMenuModel BuildSystemMenu();
CMenuModel BuildExitMenu();
