#pragma once
// The states the state-writer probe writes, one a round, so that whoever reads a file
// back can tell a whole state of some round from a torn or mixed one.
#include <string>

#include "app/settings_file.h"

inline constexpr char16_t kStateRoundsCharacter[] = u"Kid";

// Every key differs from its default and is tied to the round, so a file missing any
// key reads back as no round at all.
inline SAppSettings SettingsOfRound(int round) {
  SAppSettings settings;
  settings.scaleId = 32776 + round % 10;
  settings.opacityId = 32787 + round % 10;
  settings.lowQuality = true;
  settings.mouseEnabled = false;
  settings.windowLevel = 1;
  settings.moveRange = {round, round + 1, round + 1000, round + 1001};
  return settings;
}

// The round whose settings `settings` are, or 0 when they are no round's.
inline int RoundOfSettings(const SAppSettings& settings) {
  const int round = settings.moveRange.left;
  if (round < 1) return 0;
  const SAppSettings expected = SettingsOfRound(round);
  const bool same = settings.scaleId == expected.scaleId && settings.opacityId == expected.opacityId &&
                    settings.lowQuality && !settings.mouseEnabled && settings.windowLevel == 1 &&
                    settings.moveRange.top == expected.moveRange.top &&
                    settings.moveRange.right == expected.moveRange.right &&
                    settings.moveRange.bottom == expected.moveRange.bottom;
  return same ? round : 0;
}

struct SCharaStateRound {
  double x = 0;
  double y = 0;
  int line = 0;
  bool mute = false;
  bool hide = false;
};

inline SCharaStateRound CharaStateOfRound(int round) {
  return {static_cast<double>(round), static_cast<double>(round) * 2 + 1, round % 7, round % 2 == 1, round % 3 == 0};
}
