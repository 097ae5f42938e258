#pragma once
// The headless text capability: a 96 pixels-per-inch screen and fonts that keep their
// description, so tests see exactly what the core asked for.
#include "platform/text.h"

class CHeadlessText final : public IText {
 public:
  static constexpr int kPixelsPerInch = 96;

  int PixelsPerInchY() const override { return kPixelsPerInch; }
  std::unique_ptr<IFont> MakeFont(const SFontDescription& description) override;
};
