// Feeds arbitrary bytes as one .func file through line normalisation, the script reader,
// the register build (balloons and text styles included) and the validation pass, and
// checks what every built definition must satisfy. While building, images whose name
// has an even length have a size taken from the name; others fail. Validation finds no
// files on disk, so only the built-in hidden images load there.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string_view>

#include "chardef/balloon_config.h"
#include "chardef/chara_media.h"
#include "chardef/chara_text_file.h"
#include "chardef/definition_validator.h"
#include "chardef/func_info_map.h"
#include "chardef/motion_config.h"
#include "chardef/order_config.h"
#include "chardef/register_build.h"
#include "platform/headless/text_headless.h"
#include "script/script_file_reader.h"

namespace {

std::optional<SImageSize> FakeImageSize(const std::u16string& name) {
  if (name.size() % 2 != 0) return std::nullopt;
  return SImageSize{static_cast<int>(name.size() * 7 % 300), static_cast<int>(name.size() * 13 % 200)};
}

void CheckDefinition(const CCreateFuncInfoMap& definition) {
  int total = 0;
  for (int type = ORDER_REG; type <= TEXT_STYLE_REG; ++type) {
    const CFuncInfoIdMap& entries = definition.EntriesOf(static_cast<SCRIPT_TYPE>(type));
    for (int i = 0; i < entries.Count(); ++i) {
      const CCreateFuncInfo* entry = entries.ValueAt(i);
      const CRootConfig& config = entry->Config();
      if (config.type != type || config.id != entries.KeyAt(i)) std::abort();
      if (definition.FindEntry(config.name) != entry) std::abort();
      if (config.id > 5 && (config.id <= CCreateFuncInfoMap::kFirstUserIdMinusOne || config.id > definition.LastId())) {
        std::abort();
      }
      if (config.width < 0 || config.height < 0) std::abort();
      if (const auto* strip = entry->ConfigAs<CImageStripConfig>(); strip == nullptr && !entry->Rows().empty()) {
        std::abort();  // only image strips carry rows
      }
      ++total;
    }
  }
  if (total != definition.Count()) std::abort();  // every name is in exactly one type map
  if (definition.Ok() != definition.ErrorMessage().empty()) std::abort();
  if (!definition.Ok() && definition.Latch().Errors().back().message != definition.ErrorMessage()) std::abort();
}

// Sounds are only decoded while validating; nothing is played.
class CSilentAudio final : public IAudio {
 public:
  std::unique_ptr<IAudioOutput> Open(const SPcmFormat&, AudioBufferDone) override { return nullptr; }
};

// Ids are unique across register types.
bool HasId(const CCreateFuncInfoMap& definition, int id) {
  for (int type = ORDER_REG; type <= TEXT_STYLE_REG; ++type) {
    if (definition.FindEntry(static_cast<SCRIPT_TYPE>(type), id) != nullptr) return true;
  }
  return false;
}

// After a successful pass every function has a motion and every resolved id exists.
void CheckResolved(const CCreateFuncInfoMap& definition) {
  for (const CCreateFuncInfo* entry : definition.EntriesOf(ORDER_REG).Values()) {
    const auto* function = entry->ConfigAs<COrderConfig>();
    if (function == nullptr) std::abort();
    if (definition.FindEntry(MOTION_REG, function->motionId) == nullptr) std::abort();
    for (const CWeightMap& list : function->resolvedFuncLists) {
      for (int i = 0; i < list.Count(); ++i) {
        if (list.ValueAt(i) < 0 || !HasId(definition, list.KeyAt(i))) std::abort();
      }
    }
    for (const std::optional<CNameList>& names : function->funcLists) {
      if (names) std::abort();  // resolved lists are dropped
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  CScriptText text;
  const int file = text.AddFile(u"Scripts\\fuzz.func");
  for (SNumberedLine& line : NormalizedLinesOf(bytes)) text.Add(std::move(line.text), file, line.number);
  const CScriptFuncMaps scripts = ReadScriptText(text);

  static CHeadlessText fonts;
  static CSilentAudio audio;
  CCreateFuncInfoMap definition;
  RegisterReservedBalloonEntries(definition, fonts);
  SRegisterBuilders builders = DefaultRegisterBuilders();
  AddBalloonRegisterBuilders(builders, fonts);
  CRegisterBuildContext context(definition, u"Fuzz", FakeImageSize);
  const bool built = BuildRegisters(context, scripts, builders);
  if (built != scripts.HasOrderFunction()) std::abort();
  for (const SRegisterError& error : definition.Latch().Errors()) {
    if (error.origin.line < 1 || error.message.rfind(u"Fuzzの", 0) != 0) std::abort();
  }
  CheckDefinition(definition);
  if (!built || !definition.Ok()) return 0;

  CCharaMedia media(u"Characters\\Fuzz\\Images\\", u"Characters\\Fuzz\\Sounds\\", audio);
  CDefinitionValidator validator(definition, media, u"Fuzz");
  try {
    const int players = validator.Validate();
    if (players < 0) std::abort();
    CheckResolved(definition);
  } catch (const EDefinitionCheckError& error) {
    if (error.Message().rfind(u"Fuzzの", 0) != 0) std::abort();
  }
  return 0;
}
