// Feeds arbitrary bytes as one .func file through line normalisation and the script
// reader, and checks what every stored block must satisfy.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "chardef/chara_text_file.h"
#include "script/script_file_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  CScriptText text;
  const int file = text.AddFile(u"Scripts\\fuzz.func");
  int lastLine = 0;
  for (SNumberedLine& line : NormalizedLinesOf(bytes)) {
    if (line.number <= lastLine) std::abort();  // numbers rise strictly
    lastLine = line.number;
    text.Add(std::move(line.text), file, line.number);
  }
  const CScriptFuncMaps maps = ReadScriptText(text);
  int stored = 0;
  for (int type = ORDER_REG; type < SCRIPT_TYPE_END; ++type) {
    const CScriptParamMap& map = maps.Map(static_cast<SCRIPT_TYPE>(type));
    for (int i = 0; i < map.Count(); ++i) {
      const CScriptParam* param = map.ValueAt(i);
      if (param->RegisterType() != type || param->FuncName() != map.KeyAt(i)) std::abort();
      if (map.IndexOf(map.KeyAt(i)) != i) std::abort();  // names are unique per register
      if (param->Origin().line < 1 || param->Origin().line > lastLine) std::abort();
      // Sections may overlap, but each takes lines from inside its own block.
      if (param->ConfigLines().Count() > text.Count() - 2) std::abort();
      if (static_cast<int>(param->Rows().size()) > text.Count() - 2) std::abort();
      ++stored;
    }
  }
  if (stored * 2 > text.Count()) std::abort();
  return 0;
}
