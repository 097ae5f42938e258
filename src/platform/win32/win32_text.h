#pragma once
// The text capability on Windows: GDI fonts, each selected into a memory device context
// of its own so that fonts can be used on different threads, and glyphs from the
// system's glyph outlines in the grey formats and the 1-bit one.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "platform/text.h"

class CWin32Text final : public IText {
 public:
  // Reads the screen's pixels per inch once; 96 when the screen does not say.
  CWin32Text();

  int PixelsPerInchY() const override { return pixelsPerInch_; }
  // Null when the system makes no font or device context. Fonts outlive this object.
  std::unique_ptr<IFont> MakeFont(const SFontDescription& description) override;

 private:
  int pixelsPerInch_;
};

// The glyph a font's character map (the TrueType 'cmap' table) gives `code`, from its
// 32-bit subtables (formats 12 and 13); 0, the missing glyph, when it has none or the
// table is malformed. The system's own lookup stops at U+FFFF.
uint16_t CmapGlyphIndex(std::span<const uint8_t> table, char32_t code);
