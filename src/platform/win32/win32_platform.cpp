#include "platform/win32/win32_platform.h"

#include "platform/win32/win32_system.h"

#include <commctrl.h>

#include <cstdio>

#include "platform/headless/trace_log.h"
#include "platform/win32/win32_audio.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_layered_windows.h"
#include "platform/win32/win32_process.h"
#include "platform/win32/win32_system_info.h"
#include "platform/win32/win32_text.h"
#include "platform/win32/win32_ui.h"

CWin32Platform::CWin32Platform(SWin32Options options) : options_(std::move(options)) {
  // Link and list-view controls of the about dialogs.
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LINK_CLASS | ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  trace_ = std::make_unique<CTraceLog>(options_.traceFile, /*keepLines=*/false);
  if (!options_.traceFile.empty() && !trace_->FileOpen()) {
    std::fprintf(stderr, "zelvotta: cannot open trace file %s\n", options_.traceFile.c_str());
  }
  process_ = std::make_unique<CWin32Process>(options_.executablePath);
  clock_ = std::make_unique<CWin32Clock>();
  layered_ = std::make_unique<CWin32LayeredWindows>();
  ui_ = std::make_unique<CWin32Ui>(*clock_, *layered_, *this, options_.quitAfterFrames);
  systemInfo_ = std::make_unique<CWin32SystemInfo>();
  audio_ = std::make_unique<CWin32Audio>();
  text_ = std::make_unique<CWin32Text>();
}

CWin32Platform::~CWin32Platform() {
  // The windows go before the interface that owns their owner, the main window.
  ui_->JoinFrameWorker();
  layered_.reset();
  ui_.reset();
}

IProcessServices& CWin32Platform::Process() { return *process_; }
IClock& CWin32Platform::Clock() { return *clock_; }
IUserInterface& CWin32Platform::Ui() { return *ui_; }
ISystemInfo& CWin32Platform::SystemInfo() { return *systemInfo_; }
IAudio& CWin32Platform::Audio() { return *audio_; }
ILayeredWindows& CWin32Platform::LayeredWindows() { return *layered_; }
IText& CWin32Platform::Text() { return *text_; }

void CWin32Platform::Trace(const CTraceRecord& record) {
  if (options_.traceFile.empty()) return;
  trace_->Append(record.ToJson(ui_->FrameCount()));
}

bool CWin32Platform::TraceFileOpen() const { return options_.traceFile.empty() || trace_->FileOpen(); }
