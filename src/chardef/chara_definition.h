#pragma once
// CCharaDefinition: everything one character folder defines — what config.ini says,
// the media set, the registers and the cursors — as the loader fills it. It lives as
// long as the character.
#include <string>

#include "chardef/chara_info.h"
#include "chardef/chara_loader.h"
#include "chardef/chara_media.h"
#include "chardef/chara_paths.h"
#include "chardef/func_info_map.h"
#include "platform/audio.h"

class CCharaDefinition {
 public:
  CCharaDefinition(const std::u16string& folderName, const SRect& moveArea, IAudio& audio,
                   CCharacter* owner = nullptr)
      : info(folderName, moveArea),
        media(MakeCharaPaths(folderName).imagesFolder, MakeCharaPaths(folderName).soundsFolder, audio),
        registers(owner) {}
  CCharaDefinition(const CCharaDefinition&) = delete;
  CCharaDefinition& operator=(const CCharaDefinition&) = delete;

  CCharaInfo info;
  CCharaMedia media;
  CCreateFuncInfoMap registers;
  CCharaLoader::SCursors cursors;
  // How many image-layer players the character needs: the most image layers one of
  // its functions shows.
  int imageLayerPlayerCount = 0;
};
