// The text work of a frame for 15 characters, each with a balloon typing at 60
// characters a second at a display scale of 2.0: the text layers' steps, the glyphs
// revealed in that frame, and the composition of the balloons, as the frame thread runs
// them. The glyph cache's hit rate is reported with the time.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "../tests/common/null_main_window_handler.h"
#include "app/application.h"
#include "app/program_state.h"
#include "balloon/balloon_map.h"
#include "media/pixel_surface.h"
#include "media/png_writer.h"
#include "platform/headless/headless_platform.h"
#include "runtime/character.h"
#include "script/shared_random.h"
#include "support/application_folder.h"
#include "support/file_system.h"
#include "window/command_ids.h"

namespace {

constexpr int kCharacters = 15;
constexpr int kScale200 = 32778;

const char kScript[] = R"(
<FUNC_MOTION_REG>
<SET_CONFIG>
FuncName=stand
ImageName=body.png
Width=48
Height=48
</SET_CONFIG>
<SET_PARAM>
0,0,0,0,1
</SET_PARAM>
</FUNC_MOTION_REG>
<FUNC_ORDER_REG>
<SET_CONFIG>
FuncName=talkative
FuncType=START_EVENT
FuncNameMotion=stand
PosX=200
PosY=400
CallBalloonList=talk
</SET_CONFIG>
</FUNC_ORDER_REG>
<FUNC_BALLOON_MOTION_REG>
<SET_CONFIG>
FuncName=card
ImageName=balloon.png
Width=200
Height=64
</SET_CONFIG>
<SET_PARAM>
0,0,0,0,1
</SET_PARAM>
</FUNC_BALLOON_MOTION_REG>
<FUNC_BALLOON_ORDER_REG>
<SET_CONFIG>
FuncName=talk
FuncNameMotion=card
PosY=0-bal.Height
TextAreaPosX=8
TextAreaPosY=6
TextAreaWidth=192
TextAreaHeight=60
NextBalloonList=talk
</SET_CONFIG>
<SET_TEXT>
Open()
SetSpeed(60)
"こんにちは！今日もいい天気ですね。"
"\nThe quick brown fox jumps over the lazy dog."
Clear()
"吹き出しの文字は一度だけ描かれます。"
"\nEach glyph is rasterised once."
Clear()
</SET_TEXT>
</FUNC_BALLOON_ORDER_REG>
)";

CPixelSurface Filled(int width, int height, uint32_t colour) {
  CPixelSurface image(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) image.Row(y)[x] = colour;
  }
  return image;
}

class CBenchFolder {
 public:
  CBenchFolder() {
    std::random_device seed;
    root_ = std::filesystem::temp_directory_path() / ("zv-bench-balloons-" + std::to_string(seed()));
    for (int i = 0; i < kCharacters; ++i) {
      const std::string name = "talker" + std::to_string(i);
      names.push_back(FromNativePath(name));
      const std::filesystem::path folder = root_ / "Characters" / name;
      std::filesystem::create_directories(folder / "Scripts");
      std::filesystem::create_directories(folder / "Images");
      std::ofstream(folder / "Scripts" / "talker.func") << kScript;
      WritePng(FromNativePath(folder / "Images" / "body.png"), Filled(48, 48, 0xFF4080C0u));
      WritePng(FromNativePath(folder / "Images" / "balloon.png"), Filled(200, 64, 0xFFFFFFFFu));
    }
    SetApplicationFolder(FromNativePath(root_) + u"\\");
  }
  ~CBenchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }
  std::vector<std::u16string> names;

 private:
  std::filesystem::path root_;
};

SHeadlessOptions Options() {
  SHeadlessOptions options;
  options.keepTrace = false;
  options.runtimeDir = (std::filesystem::temp_directory_path() / "zv-bench-runtime").string();
  return options;
}

void BM_FifteenBalloonsTyping(benchmark::State& state) {
  CBenchFolder folder;
  CHeadlessPlatform platform(Options());
  CNullMainWindowHandler handler;
  IMainWindow* window = platform.Ui().CreateMainWindow({u"bench", false}, handler);
  SProgramState programState;
  SeedSharedRandom(5);
  CApplication application(platform, *window, programState, platform.Process().DesktopRect(), folder.names,
                           kCharacters);
  application.Build();
  application.ApplyScale(kScale200);

  std::vector<CBalloonMap*> balloons;
  CCharaMap& characters = application.Characters();
  for (int i = 0; i < characters.Count(); ++i) {
    if (auto* map = dynamic_cast<CBalloonMap*>(&characters.ValueAt(i)->Balloons())) balloons.push_back(map);
  }
  // The characters take their function and call the balloon; from then on only the
  // balloons run.
  for (int i = 0; i < 3; ++i) {
    for (int c = 0; c < characters.Count(); ++c) characters.ValueAt(c)->Update();
  }
  auto frame = [&] {
    for (CBalloonMap* map : balloons) map->UpdateAll();
  };
  for (int i = 0; i < 30; ++i) frame();

  for (auto _ : state) frame();

  uint64_t hits = 0;
  uint64_t misses = 0;
  for (CBalloonMap* map : balloons) {
    hits += map->Glyphs().Hits();
    misses += map->Glyphs().Misses();
  }
  state.counters["balloons"] = static_cast<double>(balloons.size());
  state.counters["glyph_hit_rate"] = hits + misses > 0 ? static_cast<double>(hits) / static_cast<double>(hits + misses) : 0.0;
  state.counters["glyphs_per_frame"] =
      static_cast<double>(hits + misses) / static_cast<double>(state.iterations() + 30);
  if (programState.errorFlag.load()) state.SkipWithError("a character failed to load");
  if (balloons.size() != kCharacters) state.SkipWithError("a character has no balloon");
}

}  // namespace

BENCHMARK(BM_FifteenBalloonsTyping)->Unit(benchmark::kMillisecond);
