#pragma once
// The text capability of the headless and Linux backends: glyphs rasterised by FreeType
// from faces that fontconfig finds. A face name is matched through fontconfig; no name,
// a face the machine lacks, and every character the named face lacks fall back to a
// proportional sans-serif face that covers Japanese (a monospaced one only for what no
// proportional face has), so speech in either script shows and reads well.
#include <memory>
#include <string>
#include <string_view>

#include "platform/text.h"

class CFreeTypeFaces;

class CFreeTypeText final : public IText {
 public:
  explicit CFreeTypeText(int pixelsPerInch);
  ~CFreeTypeText() override;

  int PixelsPerInchY() const override { return pixelsPerInch_; }
  // Fonts share the faces of this capability and stay usable after it is gone.
  std::unique_ptr<IFont> MakeFont(const SFontDescription& description) override;

  // The file the face name resolves to, the fallback's when the name is empty or names a
  // face the machine lacks; "" when fontconfig has no font at all. For tests and
  // diagnostics.
  std::string FaceFileOf(std::u16string_view face);

 private:
  int pixelsPerInch_;
  std::shared_ptr<CFreeTypeFaces> faces_;
};
