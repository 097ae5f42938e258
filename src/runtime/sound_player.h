#pragma once
// How a character's players start and stop sounds: by channel of the character's media
// set and by the name the data writes, so the owner can mute, trace and find the file.
#include <string>

#include "chardef/chara_media.h"

class ISoundPlayer {
 public:
  virtual ~ISoundPlayer() = default;
  // Plays `name` (relative to the owner's sounds folder) on `channel`, looping or once.
  virtual void PlaySound(ECharaSoundChannel channel, const std::u16string& name, bool loop) = 0;
  // Stops whatever `channel` plays and forgets its sound.
  virtual void StopSound(ECharaSoundChannel channel) = 0;
};
