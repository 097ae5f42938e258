#pragma once
// The characters of the process by folder name, in creation order; owns them.
#include <string>

#include "runtime/character.h"
#include "support/vector_map.h"

class CCharaMap : public CVectorMap<std::u16string, CCharacter*, true> {};
