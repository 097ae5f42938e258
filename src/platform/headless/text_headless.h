#pragma once
// The headless text capability: a 96 pixels-per-inch screen, with fonts and glyphs from
// FreeType and fontconfig as on the Linux desktop, so what tests and recordings show is
// what a user sees.
#include "platform/freetype/freetype_text.h"
#include "platform/text.h"

class CHeadlessText final : public IText {
 public:
  static constexpr int kPixelsPerInch = 96;

  int PixelsPerInchY() const override { return kPixelsPerInch; }
  std::unique_ptr<IFont> MakeFont(const SFontDescription& description) override { return glyphs_.MakeFont(description); }
  CFreeTypeText& Glyphs() { return glyphs_; }

 private:
  CFreeTypeText glyphs_{kPixelsPerInch};
};
