#pragma once
// Small stand-ins for the platform and for characters, recording what the shell asks.
#include <vector>

#include "platform/audio.h"
#include "platform/clock.h"
#include "platform/system_info.h"
#include "platform/user_interface.h"
#include "application_folder_scope.h"
#include "platform/headless/headless_platform.h"
#include "platform/platform.h"
#include "temp_folder.h"
#include "test_characters.h"

class FakeMainWindow : public IMainWindow {
 public:
  void PostAppMessage(uint32_t message, intptr_t param) override { posted.push_back({message, param}); }
  void Destroy() override { ++destroyed; }
  void BringToForeground() override { ++broughtToFront; }
  void SetTopmost(bool on) override { topmost = on; }
  void StartTimer(int timerId, uint32_t intervalMs) override { timers.push_back({timerId, intervalMs}); }
  void StopTimer(int timerId) override { stoppedTimers.push_back(timerId); }

  std::vector<std::pair<uint32_t, intptr_t>> posted;
  std::vector<std::pair<int, uint32_t>> timers;
  std::vector<int> stoppedTimers;
  int destroyed = 0;
  int broughtToFront = 0;
  bool topmost = false;
};

class FakeClock : public IClock {
 public:
  uint32_t Milliseconds() override { return now; }
  void Sleep(uint32_t ms) override { now += ms; }
  void BeginTimerResolution(uint32_t ms) override { resolution = static_cast<int>(ms); }
  void EndTimerResolution(uint32_t) override { resolution = 0; }

  uint32_t now = 0;
  int resolution = 0;
};

// Answers with a fixed date and counts how often the status was refreshed.
class FakeSystemInfo : public ISystemInfo {
 public:
  SLocalTime LocalTime() override {
    ++refreshes;
    return time;
  }
  std::optional<SMemoryStatus> MemoryStatus() override { return std::nullopt; }
  bool OpenCpuUsage() override { return false; }
  std::optional<int> SampleCpuUsage() override { return std::nullopt; }
  int CoreCount() override { return 2; }
  std::string CpuVendor() override { return "Unknown"; }
  uint32_t Milliseconds() override { return 0; }
  uint64_t CycleCount() override { return 0; }

  SLocalTime time{2031, 7, 4, 5, 9, 15, 0};
  int refreshes = 0;
};

class FakeUi : public IUserInterface {
 public:
  IMainWindow* CreateMainWindow(const SMainWindowDesc&, IMainWindowHandler&) override { return nullptr; }
  int RunMessageLoop() override { return 0; }
  void PostQuit(int code) override { quitCodes.push_back(code); }
  bool AddTrayIcon(IMainWindow&, const std::u16string&) override { return true; }
  void RemoveTrayIcon(IMainWindow&) override {}
  void TrackPopupMenu(const CMenuModel& menu, SPoint at, IMainWindow&, ILayeredWindow*) override {
    trackedMenus.push_back(&menu);
    trackedAt = at;
  }
  bool IsPopupMenuShowing() const override { return false; }
  void MessageBox(IMainWindow*, const std::u16string&, const std::u16string&, EMessageBoxIcon) override {}
  void RunModalDialog(const SDialogModel&, IMainWindow&, IDialogHandler&) override {}
  void OpenUrl(const std::u16string&) override {}
  IAreaWindow* CreateAreaWindow(IMainWindow&, IAreaWindowHandler&) override { return nullptr; }
  SPoint CursorPosition() override { return cursor; }
  void SetCursor(const SCursorImage* shown) override { shownCursor = shown; }
  bool IsPrimaryButtonDown() const override { return primaryDown; }
  bool StartFrameWorker(IFrameWorker&) override { return true; }
  void JoinFrameWorker() override {}

  std::vector<int> quitCodes;
  std::vector<const CMenuModel*> trackedMenus;
  SPoint trackedAt;
  SPoint cursor;
  const SCursorImage* shownCursor = nullptr;
  bool primaryDown = false;
};

// An audio system without a device: every open is counted and refused.
class FakeAudio : public IAudio {
 public:
  std::unique_ptr<IAudioOutput> Open(const SPcmFormat&, AudioBufferDone) override {
    ++opens;
    return nullptr;
  }
  int opens = 0;
};

// The headless platform with the audio and, optionally, the user interface of a test.
class FakePlatform : public IPlatform {
 public:
  explicit FakePlatform(IUserInterface* ui = nullptr) : ui_(ui), headless_(Options(runtime_)) {}
  // Locks and census in a folder of the test's own.
  static SHeadlessOptions Options(const CTempFolder& runtime) {
    SHeadlessOptions options;
    options.desktop = {0, 0, 800, 600};
    options.runtimeDir = runtime.NativeString() + "/zelvotta";
    return options;
  }
  IProcessServices& Process() override { return headless_.Process(); }
  IClock& Clock() override { return headless_.Clock(); }
  IUserInterface& Ui() override { return ui_ != nullptr ? *ui_ : headless_.Ui(); }
  ISystemInfo& SystemInfo() override { return headless_.SystemInfo(); }
  IAudio& Audio() override { return audio; }
  ILayeredWindows& LayeredWindows() override { return headless_.LayeredWindows(); }
  IText& Text() override { return headless_.Text(); }
  void Trace(const CTraceRecord& record) override { headless_.Trace(record); }
  CHeadlessPlatform& Headless() { return headless_; }

  FakeAudio audio;

 private:
  IUserInterface* ui_;
  CTempFolder runtime_;
  CHeadlessPlatform headless_;
};

// Characters in a temporary application folder: each stands still in its start function;
// one with `exitFrames` > 0 plays an exit function that long when the program ends; a
// still one shows a checkerboard.
class FakeCharacterFolders {
 public:
  void Add(const std::string& name, int exitFrames = 0) { WriteStandingCharacter(folder_, name, exitFrames); }
  void AddStill(const std::string& name) { WriteStillCharacter(folder_, name); }
  const CTempFolder& Folder() const { return folder_; }

 private:
  CTempFolder folder_;
  CApplicationFolderScope scope_{folder_.Engine() + u'\\'};
};
