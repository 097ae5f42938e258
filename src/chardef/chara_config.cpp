#include "chardef/chara_config.h"

#include <cstdint>

#include "support/number.h"
#include "support/path.h"
#include "support/text.h"

namespace {

constexpr int kMinLineHeight = 10;

}  // namespace

int LenientInteger(std::u16string_view text) { return ToSignedOrZero(Trim(std::u16string(text))); }

SLineHeight ParseLineHeight(std::u16string_view value, int areaHeight) {
  if (value.empty() || value == u"N") return {areaHeight, true};
  std::int64_t number = 0;
  try {
    number = ToUnsigned(value);
  } catch (const EConvertError&) {
    return {kMinLineHeight, false};
  }
  if (number < kMinLineHeight) return {kMinLineHeight, false};
  if (number > areaHeight) return {areaHeight, false};
  return {static_cast<int>(number), false};
}

bool IsWavName(std::u16string_view name) { return ToLower(ExtensionOf(name)) == u".wav"; }

void ApplyCharaConfig(const CStringList& lines, CCharaInfo& info, SCharaNumbering& numbering) {
  info.groupText = lines.ValueOf(u"GroupID");
  if (!info.groupText.empty()) info.groupNumber = numbering.groups.Number(info.groupText);
  info.charaText = lines.ValueOf(u"CharaID");
  if (!info.charaText.empty()) info.charaNumber = numbering.characters.Number(info.charaText);

  if (std::u16string name = lines.ValueOf(u"CharaName"); !name.empty()) info.displayName = std::move(name);
  info.appName = lines.ValueOf(u"AppName");
  info.version = lines.ValueOf(u"Version");
  info.copyright = lines.ValueOf(u"Copyright");
  info.url = lines.ValueOf(u"Url");

  info.aboutImageName = lines.ValueOf(u"DlgImageName");
  if (!info.aboutImageName.empty()) {
    info.aboutImageX = LenientInteger(lines.ValueOf(u"DlgImagePosX"));
    info.aboutImageY = LenientInteger(lines.ValueOf(u"DlgImagePosY"));
  }

  const SLineHeight lineHeight = ParseLineHeight(lines.ValueOf(u"LineHeight"), info.moveArea.Height());
  info.lineHeight = lineHeight.height;
  info.autoLineHeight = lineHeight.automatic;

  info.normalCursorName = lines.ValueOf(u"NormalCursor");
  info.dragCursorName = lines.ValueOf(u"DragCursor");
  info.disabledCursorName = lines.ValueOf(u"DisabledCursor");

  if (std::u16string sound = lines.ValueOf(u"SoundNameLButton"); IsWavName(sound)) info.lButtonSoundName = std::move(sound);
  if (std::u16string sound = lines.ValueOf(u"SoundNameRButton"); IsWavName(sound)) info.rButtonSoundName = std::move(sound);
}
