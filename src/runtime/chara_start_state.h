#pragma once
// SCharaStartState: what a character starts from — the move range and the application's
// scale and opacity choices (menu ids) it was created with, its line height from its
// metadata, and what its saved state file gave back.
#include "platform/geometry.h"

struct SCharaStartState {
  SRect moveRange;
  int scaleId = 32782;    // 100 %
  int opacityId = 32787;  // 100 %
  int x = 0;
  int y = 0;
  int lineNumber = 4;
  bool mute = false;
  bool hide = false;
  int lineHeight = 160;
  bool noLines = false;  // LineHeight "N": one line as high as the range
  bool read = false;     // the saved state was read completely
};
