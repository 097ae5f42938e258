#pragma once
// The headless text capability: a 96 pixels-per-inch screen, with fonts and glyphs from
// FreeType and fontconfig as on the Linux desktop, or from the system's own fonts on
// Windows, so what tests and recordings show is what a user sees.
#ifdef _WIN32
#include "platform/win32/win32_text.h"
#else
#include "platform/freetype/freetype_text.h"
#endif
#include "platform/text.h"

class CHeadlessText final : public IText {
 public:
  static constexpr int kPixelsPerInch = 96;

  int PixelsPerInchY() const override { return kPixelsPerInch; }
  std::unique_ptr<IFont> MakeFont(const SFontDescription& description) override { return glyphs_.MakeFont(description); }
#ifdef _WIN32
  // Fonts are asked for in pixels, so the Windows text makes the same glyphs whatever
  // the display's own pixels per inch; only the figure reported here is fixed.
  CWin32Text& Glyphs() { return glyphs_; }

 private:
  CWin32Text glyphs_;
#else
  CFreeTypeText& Glyphs() { return glyphs_; }

 private:
  CFreeTypeText glyphs_{kPixelsPerInch};
#endif
};
