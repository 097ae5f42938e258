#include "media/image_registry.h"

#include <cstring>
#include <map>
#include <mutex>

#include "media/content_share.h"

namespace {

// One slot per key ever loaded. The registry only watches its surfaces: they are freed
// with their last owner, and a later load of the key decodes it again.
struct SRegistrySlot {
  std::mutex decoding;
  std::weak_ptr<const CPixelSurface> surface;
};

struct SRegistry {
  std::mutex mutex;
  std::map<std::u16string, std::shared_ptr<SRegistrySlot>> slots;
};

SRegistry& Registry() {
  static SRegistry registry;
  return registry;
}

// The same pixels decoded under another key share one surface.
std::shared_ptr<const CPixelSurface> ShareByContent(std::shared_ptr<const CPixelSurface> surface) {
  static CContentShare<CPixelSurface> surfaces;
  const std::size_t bytes =
      static_cast<std::size_t>(surface->Width()) * static_cast<std::size_t>(surface->Height()) * sizeof(uint32_t);
  const uint64_t fingerprint = SampledFingerprint(surface->Pixels(), bytes) ^ static_cast<uint64_t>(surface->Width());
  return surfaces.Share(fingerprint, std::move(surface), [bytes](const CPixelSurface& a, const CPixelSurface& b) {
    return a.Width() == b.Width() && a.Height() == b.Height() && std::memcmp(a.Pixels(), b.Pixels(), bytes) == 0;
  });
}

std::shared_ptr<SRegistrySlot> SlotFor(const std::u16string& key) {
  SRegistry& registry = Registry();
  std::lock_guard lock(registry.mutex);
  std::shared_ptr<SRegistrySlot>& slot = registry.slots[key];
  if (!slot) slot = std::make_shared<SRegistrySlot>();
  return slot;
}

}  // namespace

SRegisteredImage FindOrDecodeImage(const std::u16string& key, const ImageDecodeFunction& decode) {
  const std::shared_ptr<SRegistrySlot> slot = SlotFor(key);
  // Held while decoding, so a second thread loading the same key waits and shares.
  std::lock_guard lock(slot->decoding);
  if (std::shared_ptr<const CPixelSurface> live = slot->surface.lock()) return {std::move(live), true};
  std::optional<CPixelSurface> decoded = decode();
  if (!decoded) return {};
  auto surface = ShareByContent(std::make_shared<const CPixelSurface>(std::move(*decoded)));
  slot->surface = surface;
  return {std::move(surface), false};
}
