// zelvotta-tool run: the program's start-up, frame loop and shutdown on the headless
// platform, on a virtual clock (or the wall clock with --realtime), with scripted input
// and snapshots of the desktop between frames.
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/program.h"
#include "commands.h"
#include "headless_run_options.h"
#include "resident_memory.h"
#include "platform/headless/headless_platform.h"
#include "platform/headless/headless_ui.h"
#include "platform/headless/input_player.h"
#include "platform/headless/input_script.h"
#include "platform/headless/layered_windows.h"
#if defined(_WIN32)
#include "platform/win32/win32_platform.h"
#elif defined(ZV_HAVE_QT)
#include "platform/qt/qt_platform.h"
#endif
#include "support/file_system.h"
#include "support/utf.h"

namespace {

constexpr char kRunUsage[] =
    "usage: zelvotta-tool run [--app-dir DIR] [--frames N] [--screen WxH] [--realtime]\n"
    "                         [--trace FILE] [--input FILE] [--snapshot FRAME:FILE.png]...\n"
    "                         [--seed N] [--positions] [--platform headless|qt|win32]\n"
    "                         [-- ARGS...]\n"
    "  --input FILE       scripted input, one \"FRAME COMMAND ARGS\" a line, frames from 0:\n"
    "                     move X Y, ldown, lup, rdown, rup, menu ID, menu-close,\n"
    "                     tray left|right, command ID, dialog-ok, dialog-link,\n"
    "                     area-move L T, area-size L T R B, area-button 0-3,\n"
    "                     cpu PERCENT, clock YYYY-MM-DD HH:MM:SS;\n"
    "                     '#' starts a comment line\n"
    "  --snapshot F:PNG   writes the desktop after frame F's work (repeatable)\n"
    "  --seed N           seeds the random generator (0 to 4294967295)\n"
    "  --positions        traces every character's position after each frame\n"
    "  --memory-log FILE  writes \"FRAME KIB\" lines: the resident memory after frame 0\n"
    "                     and after every 300th frame (ten seconds of the virtual clock)\n"
    "  --platform qt      runs on the real desktop in real time (no --input, --snapshot\n"
    "                     or --screen there); win32 does the same on Windows\n"
    "  --input and --snapshot need the virtual clock, so not --realtime.\n";

int RunUsageError(const std::string& message) {
  std::fprintf(stderr, "zelvotta-tool run: %s\n%s", message.c_str(), kRunUsage);
  return 2;
}

struct SSnapshotRequest {
  uint64_t frame = 0;
  std::string file;          // as given, for messages
  std::u16string enginePath;  // converted once, before the run
};

std::optional<SSnapshotRequest> ParseSnapshot(const std::string& text) {
  const size_t colon = text.find(':');
  if (colon == std::string::npos || colon + 1 == text.size()) return std::nullopt;
  const auto frame = ParseCount(text.substr(0, colon));
  if (!frame) return std::nullopt;
  SSnapshotRequest request;
  request.frame = *frame;
  request.file = text.substr(colon + 1);
  request.enginePath = FromNativePath(std::filesystem::path(request.file));
  return request;
}

struct SRunRequest {
  // Only --trace asks for a trace; nothing reads the audio's log.
  SRunRequest() {
    platform.keepTrace = false;
    platform.keepAudioEvents = false;
  }
  SHeadlessOptions platform;
  SProgramOptions program;
  std::string appDir = ".";
  std::vector<std::u16string> programArguments;
  std::string inputFile;
  std::vector<SSnapshotRequest> snapshots;
  std::string memoryLog;
  bool desktop = false;  // --platform qt or win32
  std::string desktopName;
  bool screenGiven = false;
};

// Fills `request` from the arguments; an exit code when they are unusable.
std::optional<int> ParseRunArguments(const ToolArguments& arguments, SRunRequest& request) {
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& option = arguments[i];
    if (option == "--") {
      for (++i; i < arguments.size(); ++i) request.programArguments.push_back(FromUtf8(arguments[i]));
      break;
    }
    if (option == "--realtime") {
      request.platform.realtime = true;
      continue;
    }
    if (option == "--positions") {
      request.program.tracePositions = true;
      continue;
    }
    if (i + 1 >= arguments.size()) return RunUsageError("missing value or unknown option '" + option + "'");
    const std::string& value = arguments[++i];
    if (option == "--app-dir") {
      request.appDir = value;
    } else if (option == "--frames") {
      const auto frames = ParseCount(value);
      if (!frames) return RunUsageError("--frames needs a whole number, not '" + value + "'");
      request.platform.quitAfterFrames = *frames;
    } else if (option == "--screen") {
      const auto screen = ParseScreen(value);
      if (!screen) return RunUsageError("--screen needs WIDTHxHEIGHT, not '" + value + "'");
      request.platform.desktop = *screen;
      request.screenGiven = true;
    } else if (option == "--trace") {
      request.platform.traceFile = value;
    } else if (option == "--input") {
      request.inputFile = value;
    } else if (option == "--snapshot") {
      std::optional<SSnapshotRequest> snapshot = ParseSnapshot(value);
      if (!snapshot) return RunUsageError("--snapshot needs FRAME:FILE.png, not '" + value + "'");
      request.snapshots.push_back(std::move(*snapshot));
    } else if (option == "--platform") {
      if (value != "headless" && value != "qt" && value != "win32") {
        return RunUsageError("--platform needs headless, qt or win32, not '" + value + "'");
      }
      request.desktop = value != "headless";
      request.desktopName = value;
    } else if (option == "--memory-log") {
      request.memoryLog = value;
    } else if (option == "--seed") {
      const auto seed = ParseCount(value);
      if (!seed || *seed > 0xFFFFFFFFu) return RunUsageError("--seed needs 0 to 4294967295, not '" + value + "'");
      request.program.seed = static_cast<uint32_t>(*seed);
    } else {
      return RunUsageError("unknown option '" + option + "'");
    }
  }
  if (request.platform.realtime && (!request.inputFile.empty() || !request.snapshots.empty())) {
    return RunUsageError("--input and --snapshot need the virtual clock, not --realtime");
  }
  if (request.platform.realtime && !request.memoryLog.empty()) {
    return RunUsageError("--memory-log needs the virtual clock, not --realtime");
  }
  if (request.desktop && !request.memoryLog.empty()) {
    return RunUsageError("--memory-log is for the headless platform, not --platform " + request.desktopName);
  }
  if (request.desktop && (!request.inputFile.empty() || !request.snapshots.empty() || request.screenGiven)) {
    return RunUsageError("--input, --snapshot and --screen are for the headless platform, not --platform " +
                         request.desktopName);
  }
  return std::nullopt;
}

// Runs the program on a desktop platform with the request's path, frame limit and trace.
template <typename Platform, typename Options>
int RunOnDesktopPlatform(const SRunRequest& request, Options options) {
  options.executablePath = request.platform.executablePath;
  options.quitAfterFrames = request.platform.quitAfterFrames;
  options.traceFile = request.platform.traceFile;
  Platform platform(options);
  if (!platform.TraceFileOpen()) return RunUsageError("cannot write the trace file '" + options.traceFile + "'");
  return RunProgram(platform, request.programArguments, request.program);
}

// The run on the real desktop, through the Windows or the Linux desktop platform.
int RunOnDesktop(const SRunRequest& request) {
#if defined(_WIN32)
  if (request.desktopName != "win32") return RunUsageError("the Windows build runs on --platform win32, not qt");
  return RunOnDesktopPlatform<CWin32Platform>(request, SWin32Options{});
#elif defined(ZV_HAVE_QT)
  if (request.desktopName != "qt") return RunUsageError("the Windows platform is only in the Windows build");
  if (const std::string reason = CQtPlatform::CannotStart(); !reason.empty()) {
    return RunUsageError(reason);
  }
  return RunOnDesktopPlatform<CQtPlatform>(request, SQtOptions{});
#else
  (void)request;
  return RunUsageError("this build has no desktop platform (Qt 6 was not found)");
#endif
}

}  // namespace

int RunRunCommand(const ToolArguments& arguments) {
  SRunRequest request;
  if (std::optional<int> code = ParseRunArguments(arguments, request)) return *code;
  // The whole input is checked before anything starts, so a faulty line never cuts a
  // run short.
  std::vector<SInputCommand> commands;
  if (!request.inputFile.empty()) {
    if (std::optional<int> code = LoadInputCommands(request.inputFile, "run", RunUsageError, commands)) {
      return *code;
    }
  }

  // The program finds its data beside its executable; here that folder is --app-dir.
  const std::optional<std::u16string> executable = ExecutablePathIn(request.appDir);
  if (!executable) return RunUsageError("cannot use the application folder '" + request.appDir + "'");
  request.platform.executablePath = *executable;

  if (request.desktop) return RunOnDesktop(request);

  CHeadlessPlatform platform(request.platform);
  if (!request.platform.traceFile.empty() && !platform.TraceFileOpen()) {
    return RunUsageError("cannot write the trace file '" + request.platform.traceFile + "'");
  }

  CInputPlayer player(platform, std::move(commands), ReportIgnoredInput("run"));
  if (!request.inputFile.empty()) {
    platform.HeadlessUi().AddBeforeVirtualFrame([&player](uint64_t frame) { player.RunFrame(frame); });
  }
  bool snapshotFailed = false;
  if (!request.snapshots.empty()) {
    platform.HeadlessUi().AddAfterVirtualFrame([&](uint64_t frame) {
      for (const SSnapshotRequest& snapshot : request.snapshots) {
        if (snapshot.frame != frame) continue;
        if (!platform.Layered().WriteSnapshot(snapshot.enginePath, request.platform.desktop)) {
          std::fprintf(stderr, "zelvotta-tool run: cannot write the snapshot '%s'\n", snapshot.file.c_str());
          snapshotFailed = true;
        }
      }
    });
  }

  // Memory samples go out as they are taken: a run that is killed keeps what it logged.
  std::FILE* memoryLog = nullptr;
  if (!request.memoryLog.empty()) {
    if (!ResidentKib()) return RunUsageError("--memory-log: this system does not report resident memory");
    memoryLog = std::fopen(request.memoryLog.c_str(), "w");
    if (memoryLog == nullptr) return RunUsageError("cannot write the memory log '" + request.memoryLog + "'");
    platform.HeadlessUi().AddAfterVirtualFrame([memoryLog](uint64_t frame) {
      if (frame % 300 != 0) return;
      if (const std::optional<uint64_t> kib = ResidentKib()) {
        std::fprintf(memoryLog, "%llu %llu\n", static_cast<unsigned long long>(frame),
                     static_cast<unsigned long long>(*kib));
        std::fflush(memoryLog);
      }
    });
  }

  const int code = RunProgram(platform, request.programArguments, request.program);
  const bool memoryLogFailed = memoryLog != nullptr && std::fclose(memoryLog) != 0;
  if (memoryLogFailed) std::fprintf(stderr, "zelvotta-tool run: cannot write the memory log '%s'\n", request.memoryLog.c_str());
  return code == 0 && (snapshotFailed || memoryLogFailed) ? 1 : code;
}
