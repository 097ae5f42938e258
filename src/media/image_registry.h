#pragma once
// The process-wide image registry: one decoded surface per image key, shared by every
// owner that loads the key while another owner still holds it. Safe to use from any
// thread; the same key is never decoded by two threads at once.
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "media/pixel_surface.h"

using ImageDecodeFunction = std::function<std::optional<CPixelSurface>()>;

struct SRegisteredImage {
  std::shared_ptr<const CPixelSurface> surface;  // null when decoding failed
  bool shared = false;                            // found in the registry, not decoded here
};

// The live surface registered under `key`, or else the result of `decode`, which is
// registered when it succeeds. Decoded pixels equal to a live surface of another key
// (the same picture in another folder) share that surface. A failed decode is not
// remembered here (each owner's map remembers its own failures). Costs one map lookup
// under a lock when the key is live.
SRegisteredImage FindOrDecodeImage(const std::u16string& key, const ImageDecodeFunction& decode);
