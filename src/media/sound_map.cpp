#include "media/sound_map.h"

#include <memory>

CSoundLoad* CSoundMap::Load(const std::u16string& key, std::u16string_view path) {
  CSoundLoad* sound = sounds_.Find(key);
  if (!sound) {
    auto loaded = std::make_unique<CSoundLoad>(key, path);
    sound = loaded.get();
    sounds_.Add(key, loaded.release());
  }
  return sound->HasData() ? sound : nullptr;
}
