// One frame of work for 15 characters on the headless desktop: every Update, paint
// included, as the frame thread runs it. Each character walks between the edges with a
// 128 x 128 motion whose frames last 3 frames and two 64 x 64 image layers. The heap
// is counted: after the first 30 frames a frame must allocate nothing.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <new>
#include <random>
#include <string>

#include "../tests/common/null_main_window_handler.h"
#include "app/application.h"
#include "app/program_state.h"
#include "media/pixel_surface.h"
#include "media/png_writer.h"
#include "platform/headless/headless_platform.h"
#include "platform/headless/layered_windows.h"
#include "script/shared_random.h"
#include "support/application_folder.h"
#include "support/file_system.h"
#include "window/command_ids.h"

namespace {
std::atomic<long> g_allocations{0};
}  // namespace

// Our operator new allocates with malloc, so free is its match; GCC cannot see that
// through the replaced operators.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size) {
  g_allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
  throw std::bad_alloc();
}
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
#pragma GCC diagnostic pop

namespace {

constexpr int kCharacters = 15;
constexpr int kWarmUpFrames = 30;

const char kScript[] = R"(
<FUNC_MOTION_REG>
<SET_CONFIG>
FuncName=walkLeft
ImageName=sheet.png
Width=128
Height=128
</SET_CONFIG>
<SET_PARAM>
0,0,-3,0,3
128,0,-3,0,3
256,0,-3,0,3
384,0,-3,0,3
</SET_PARAM>
</FUNC_MOTION_REG>
<FUNC_MOTION_REG>
<SET_CONFIG>
FuncName=walkRight
ImageName=sheet.png
Width=128
Height=128
Flip=H
</SET_CONFIG>
<SET_PARAM>
0,0,3,0,3
128,0,3,0,3
256,0,3,0,3
384,0,3,0,3
</SET_PARAM>
</FUNC_MOTION_REG>
<FUNC_IMAGE_LAYER_REG>
<SET_CONFIG>
FuncName=hat
ImageName=layers.png
Width=64
Height=64
PosX=32
PosY=0
</SET_CONFIG>
<SET_PARAM>
0,0,0,0,3
64,0,0,0,3
</SET_PARAM>
</FUNC_IMAGE_LAYER_REG>
<FUNC_IMAGE_LAYER_REG>
<SET_CONFIG>
FuncName=bag
ImageName=layers.png
Width=64
Height=64
PosX=0
PosY=64
</SET_CONFIG>
<SET_PARAM>
128,0,0,0,4
192,0,0,0,4
</SET_PARAM>
</FUNC_IMAGE_LAYER_REG>
<FUNC_ORDER_REG>
<SET_CONFIG>
FuncName=appear
FuncType=START_EVENT
FuncNameMotion=walkLeft
FuncNameImageLayer=hat,bag
TimerFrame=1
FuncListTimer=goLeft
</SET_CONFIG>
</FUNC_ORDER_REG>
<FUNC_ORDER_REG>
<SET_CONFIG>
FuncName=goLeft
FuncType=LEFT_EVENT
FuncNameMotion=walkLeft
FuncNameImageLayer=hat,bag
FuncListEvent=goRight
</SET_CONFIG>
</FUNC_ORDER_REG>
<FUNC_ORDER_REG>
<SET_CONFIG>
FuncName=goRight
FuncType=RIGHT_EVENT
FuncNameMotion=walkRight
FuncNameImageLayer=hat,bag
FuncListEvent=goLeft
</SET_CONFIG>
</FUNC_ORDER_REG>
)";

// An opaque picture with a gradient, so scaling has real work in every pixel.
CPixelSurface Gradient(int width, int height) {
  CPixelSurface image(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      image.Row(y)[x] = 0xFF000000u | static_cast<uint32_t>((x & 0xFF) << 16 | (y & 0xFF) << 8 | ((x + y) & 0xFF));
    }
  }
  return image;
}

// An application folder of 15 walkers in a temporary folder, removed afterwards.
class CBenchFolder {
 public:
  explicit CBenchFolder(const char* script) {
    std::random_device seed;
    root_ = std::filesystem::temp_directory_path() / ("zv-bench-" + std::to_string(seed()));
    for (int i = 0; i < kCharacters; ++i) {
      const std::string name = "walker" + std::to_string(i);
      names.push_back(FromNativePath(name));
      const std::filesystem::path folder = root_ / "Characters" / name;
      std::filesystem::create_directories(folder / "Scripts");
      std::filesystem::create_directories(folder / "Images");
      std::ofstream(folder / "Scripts" / "walker.func") << script;
      WritePng(FromNativePath(folder / "Images" / "sheet.png"), Gradient(512, 128));
      WritePng(FromNativePath(folder / "Images" / "layers.png"), Gradient(256, 64));
      WritePng(FromNativePath(folder / "Images" / "bubble.png"), Gradient(200, 64));
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

// The 15 characters of `script` built by the application on a headless platform
// without a trace, the shared generator seeded with `seed`.
struct SBenchApplication {
  SBenchApplication(const char* script, uint32_t seed) : folder(script), platform(Options()) {
    window = platform.Ui().CreateMainWindow({u"bench", false}, handler);
    SeedSharedRandom(seed);
    application = std::make_unique<CApplication>(platform, *window, programState, platform.Process().DesktopRect(),
                                                 folder.names, kCharacters);
    application->Build();
  }
  static SHeadlessOptions Options() {
    SHeadlessOptions options;
    options.keepTrace = false;
    options.runtimeDir = (std::filesystem::temp_directory_path() / "zv-bench-runtime").string();
    return options;
  }

  CBenchFolder folder;
  CHeadlessPlatform platform;
  CNullMainWindowHandler handler;
  IMainWindow* window = nullptr;
  SProgramState programState;
  std::unique_ptr<CApplication> application;
};

void BM_FifteenCharacterFrame(benchmark::State& state) {
  SBenchApplication bench(kScript, 1);
  CApplication& application = *bench.application;
  SProgramState& programState = bench.programState;
  application.ApplyScale(static_cast<int>(state.range(0)));

  CCharaMap& characters = application.Characters();
  for (int i = 0; i < characters.Count(); ++i) characters.ValueAt(i)->SetComposeEveryFrame(state.range(1) != 0);
  auto frame = [&] {
    for (int i = 0; i < characters.Count(); ++i) characters.ValueAt(i)->Update();
  };
  for (int i = 0; i < kWarmUpFrames; ++i) frame();

  const long before = g_allocations.load();
  for (auto _ : state) frame();
  const long allocations = g_allocations.load() - before;
  state.counters["allocations"] = static_cast<double>(allocations);
  state.counters["characters"] = characters.Count();
  if (programState.errorFlag.load()) state.SkipWithError("a character failed to load");
  if (allocations != 0) {
    std::fprintf(stderr, "%ld allocations in %lld frames\n", allocations, static_cast<long long>(state.iterations()));
    state.SkipWithError("frames allocated on the heap");
  }
}

// The walkers again, each talking all the time: a balloon over its head types a line at
// 60 characters a second, waits, clears and starts again.
std::string TalkingScript() {
  std::string script = kScript;
  for (const char* function : {"FuncName=appear\n", "FuncName=goLeft\n", "FuncName=goRight\n"}) {
    const size_t at = script.find(function) + std::strlen(function);
    script.insert(at, "CallBalloonList=talk\n");
  }
  return script + R"(
<FUNC_BALLOON_MOTION_REG>
<SET_CONFIG>
FuncName=bubble
ImageName=bubble.png
Width=200
Height=64
</SET_CONFIG>
<SET_PARAM>
0,0,0,0,1
</SET_PARAM>
</FUNC_BALLOON_MOTION_REG>
<FUNC_TEXT_STYLE_REG>
<SET_CONFIG>
FuncName=fast
FontSize=12
FontColor=navy
Speed=60
</SET_CONFIG>
</FUNC_TEXT_STYLE_REG>
<FUNC_BALLOON_ORDER_REG>
<SET_CONFIG>
FuncName=talk
FuncNameMotion=bubble
FuncNameTextStyle=fast
PosX=(chara.Width - bal.Width) / 2
PosY=0 - bal.Height
TextAreaPosX=8
TextAreaPosY=6
TextAreaWidth=192
TextAreaHeight=58
NextBalloonList=talk
</SET_CONFIG>
<SET_TEXT>
Open()
Clear()
"Walking along, talking along: the quick brown fox jumps over the lazy dog."
"\nこんにちは、今日もいい天気ですね。"
Wait(15)
</SET_TEXT>
</FUNC_BALLOON_ORDER_REG>
)";
}

void BM_FifteenCharactersTalking(benchmark::State& state) {
  const std::string script = TalkingScript();
  SBenchApplication bench(script.c_str(), 1);
  // The second argument: 1, the headless windows copy every frame as a display would
  // take it; 0, the engine's own frame work alone.
  bench.platform.Layered().KeepPixels(state.range(1) != 0);
  CApplication& application = *bench.application;
  application.ApplyScale(static_cast<int>(state.range(0)));
  CCharaMap& characters = application.Characters();
  auto frame = [&] {
    for (int i = 0; i < characters.Count(); ++i) characters.ValueAt(i)->Update();
  };
  // Long enough for every balloon to have typed its text and started over once, so
  // every glyph and surface it needs exists.
  for (int i = 0; i < 240; ++i) frame();
  const long before = g_allocations.load();
  for (auto _ : state) frame();
  const long allocations = g_allocations.load() - before;
  state.counters["allocations"] = static_cast<double>(allocations);
  if (bench.programState.errorFlag.load()) state.SkipWithError("a character failed to load");
  if (allocations != 0) {
    std::fprintf(stderr, "%ld allocations in %lld frames\n", allocations, static_cast<long long>(state.iterations()));
    state.SkipWithError("frames allocated on the heap");
  }
}
// At 200 % and at 100 %, with and without the headless windows' copies.
BENCHMARK(BM_FifteenCharactersTalking)
    ->Args({kCmdScaleFirst + 2, 1})
    ->Args({kCmdScaleFirst + 6, 1})
    ->Args({kCmdScaleFirst + 2, 0})
    ->Args({kCmdScaleFirst + 6, 0})
    ->Iterations(3000)
    ->Unit(benchmark::kMillisecond);

// Characters that stand where they started (a random place in the middle of the
// desktop) and test 4 tiny areas of their own against 4 of every other character.
const char kMeetScript[] = R"(
<FUNC_MOTION_REG>
<SET_CONFIG>
FuncName=stand
ImageName=sheet.png
Width=128
Height=128
</SET_CONFIG>
<SET_PARAM>
0,0,0,0,1
</SET_PARAM>
</FUNC_MOTION_REG>
<FUNC_HIT_AREA_REG>
<SET_CONFIG>
FuncName=a1
Width=2
Height=2
</SET_CONFIG>
</FUNC_HIT_AREA_REG>
<FUNC_HIT_AREA_REG>
<SET_CONFIG>
FuncName=a2
Width=2
Height=2
PosX=126
</SET_CONFIG>
</FUNC_HIT_AREA_REG>
<FUNC_HIT_AREA_REG>
<SET_CONFIG>
FuncName=a3
Width=2
Height=2
PosY=126
</SET_CONFIG>
</FUNC_HIT_AREA_REG>
<FUNC_HIT_AREA_REG>
<SET_CONFIG>
FuncName=a4
Width=2
Height=2
PosX=126
PosY=126
</SET_CONFIG>
</FUNC_HIT_AREA_REG>
<FUNC_HIT_EVENT_REG>
<SET_CONFIG>
FuncName=meet
HitType=HIT_CHARA
MyHitArea=a1,a2,a3,a4
TargetID=ALL
TargetHitArea=a1,a2,a3,a4
FuncListHit=stay
</SET_CONFIG>
</FUNC_HIT_EVENT_REG>
<FUNC_ORDER_REG>
<SET_CONFIG>
FuncName=stay
FuncType=START_EVENT
FuncNameMotion=stand
ListHitArea=a1,a2,a3,a4
ListHitEvent=meet
</SET_CONFIG>
</FUNC_ORDER_REG>
)";

// The frame test of 15 characters that each test 4 areas against 4 areas of all 14
// others, as Update runs it once a frame.
void BM_FifteenCharacterHitTest(benchmark::State& state) {
  SBenchApplication bench(kMeetScript, 3);
  CApplication& application = *bench.application;
  SProgramState& programState = bench.programState;
  CCharaMap& characters = application.Characters();
  for (int frame = 0; frame < 2; ++frame) {
    for (int i = 0; i < characters.Count(); ++i) characters.ValueAt(i)->Update();
  }
  int hits = 0;
  const long before = g_allocations.load();
  for (auto _ : state) {
    for (int i = 0; i < characters.Count(); ++i) hits += characters.ValueAt(i)->HitTest().FrameTest() != nullptr;
  }
  const long allocations = g_allocations.load() - before;
  state.counters["allocations"] = static_cast<double>(allocations);
  state.counters["hits_per_frame"] = static_cast<double>(hits) / static_cast<double>(state.iterations());
  if (programState.errorFlag.load()) state.SkipWithError("a character failed to load");
  if (allocations != 0) state.SkipWithError("the frame test allocated on the heap");
}
BENCHMARK(BM_FifteenCharacterHitTest)->Unit(benchmark::kMicrosecond);

// Arguments: the scale id (32778 is 200 %, 32782 100 %), and 1 to compose every frame
// even when the picture did not change (the cost without that saving).
BENCHMARK(BM_FifteenCharacterFrame)
    ->Args({kCmdScaleFirst + 2, 0})
    ->Args({kCmdScaleFirst + 6, 0})
    ->Args({kCmdScaleFirst + 2, 1})
    ->Iterations(3000)
    ->Unit(benchmark::kMillisecond);

}  // namespace
