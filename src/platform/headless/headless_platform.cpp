#include "platform/headless/headless_platform.h"

#include <cstdio>

#include "platform/headless/audio_headless.h"
#include "platform/headless/headless_process.h"
#include "platform/headless/headless_ui.h"
#include "platform/headless/layered_windows.h"
#include "platform/headless/real_clock.h"
#include "platform/headless/runtime_dir.h"
#include "platform/headless/scripted_system_info.h"
#ifdef _WIN32
#include "platform/win32/win32_system_info.h"
#else
#include "platform/headless/system_info_linux.h"
#endif
#include "platform/headless/text_headless.h"
#include "platform/headless/trace_log.h"
#include "platform/headless/virtual_clock.h"
#include "platform/headless/window_registry.h"

namespace {

// A private sub-folder of the runtime folder; empty when there is none.
std::string PrivateSubDir(const std::string& runtimeDir, const char* name) {
  if (runtimeDir.empty()) return {};
  std::string path = runtimeDir + "/" + name;
  return EnsurePrivateDir(path) ? path : std::string();
}

}  // namespace

CHeadlessPlatform::CHeadlessPlatform(SHeadlessOptions options)
    : options_(std::move(options)),
      runtimeDir_(ResolveRuntimeDir(options_.runtimeDir)),
      trace_(std::make_unique<CTraceLog>(options_.traceFile, options_.keepTrace)),
      windows_(std::make_unique<CWindowRegistry>(PrivateSubDir(runtimeDir_, "windows"))),
      process_(std::make_unique<CHeadlessProcess>(PrivateSubDir(runtimeDir_, "locks"), *windows_,
                                                  options_.executablePath, options_.desktop)) {
  if (runtimeDir_.empty()) {
    std::fprintf(stderr, "zelvotta: no private runtime folder; named locks are unavailable\n");
  }
  if (!options_.traceFile.empty() && !trace_->FileOpen()) {
    std::fprintf(stderr, "zelvotta: cannot open trace file %s\n", options_.traceFile.c_str());
  }
  CHeadlessClock* clock;
  if (options_.realtime) {
    realClock_ = std::make_unique<CRealClock>();
    clock = realClock_.get();
  } else {
    virtualClock_ = std::make_unique<CVirtualClock>();
    clock = virtualClock_.get();
  }
  layered_ = std::make_unique<CHeadlessLayeredWindows>(*windows_);
  ui_ = std::make_unique<CHeadlessUi>(*clock, virtualClock_.get(), *windows_, *layered_, *trace_,
                                      options_.quitAfterFrames);
  // The machine's real figures, unless a run's input fixes the CPU usage or the time.
#ifdef _WIN32
  auto machine = std::make_unique<CWin32SystemInfo>(/*reportVersion=*/false);
#else
  auto machine = std::make_unique<CLinuxSystemInfo>();
#endif
  systemInfo_ = std::make_unique<CScriptedSystemInfo>(std::move(machine), *clock);
  audio_ = std::make_unique<CHeadlessAudio>(*clock);
  audio_->KeepEvents(options_.keepAudioEvents);
  // Against the wall clock a thread delivers the audio's notifications; on the virtual
  // clock every frame does, so runs stay repeatable.
  if (options_.realtime) {
    audio_->StartPumpThread(5);
  } else {
    ui_->AddAfterVirtualFrame([audio = audio_.get()](uint64_t) { audio->Pump(); });
  }
  text_ = std::make_unique<CHeadlessText>();
}

CHeadlessPlatform::~CHeadlessPlatform() = default;

IProcessServices& CHeadlessPlatform::Process() { return *process_; }

IClock& CHeadlessPlatform::Clock() {
  if (virtualClock_) return *virtualClock_;
  return *realClock_;
}

IUserInterface& CHeadlessPlatform::Ui() { return *ui_; }

ISystemInfo& CHeadlessPlatform::SystemInfo() { return *systemInfo_; }

CScriptedSystemInfo& CHeadlessPlatform::ScriptedSystemInfo() { return *systemInfo_; }

IAudio& CHeadlessPlatform::Audio() { return *audio_; }

ILayeredWindows& CHeadlessPlatform::LayeredWindows() { return *layered_; }

IText& CHeadlessPlatform::Text() { return *text_; }

void CHeadlessPlatform::Trace(const CTraceRecord& record) {
  trace_->Append(record.ToJson(ui_->FrameCount()));
}

uint64_t CHeadlessPlatform::FrameCount() const { return ui_->FrameCount(); }
std::vector<std::string> CHeadlessPlatform::TraceLines() const { return trace_->Lines(); }
bool CHeadlessPlatform::TraceFileOpen() const { return options_.traceFile.empty() || trace_->FileOpen(); }
void CHeadlessPlatform::SetCursorPosition(SPoint position) { ui_->SetCursorPosition(position); }
bool CHeadlessPlatform::HasTrayIcon() const { return ui_->HasTrayIcon(); }
const CMenuModel* CHeadlessPlatform::LastTrackedMenu() const { return ui_->LastTrackedMenu(); }
bool CHeadlessPlatform::ClickTrayIcon(int mouseMessage) { return ui_->ClickTrayIcon(mouseMessage); }
CWindowRegistry& CHeadlessPlatform::Windows() { return *windows_; }
CHeadlessUi& CHeadlessPlatform::HeadlessUi() { return *ui_; }
CHeadlessAudio& CHeadlessPlatform::HeadlessAudio() { return *audio_; }
CHeadlessLayeredWindows& CHeadlessPlatform::Layered() { return *layered_; }
