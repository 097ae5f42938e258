#include "platform/headless/text_headless.h"

namespace {

class CHeadlessFont final : public IFont {
 public:
  explicit CHeadlessFont(const SFontDescription& description) : description_(description) {}
  const SFontDescription& Description() const override { return description_; }

 private:
  SFontDescription description_;
};

}  // namespace

std::unique_ptr<IFont> CHeadlessText::MakeFont(const SFontDescription& description) {
  return std::make_unique<CHeadlessFont>(description);
}
