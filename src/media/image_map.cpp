#include "media/image_map.h"

namespace {

const CImageLoad* IfDecoded(const CImageLoad& image) { return image.HasBitmap() ? &image : nullptr; }

}  // namespace

CImageMap::~CImageMap() { Clear(); }

template <typename... Source>
const CImageLoad* CImageMap::LoadOnce(const std::u16string& key, const Source&... source) {
  const auto found = images_.find(key);
  if (found != images_.end()) return IfDecoded(*found->second);
  auto image = std::make_unique<CImageLoad>(key, source...);
  const CImageLoad& stored = *images_.emplace(key, std::move(image)).first->second;
  return IfDecoded(stored);
}

const CImageLoad* CImageMap::Load(const std::u16string& key, const std::u16string& path) { return LoadOnce(key, path); }

const CImageLoad* CImageMap::Load(const std::u16string& key, const uint8_t* bytes, std::size_t byteCount) {
  return LoadOnce(key, bytes, byteCount);
}

const CImageLoad* CImageMap::Find(const std::u16string& key) const {
  const auto found = images_.find(key);
  return found == images_.end() ? nullptr : IfDecoded(*found->second);
}

void CImageMap::Clear() { images_.clear(); }
