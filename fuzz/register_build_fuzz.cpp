// Feeds arbitrary bytes as one .func file through line normalisation, the script reader
// and the register build, and checks what every built definition must satisfy. Images
// whose name has an even length load with a size taken from the name; others fail.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string_view>

#include "chardef/chara_text_file.h"
#include "chardef/func_info_map.h"
#include "chardef/motion_config.h"
#include "chardef/register_build.h"
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  CScriptText text;
  const int file = text.AddFile(u"Scripts\\fuzz.func");
  for (SNumberedLine& line : NormalizedLinesOf(bytes)) text.Add(std::move(line.text), file, line.number);
  const CScriptFuncMaps scripts = ReadScriptText(text);

  CCreateFuncInfoMap definition;
  CRegisterBuildContext context(definition, u"Fuzz", FakeImageSize);
  const bool built = BuildRegisters(context, scripts);
  if (built != scripts.HasOrderFunction()) std::abort();
  for (const SRegisterError& error : definition.Latch().Errors()) {
    if (error.origin.line < 1 || error.message.rfind(u"Fuzzの", 0) != 0) std::abort();
  }
  CheckDefinition(definition);
  return 0;
}
