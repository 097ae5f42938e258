#include "media/image_load.h"

#include <optional>
#include <string_view>

#include "media/image_registry.h"
#include "media/png_decoder.h"
#include "media/tga_decoder.h"
#include "support/application_folder.h"
#include "support/file_system.h"
#include "support/path.h"
#include "support/text.h"

namespace {

// Picks the decoder by the extension of `name`; unknown extensions fail.
std::optional<CPixelSurface> DecodeByExtension(std::u16string_view name, const uint8_t* bytes, std::size_t size) {
  const std::u16string extension = ToLower(ExtensionOf(name));
  if (extension == u".png") return DecodePng(bytes, size);
  if (extension == u".tga") return DecodeTga(bytes, size);
  return std::nullopt;
}

std::optional<CPixelSurface> DecodeFile(const std::u16string& path) {
  const std::optional<std::string> content = ReadDataFile(path, EFileKind::kMedia);
  if (!content) return std::nullopt;
  return DecodeByExtension(path, reinterpret_cast<const uint8_t*>(content->data()), content->size());
}

}  // namespace

CImageLoad::CImageLoad(const std::u16string& key, const std::u16string& path) {
  SRegisteredImage image = FindOrDecodeImage(key, [&path] { return DecodeFile(path); });
  surface_ = std::move(image.surface);
  shared_ = image.shared;
}

CImageLoad::CImageLoad(const std::u16string& key, const uint8_t* bytes, std::size_t byteCount) {
  SRegisteredImage image = FindOrDecodeImage(key, [&] { return DecodeByExtension(key, bytes, byteCount); });
  surface_ = std::move(image.surface);
  shared_ = image.shared;
}
