#pragma once
// A deep copy of a menu model, so a tracked menu can be kept after the core changes or
// frees its own.
#include <memory>

#include "platform/menu_model.h"

std::unique_ptr<CMenuModel> CopyMenu(const CMenuModel& menu);
