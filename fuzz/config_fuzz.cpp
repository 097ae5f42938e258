// Feeds arbitrary bytes as config.ini through line normalisation and the metadata
// keys, and checks the ranges the rest of the program relies on.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "chardef/chara_config.h"
#include "chardef/chara_text_file.h"
#include "support/path.h"
#include "support/text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The first byte picks the move area's height, so small and empty areas are reached.
  const int areaHeight = size > 0 ? data[0] * 4 - 20 : 720;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  CStringList lines;
  for (SNumberedLine& line : NormalizedLinesOf(bytes)) lines.Push(std::move(line.text));

  SCharaNumbering numbering;
  CCharaInfo info(u"Fuzz", SRect{0, 100, 640, 100 + areaHeight});
  ApplyCharaConfig(lines, info, numbering);

  if (info.autoLineHeight) {
    if (info.lineHeight != areaHeight) std::abort();
  } else if (info.lineHeight != 10 && info.lineHeight != areaHeight && (info.lineHeight < 10 || info.lineHeight > areaHeight)) {
    std::abort();
  }
  for (const std::u16string* sound : {&info.lButtonSoundName, &info.rButtonSoundName}) {
    if (!sound->empty() && ToLower(ExtensionOf(*sound)) != u".wav") std::abort();
  }
  if (info.groupNumber != (info.groupText.empty() ? -1 : CCharaNumberTable::kFirstNumber)) std::abort();
  if (info.charaNumber != (info.charaText.empty() ? -1 : CCharaNumberTable::kFirstNumber)) std::abort();
  if (info.displayName.empty()) std::abort();
  if (info.aboutImageName.empty() && (info.aboutImageX != 0 || info.aboutImageY != 0)) std::abort();
  return 0;
}
