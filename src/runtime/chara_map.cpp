#include "runtime/chara_map.h"

CCharacter* CCharaMap::CreateCharacter(CImageWndClass& windowClass, const std::u16string& folderName,
                                       ICharaHost& host) {
  if (Find(folderName) != nullptr) return nullptr;
  auto* character = new CCharacter(windowClass, folderName, host);
  Add(folderName, character);
  return character;
}
