#pragma once
// CSoundMap: the sounds one playback channel has loaded, by key (the sound's path). A
// key is read once: a failed load stays failed in this map.
#include <string>
#include <string_view>

#include "media/sound_load.h"
#include "support/vector_map.h"

class CSoundMap {
 public:
  CSoundMap() = default;
  virtual ~CSoundMap() = default;
  CSoundMap(const CSoundMap&) = delete;
  CSoundMap& operator=(const CSoundMap&) = delete;

  // The sound of the key, loading it from `path` on first use; null when it has no
  // data. Linear in the number of keys.
  CSoundLoad* Load(const std::u16string& key, std::u16string_view path);
  // Destroys every entry.
  void Clear() { sounds_.Clear(); }
  int Count() const { return sounds_.Count(); }
  // Whether the key was read into this map (whether or not it had data).
  bool Contains(const std::u16string& key) const { return sounds_.IndexOf(key) >= 0; }

 private:
  CVectorMap<std::u16string, CSoundLoad*, true> sounds_;
};
