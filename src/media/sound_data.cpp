#include "media/sound_data.h"

#include <map>
#include <mutex>

#include "media/content_share.h"

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

namespace {

bool SameSound(const SSoundData& a, const SSoundData& b) {
  return a.format.formatTag == b.format.formatTag && a.format.channels == b.format.channels &&
         a.format.samplesPerSecond == b.format.samplesPerSecond &&
         a.format.averageBytesPerSecond == b.format.averageBytesPerSecond &&
         a.format.blockAlign == b.format.blockAlign && a.format.bitsPerSample == b.format.bitsPerSample &&
         a.dataOffset == b.dataOffset && a.samples == b.samples;
}

// The same samples read under another key share one copy.
std::shared_ptr<const SSoundData> ShareByContent(std::shared_ptr<const SSoundData> data) {
  static CContentShare<SSoundData> sounds;
  const uint64_t fingerprint = SampledFingerprint(data->samples.data(), data->samples.size()) ^
                               (static_cast<uint64_t>(data->format.samplesPerSecond) << 32);
  return sounds.Share(fingerprint, std::move(data), SameSound);
}

}  // namespace

std::shared_ptr<const SSoundData> RegisterSound(const std::u16string& key, std::shared_ptr<const SSoundData> data) {
  SRegistry& registry = Registry();
  std::lock_guard lock(registry.mutex);
  std::weak_ptr<const SSoundData>& slot = registry.sounds[key];
  if (std::shared_ptr<const SSoundData> live = slot.lock()) return live;
  data = ShareByContent(std::move(data));
  slot = data;
  return data;
}
