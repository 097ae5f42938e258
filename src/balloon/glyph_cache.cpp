#include "balloon/glyph_cache.h"

#include <algorithm>

namespace {

constexpr int kMaxFaces = 255;

// Face number (8 bits), format (3), weight in hundreds (4), height sign (1) and size
// (16), character (21): one 53-bit key.
uint64_t KeyOf(int face, const SFontDescription& description, int format, char32_t code) {
  const int height = description.height;
  const uint64_t size = static_cast<uint64_t>(std::min<int64_t>(height < 0 ? -int64_t{height} : height, 0xFFFF));
  const uint64_t weight = static_cast<uint64_t>(std::clamp(description.weight / 100, 0, 15));
  uint64_t key = static_cast<uint64_t>(face);
  key = (key << 3) | static_cast<uint64_t>(format & 7);
  key = (key << 4) | weight;
  key = (key << 1) | (height < 0 ? 1u : 0u);
  key = (key << 16) | size;
  key = (key << 21) | (static_cast<uint64_t>(code) & 0x1FFFFF);
  return key;
}

}  // namespace

int CGlyphCache::FaceNumber(const std::u16string& face) {
  for (size_t i = 0; i < faces_.size(); ++i) {
    if (faces_[i] == face) return static_cast<int>(i);
  }
  if (faces_.size() >= kMaxFaces) return -1;
  faces_.push_back(face);
  return static_cast<int>(faces_.size() - 1);
}

void CGlyphCache::Restart() {
  glyphs_.clear();
  faces_.clear();
}

const SCachedGlyph& CGlyphCache::Glyph(IFont& font, char32_t code, int format) {
  const SFontDescription& description = font.Description();
  int face = FaceNumber(description.face);
  if (face < 0 || glyphs_.size() >= kMaxGlyphs) {
    Restart();
    face = FaceNumber(description.face);
  }
  const uint64_t key = KeyOf(face, description, format, code);
  auto found = glyphs_.find(key);
  if (found != glyphs_.end()) {
    ++hits_;
    return found->second;
  }
  ++misses_;
  SCachedGlyph& glyph = glyphs_[key];
  glyph.ok = font.Glyph(code, format, glyph.outline, glyph.bits);
  return glyph;
}
