// zelvotta-tool record: a headless run as `run` does it, kept as an animation (animated
// PNG, or GIF where giflib is built in) of the part of the desktop the characters used.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "apng_writer.h"
#include "app/program.h"
#include "commands.h"
#include "frame_recorder.h"
#include "headless_run_options.h"
#include "platform/headless/headless_platform.h"
#include "platform/headless/headless_ui.h"
#include "platform/headless/input_player.h"
#include "platform/headless/layered_windows.h"
#include "support/file_system.h"
#include "support/utf.h"
#if defined(ZV_HAVE_GIF)
#include "gif_writer.h"
#endif

namespace {

constexpr char kRecordUsage[] =
    "usage: zelvotta-tool record [--app-dir DIR] --frames N [--input FILE] [--screen WxH]\n"
    "                            [--seed N] [--every K] [--background RRGGBB|none]\n"
    "                            [-- ARGS...] OUT.gif|OUT.png\n"
    "  runs as zelvotta-tool run does and writes an animation of the part of the desktop\n"
    "  the characters' windows used: OUT.png an animated PNG, OUT.gif a GIF\n"
    "  --frames N         the frames to run (30 a second)\n"
    "  --every K          keeps one frame of every K, from frame 0 (default 3; 1 to 1800)\n"
    "  --background C     the desktop as RRGGBB (default 808080), or none: transparent\n"
    "  --input FILE       scripted input, as zelvotta-tool run reads it\n";

constexpr uint64_t kMaxEvery = 1800;  // a minute a picture; keeps every delay in range

int RecordUsageError(const std::string& message) {
  std::fprintf(stderr, "zelvotta-tool record: %s\n%s", message.c_str(), kRecordUsage);
  return 2;
}

int RecordFailure(const std::string& message) {
  std::fprintf(stderr, "zelvotta-tool record: %s\n", message.c_str());
  return 1;
}

enum class EFormat { Png, Gif };

struct SRecordRequest {
  // The trace is read afterwards for message boxes; nothing reads the audio's log.
  SRecordRequest() {
    platform.keepTrace = true;
    platform.keepAudioEvents = false;
  }
  SHeadlessOptions platform;
  SProgramOptions program;
  std::string appDir = ".";
  std::vector<std::u16string> programArguments;
  std::string inputFile;
  uint64_t every = 3;
  uint32_t background = CHeadlessLayeredWindows::kSnapshotBackground;
  std::string out;
  EFormat format = EFormat::Png;
};

// RRGGBB as an opaque pixel, or 0 (transparent) for "none".
std::optional<uint32_t> ParseBackground(const std::string& text) {
  if (text == "none") return 0u;
  if (text.size() != 6 || text.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) return std::nullopt;
  return 0xFF000000u | static_cast<uint32_t>(std::stoul(text, nullptr, 16));
}

std::optional<EFormat> FormatOf(const std::string& file) {
  std::string extension = std::filesystem::path(file).extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (extension == ".png") return EFormat::Png;
  if (extension == ".gif") return EFormat::Gif;
  return std::nullopt;
}

// OUT may stand among the options or, when it was not given before `--`, last after it.
std::optional<int> ParseRecordArguments(const ToolArguments& arguments, SRecordRequest& request) {
  bool framesGiven = false;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& option = arguments[i];
    if (option == "--") {
      size_t end = arguments.size();
      if (request.out.empty() && end > i + 1) request.out = arguments[--end];
      for (++i; i < end; ++i) request.programArguments.push_back(FromUtf8(arguments[i]));
      break;
    }
    if (!option.starts_with("-")) {
      if (!request.out.empty()) return RecordUsageError("one output file only, not also '" + option + "'");
      request.out = option;
      continue;
    }
    if (i + 1 >= arguments.size()) return RecordUsageError("missing value or unknown option '" + option + "'");
    const std::string& value = arguments[++i];
    if (option == "--app-dir") {
      request.appDir = value;
    } else if (option == "--frames") {
      const auto frames = ParseCount(value);
      if (!frames || *frames == 0) return RecordUsageError("--frames needs a whole number from 1, not '" + value + "'");
      request.platform.quitAfterFrames = *frames;
      framesGiven = true;
    } else if (option == "--screen") {
      const auto screen = ParseScreen(value);
      if (!screen) return RecordUsageError("--screen needs WIDTHxHEIGHT, not '" + value + "'");
      request.platform.desktop = *screen;
    } else if (option == "--input") {
      request.inputFile = value;
    } else if (option == "--seed") {
      const auto seed = ParseCount(value);
      if (!seed || *seed > 0xFFFFFFFFu) return RecordUsageError("--seed needs 0 to 4294967295, not '" + value + "'");
      request.program.seed = static_cast<uint32_t>(*seed);
    } else if (option == "--every") {
      const auto every = ParseCount(value);
      if (!every || *every == 0 || *every > kMaxEvery) {
        return RecordUsageError("--every needs 1 to " + std::to_string(kMaxEvery) + ", not '" + value + "'");
      }
      request.every = *every;
    } else if (option == "--background") {
      const auto background = ParseBackground(value);
      if (!background) return RecordUsageError("--background needs RRGGBB or none, not '" + value + "'");
      request.background = *background;
    } else {
      return RecordUsageError("unknown option '" + option + "'");
    }
  }
  if (!framesGiven) return RecordUsageError("--frames is needed");
  if (request.out.empty()) return RecordUsageError("missing the output file OUT.gif or OUT.png");
  const std::optional<EFormat> format = FormatOf(request.out);
  if (!format) return RecordUsageError("the output file needs .gif or .png, not '" + request.out + "'");
  request.format = *format;
#if !defined(ZV_HAVE_GIF)
  if (request.format == EFormat::Gif) {
    std::fputs("zelvotta-tool record: this build writes no GIF (giflib was not found); write a .png instead\n",
               stderr);
    return 2;
  }
#endif
  return std::nullopt;
}

// Whether the run showed a message box: a refusal at start-up or a character's fault,
// after which the frames show no finished run.
bool ShowedMessage(const CHeadlessPlatform& platform) {
  const std::vector<std::string> lines = platform.TraceLines();
  return std::any_of(lines.begin(), lines.end(),
                     [](const std::string& line) { return line.find("\"event\":\"messagebox\"") != line.npos; });
}

// The animation in the request's format; false with a message when it cannot be made.
bool Encode(const SRecordRequest& request, const SAnimation& animation, std::string& bytes, std::string& error) {
#if defined(ZV_HAVE_GIF)
  if (request.format == EFormat::Gif) return EncodeGif(animation, bytes, error);
#endif
  (void)request;
  if (EncodeApng(animation, bytes)) return true;
  error = "libpng failed";
  return false;
}

}  // namespace

int RunRecordCommand(const ToolArguments& arguments) {
  SRecordRequest request;
  if (std::optional<int> code = ParseRecordArguments(arguments, request)) return *code;
  std::vector<SInputCommand> commands;
  if (!request.inputFile.empty()) {
    if (std::optional<int> code = LoadInputCommands(request.inputFile, "record", RecordUsageError, commands)) {
      return *code;
    }
  }
  const std::optional<std::u16string> executable = ExecutablePathIn(request.appDir);
  if (!executable) return RecordUsageError("cannot use the application folder '" + request.appDir + "'");
  request.platform.executablePath = *executable;

  CHeadlessPlatform platform(request.platform);
  CInputPlayer player(platform, std::move(commands), ReportIgnoredInput("record"));
  if (!request.inputFile.empty()) {
    platform.HeadlessUi().AddBeforeVirtualFrame([&player](uint64_t frame) { player.RunFrame(frame); });
  }
  CFrameRecorder recorder(request.platform.desktop, request.background);
  std::string captureFailure;
  platform.HeadlessUi().AddAfterVirtualFrame([&](uint64_t frame) {
    if (frame % request.every != 0 || frame >= request.platform.quitAfterFrames || !captureFailure.empty()) return;
    try {
      recorder.Capture(platform.Layered());
    } catch (const std::exception& failure) {
      captureFailure = failure.what();  // the run goes on; nothing is written
    }
  });

  const int code = RunProgram(platform, request.programArguments, request.program);
  if (code != 0) return code;
  if (!captureFailure.empty()) return RecordFailure(captureFailure + "; nothing was written");
  if (ShowedMessage(platform)) return RecordFailure("the program showed an error message; nothing was written");
  if (recorder.FrameCount() == 0) return RecordFailure("the program ended before its first frame; nothing was written");

  const int delayTicks = static_cast<int>(request.every);
  std::string bytes;
  std::string error;
  try {
    if (!Encode(request, recorder.Animation(delayTicks), bytes, error)) {
      return RecordFailure("cannot encode '" + request.out + "': " + error);
    }
  } catch (const std::exception& failure) {
    return RecordFailure("cannot encode '" + request.out + "': " + failure.what());
  }
  if (!WriteFileAtomically(FromNativePath(std::filesystem::path(request.out)), bytes)) {
    return RecordFailure("cannot write '" + request.out + "'");
  }
  const SRect area = recorder.Area();
  if (area.right <= area.left || area.bottom <= area.top) {
    std::fputs("zelvotta-tool record: no window was visible; the animation is one pixel of background\n", stderr);
  }
  return 0;
}
