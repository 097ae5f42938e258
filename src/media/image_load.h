#pragma once
// One decoded image as one owner sees it. The pixels live in a surface shared through
// the image registry: the first owner of a key decodes it, later owners of the same key
// share that surface while it is alive.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "media/pixel_surface.h"

class CImageLoad {
 public:
  // Loads the image file at `path` (engine path notation) under `key`. A path that
  // cannot be opened is tried again below the application folder. The decoder is chosen
  // by the file name's extension, ".png" or ".tga" in any letter case; anything else
  // fails. Failure leaves the object without a bitmap and prints nothing.
  CImageLoad(const std::u16string& key, const std::u16string& path);
  // The same for an image held in memory (embedded resources); the extension is taken
  // from the key. The bytes are only read during the constructor.
  CImageLoad(const std::u16string& key, const uint8_t* bytes, std::size_t byteCount);
  virtual ~CImageLoad() = default;
  CImageLoad(const CImageLoad&) = delete;
  CImageLoad& operator=(const CImageLoad&) = delete;

  bool HasBitmap() const { return surface_ != nullptr; }
  // 0 without a bitmap.
  int Width() const { return surface_ ? surface_->Width() : 0; }
  int Height() const { return surface_ ? surface_->Height() : 0; }
  // The first pixel of the top row: premultiplied 0xAARRGGBB, stride = width; null
  // without a bitmap.
  const uint32_t* Pixels() const { return surface_ ? surface_->Pixels() : nullptr; }
  const std::shared_ptr<const CPixelSurface>& Surface() const { return surface_; }
  // True when the surface was decoded for another owner and found in the registry.
  bool IsShared() const { return shared_; }

 private:
  std::shared_ptr<const CPixelSurface> surface_;
  bool shared_ = false;
};
