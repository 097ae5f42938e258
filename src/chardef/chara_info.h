#pragma once
// CCharaInfo: what config.ini says about a character — the texts of its about dialog,
// its group and identity numbers, its screen-line height, cursor and button-sound
// names — plus the move area it was created with. Filled once by the metadata step,
// read-only afterwards.
#include <string>
#include <utility>

#include "platform/geometry.h"

class CImageLoad;

class CCharaInfo {
 public:
  // Every field at its initial value; the display name is the folder name until
  // config.ini says otherwise, the move area is the application's move range.
  CCharaInfo(std::u16string folderName, const SRect& createdMoveArea)
      : displayName(std::move(folderName)), moveArea(createdMoveArea) {}

  std::u16string groupText;  // GroupID
  std::u16string charaText;  // CharaID
  int groupNumber = -1;      // from the process-wide group table; -1 without GroupID
  int charaNumber = -1;      // from the process-wide character table; -1 without CharaID
  std::u16string displayName;
  std::u16string appName;
  std::u16string version;
  std::u16string copyright;
  std::u16string url;
  std::u16string aboutImageName;  // relative to the images folder
  const CImageLoad* aboutImage = nullptr;  // in the character's image cache, not owned
  int aboutImageWidth = 0;
  int aboutImageHeight = 0;
  int aboutImageX = 0;
  int aboutImageY = 0;
  int lineHeight = 160;
  bool autoLineHeight = false;  // the line height follows the move area's height
  std::u16string normalCursorName;  // relative to the cursors folder
  std::u16string dragCursorName;
  std::u16string disabledCursorName;
  std::u16string lButtonSoundName;  // relative to the sounds folder; ".wav" only
  std::u16string rButtonSoundName;
  SRect moveArea;
};
