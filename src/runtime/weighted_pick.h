#pragma once
// The weighted choice among a list of function ids: one draw of the process-wide
// generator picks each id with a chance proportional to its weight.
#include "chardef/func_info_map.h"
#include "chardef/func_list.h"

// The chosen id, or -1 when the list is empty or its weights add up to nothing.
int PickByWeight(const CWeightMap& list);
