#pragma once
// CCharaMap: the characters of the process by folder name, in creation order; it owns
// them and destroys them with itself.
#include <string>

#include "runtime/character.h"
#include "support/vector_map.h"

class CCharaMap : public CVectorMap<std::u16string, CCharacter*, true> {
 public:
  // A new character for `folderName`, entered under that name; null when the name is
  // already taken. Main thread.
  CCharacter* CreateCharacter(CImageWndClass& windowClass, const std::u16string& folderName, ICharaHost& host);
};
