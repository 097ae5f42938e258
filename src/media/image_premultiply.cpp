#include "media/image_premultiply.h"

#include <cstddef>

#include "media/pixel_surface.h"

void Premultiply(CPixelSurface& surface) {
  const std::size_t count = static_cast<std::size_t>(surface.Width()) * static_cast<std::size_t>(surface.Height());
  uint32_t* pixels = surface.Pixels();
  for (std::size_t i = 0; i < count; ++i) pixels[i] = PremultiplyPixel(pixels[i]);
}
