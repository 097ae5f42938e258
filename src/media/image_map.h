#pragma once
// A per-owner image cache (each character has one, the application one for its logo):
// key → CImageLoad, ordered by code unit, case-sensitive. A key is loaded once per map;
// a key that failed stays failed in this map.
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "media/image_load.h"

class CImageMap {
 public:
  CImageMap() = default;
  virtual ~CImageMap();
  CImageMap(const CImageMap&) = delete;
  CImageMap& operator=(const CImageMap&) = delete;

  // The image under `key`, loading it from `path` the first time the key is seen; null
  // when it did not decode (then or now).
  const CImageLoad* Load(const std::u16string& key, const std::u16string& path);
  // The same for an image held in memory; the extension is taken from the key.
  const CImageLoad* Load(const std::u16string& key, const uint8_t* bytes, std::size_t byteCount);
  // The decoded image already loaded under `key`, or null; never loads.
  const CImageLoad* Find(const std::u16string& key) const;
  // Destroys every entry; shared surfaces stay alive while other owners hold them.
  void Clear();
  // Entries, failed ones included.
  std::size_t Count() const { return images_.size(); }

 private:
  template <typename... Source>
  const CImageLoad* LoadOnce(const std::u16string& key, const Source&... source);

  std::map<std::u16string, std::unique_ptr<CImageLoad>> images_;
};
