#pragma once
// CCharaMedia: the media set of one character — its image cache (with the built-in
// transparent image the hidden functions show), its seven sound channels and its cursor
// cache. Created with the character, destroyed with it.
#include <array>
#include <memory>
#include <string>

#include "media/cursor_map.h"
#include "media/image_map.h"
#include "media/sound_manager.h"
#include "platform/audio.h"

// The playback channels, in the order of the media set. Each plays one sound at a
// time, so sounds of different sources do not cut each other off.
enum ECharaSoundChannel : int {
  SOUND_CHANNEL_FUNCTION_BGM = 0,  // a function's background sound
  SOUND_CHANNEL_ROW,               // motion and image-layer row sounds
  SOUND_CHANNEL_L_BUTTON,          // left-button sounds of functions and config.ini
  SOUND_CHANNEL_R_BUTTON,          // right-button sounds, likewise
  SOUND_CHANNEL_HIT_EVENT,         // hit-event sounds
  SOUND_CHANNEL_BALLOON_BGM,       // balloon background sounds
  SOUND_CHANNEL_BALLOON_ROW,       // balloon-motion and balloon-image-layer row sounds
  SOUND_CHANNEL_COUNT,
};

class CCharaMedia {
 public:
  // `imagesFolder` and `soundsFolder` are the character's folder strings; the built-in
  // image is stored under imagesFolder + "|Resources|\Images\Hide.tga", so a register
  // naming that image finds it without touching the disk.
  CCharaMedia(std::u16string imagesFolder, std::u16string soundsFolder, IAudio& audio);
  // Destroys the cursors, then each channel in order after releasing its sound, then
  // the images.
  virtual ~CCharaMedia();
  CCharaMedia(const CCharaMedia&) = delete;
  CCharaMedia& operator=(const CCharaMedia&) = delete;

  CImageMap& Images() { return *images_; }
  const CImageMap& Images() const { return *images_; }
  CSoundManager& Channel(ECharaSoundChannel channel) { return *channels_.at(static_cast<size_t>(channel)); }
  CCursorMap& Cursors() { return *cursors_; }

  const std::u16string& ImagesFolder() const { return imagesFolder_; }
  const std::u16string& SoundsFolder() const { return soundsFolder_; }

 private:
  std::u16string imagesFolder_;
  std::u16string soundsFolder_;
  std::unique_ptr<CImageMap> images_;
  std::array<std::unique_ptr<CSoundManager>, SOUND_CHANNEL_COUNT> channels_;
  std::unique_ptr<CCursorMap> cursors_;
};
