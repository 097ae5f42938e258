#include "media/sound_data.h"

#include <map>
#include <mutex>

namespace {

// Weak references: the data lives as long as some CSoundLoad holds it, so a sound
// dropped by every character is freed, and a later load of the key reads it again.
struct SRegistry {
  std::mutex mutex;
  std::map<std::u16string, std::weak_ptr<const SSoundData>> sounds;
};

SRegistry& Registry() {
  static SRegistry registry;
  return registry;
}

}  // namespace

std::shared_ptr<const SSoundData> FindRegisteredSound(const std::u16string& key) {
  SRegistry& registry = Registry();
  std::lock_guard lock(registry.mutex);
  const auto found = registry.sounds.find(key);
  return found == registry.sounds.end() ? nullptr : found->second.lock();
}

std::shared_ptr<const SSoundData> RegisterSound(const std::u16string& key, std::shared_ptr<const SSoundData> data) {
  SRegistry& registry = Registry();
  std::lock_guard lock(registry.mutex);
  std::weak_ptr<const SSoundData>& slot = registry.sounds[key];
  if (std::shared_ptr<const SSoundData> live = slot.lock()) return live;
  slot = data;
  return data;
}
