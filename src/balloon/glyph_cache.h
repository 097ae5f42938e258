#pragma once
// CGlyphCache: glyphs as the font gave them, kept per face, size, weight, format and
// character, so a character that a balloon types again (the same word in the next
// line, the next balloon, every repetition of a greeting) costs a copy instead of a
// rasterisation. One per character, used on the frame thread only.
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/text.h"

struct SCachedGlyph {
  bool ok = false;  // the font could rasterise it
  SGlyphOutline outline;
  std::vector<uint8_t> bits;
};

class CGlyphCache {
 public:
  // Beyond this many glyphs the cache starts again: a character showing every kanji of
  // its language in every size does not hold them all.
  static constexpr size_t kMaxGlyphs = 4096;

  // The glyph of `code` in `font` at `format`, from the cache or rasterised now.
  const SCachedGlyph& Glyph(IFont& font, char32_t code, int format);

  uint64_t Hits() const { return hits_; }
  uint64_t Misses() const { return misses_; }
  size_t Size() const { return glyphs_.size(); }

 private:
  // A face name's number within this cache, -1 when there is no room for another.
  int FaceNumber(const std::u16string& face);
  void Restart();

  std::unordered_map<uint64_t, SCachedGlyph> glyphs_;
  std::vector<std::u16string> faces_;
  uint64_t hits_ = 0;
  uint64_t misses_ = 0;
};
