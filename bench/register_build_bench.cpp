// Building the registers of a generated character with 2,000 blocks: 1,000 functions,
// 500 motions of 8 rows each and 500 image layers, with every image already cached (the
// size lookup answers from memory). The reading of the script text is timed apart.
#include <benchmark/benchmark.h>

#include <optional>
#include <string>

#include "chardef/func_info_map.h"
#include "chardef/register_build.h"
#include "chardef/register_build_context.h"
#include "script/script_file_reader.h"

namespace {

std::u16string Number(int n) {
  std::u16string text;
  for (char c : std::to_string(n)) text += static_cast<char16_t>(c);
  return text;
}

void AddBlock(CScriptText& text, std::u16string_view tag, std::initializer_list<std::u16string> settings,
              const std::vector<std::u16string>& rows = {}) {
  text.Add(u"<FUNC_" + std::u16string(tag) + u">");
  text.Add(u"<SET_CONFIG>");
  for (const std::u16string& setting : settings) text.Add(setting);
  text.Add(u"</SET_CONFIG>");
  if (!rows.empty()) {
    text.Add(u"<SET_PARAM>");
    for (const std::u16string& row : rows) text.Add(row);
    text.Add(u"</SET_PARAM>");
  }
  text.Add(u"</FUNC_" + std::u16string(tag) + u">");
}

CScriptText GeneratedCharacter() {
  CScriptText text;
  std::vector<std::u16string> rows;
  for (int row = 0; row < 8; ++row) rows.push_back(Number(row) + u",0,2,0,3");
  for (int i = 0; i < 500; ++i) {
    AddBlock(text, u"MOTION_REG", {u"FuncName=motion" + Number(i), u"ImageName=walk.png", u"Width=64", u"Height=64"},
             rows);
    AddBlock(text, u"IMAGE_LAYER_REG",
             {u"FuncName=layer" + Number(i), u"ImageName=walk.png", u"PosX=Width/2", u"PosY=Height-4"}, {u"0,0"});
  }
  for (int i = 0; i < 1000; ++i) {
    AddBlock(text, u"ORDER_REG",
             {u"FuncName=func" + Number(i), i == 0 ? u"FuncType=START_EVENT" : u"FuncType=NONE_EVENT",
              u"FuncNameMotion=motion" + Number(i % 500), u"FuncListTimer=func" + Number((i + 1) % 1000) + u"*3,func0",
              u"TimerFrame=RAND_30+30"});
  }
  return text;
}

std::optional<SImageSize> CachedImage(const std::u16string&) { return SImageSize{512, 256}; }

void BM_ReadScriptText(benchmark::State& state) {
  const CScriptText text = GeneratedCharacter();
  for (auto _ : state) benchmark::DoNotOptimize(ReadScriptText(text));
}
BENCHMARK(BM_ReadScriptText)->Unit(benchmark::kMillisecond);

void BM_BuildRegisters2000Blocks(benchmark::State& state) {
  const CScriptText text = GeneratedCharacter();
  const CScriptFuncMaps maps = ReadScriptText(text);
  for (auto _ : state) {
    CCreateFuncInfoMap definition;
    CRegisterBuildContext context(definition, u"Chara", CachedImage);
    if (!BuildRegisters(context, maps) || !definition.Ok()) {
      state.SkipWithError("the generated character does not build");
      break;
    }
    state.counters["entries"] = definition.Count();
  }
}
BENCHMARK(BM_BuildRegisters2000Blocks)->Unit(benchmark::kMillisecond);

}  // namespace
