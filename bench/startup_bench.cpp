// Start-up of 15 characters, from the program's start (discovery) to the end of its
// first frame, on the headless platform: copies of the two characters we ship, each
// read, built, validated and shown. The goal is 200 ms.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <random>
#include <string>

#include "app/program.h"
#include "platform/headless/headless_platform.h"
#include "platform/headless/headless_ui.h"
#include "support/file_system.h"

namespace {

namespace fs = std::filesystem;

constexpr int kCharacters = 15;

// An application folder with 15 characters, made once and removed at exit.
struct SAppFolder {
  fs::path root = fs::temp_directory_path() / ("zv-bench-startup-" + std::to_string(std::random_device()()));
  SAppFolder() {
    const fs::path shipped = fs::path(ZV_SOURCE_DIR) / "characters";
    fs::create_directories(root / "Characters");
    for (int i = 0; i < kCharacters; ++i) {
      char name[16];
      std::snprintf(name, sizeof name, "Chara%02d", i + 1);
      fs::copy(shipped / (i % 2 == 0 ? "Walker" : "Hopper"), root / "Characters" / name, fs::copy_options::recursive);
    }
    fs::create_directories(root / "run");
    fs::permissions(root / "run", fs::perms::owner_all);
  }
  ~SAppFolder() {
    std::error_code ignored;
    fs::remove_all(root, ignored);
  }
};

void BM_StartUpToFirstFrame(benchmark::State& state) {
  static const SAppFolder app;
  for (auto _ : state) {
    fs::remove_all(app.root / "Params");  // every start is a first one
    SHeadlessOptions options;
    options.executablePath = FromNativePath(app.root / "zelvotta");
    options.runtimeDir = (app.root / "run").string();
    options.keepTrace = false;
    options.keepAudioEvents = false;
    options.quitAfterFrames = 1;
    CHeadlessPlatform platform(options);
    const auto start = std::chrono::steady_clock::now();
    std::optional<std::chrono::steady_clock::time_point> firstFrame;
    platform.HeadlessUi().AddAfterVirtualFrame([&](uint64_t) {
      if (!firstFrame) firstFrame = std::chrono::steady_clock::now();
    });
    if (RunProgram(platform, {}) != 0 || !firstFrame) {
      state.SkipWithError("the program did not reach its first frame");
      break;
    }
    state.SetIterationTime(std::chrono::duration<double>(*firstFrame - start).count());
  }
}
BENCHMARK(BM_StartUpToFirstFrame)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace
