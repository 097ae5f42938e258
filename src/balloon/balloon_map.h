#pragma once
// CBalloonMap: a character's balloons by name, with the glyph cache their text layers
// share. The character drives them through ICharaBalloons; the main balloon is "01".
#include <memory>
#include <string>

#include "balloon/balloon.h"
#include "balloon/glyph_cache.h"
#include "runtime/chara_balloons.h"
#include "support/vector_map.h"

class CCharacter;

// The main balloon's name.
inline constexpr std::u16string_view kMainBalloonName = u"01";

class CBalloonMap final : public ICharaBalloons {
 public:
  explicit CBalloonMap(CCharacter& owner) : owner_(owner) {}
  ~CBalloonMap() override;

  // Adds `balloon` under `name`; a name already present keeps its balloon (the new one
  // is dropped). Returns the balloon under that name.
  CBalloon* Insert(const std::u16string& name, std::unique_ptr<CBalloon> balloon);
  CBalloon* Find(const std::u16string& name) const;
  CBalloon* Main() const { return Find(std::u16string(kMainBalloonName)); }
  int Count() const { return balloons_.Count(); }
  CCharacter& Owner() const { return owner_; }
  const CGlyphCache& Glyphs() const { return glyphs_; }

  // ICharaBalloons. The main balloon is made when the character has balloon functions
  // of its own (beyond the built-in hidden one).
  bool CreateMain() override;
  ILayeredWindow* MainWindow() const override;
  void CloseAll() override;
  void UpdateAll() override;
  void ForgetPendingCall() override;
  void CallMain(int balloonId) override;
  void ApplyScale(double scale) override;
  void ApplyOpacity(double opacity) override;

 private:
  CCharacter& owner_;
  CGlyphCache glyphs_;
  CVectorMap<std::u16string, CBalloon*, true> balloons_;
};
