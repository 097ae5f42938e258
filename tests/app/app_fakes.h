#pragma once
// Small stand-ins for the platform and for characters, recording what the shell asks.
#include <vector>

#include "platform/audio.h"
#include "platform/clock.h"
#include "platform/system_info.h"
#include "platform/user_interface.h"
#include "runtime/character.h"

class FakeMainWindow : public IMainWindow {
 public:
  void PostAppMessage(uint32_t message, intptr_t param) override { posted.push_back({message, param}); }
  void Destroy() override { ++destroyed; }
  void BringToForeground() override { ++broughtToFront; }
  void StartTimer(int timerId, uint32_t intervalMs) override { timers.push_back({timerId, intervalMs}); }
  void StopTimer(int timerId) override { stoppedTimers.push_back(timerId); }

  std::vector<std::pair<uint32_t, intptr_t>> posted;
  std::vector<std::pair<int, uint32_t>> timers;
  std::vector<int> stoppedTimers;
  int destroyed = 0;
  int broughtToFront = 0;
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
  void TrackPopupMenu(const CMenuModel& menu, SPoint at, IMainWindow&) override {
    trackedMenus.push_back(&menu);
    trackedAt = at;
  }
  bool IsPopupMenuShowing() const override { return false; }
  void MessageBox(IMainWindow*, const std::u16string&, const std::u16string&, EMessageBoxIcon) override {}
  SPoint CursorPosition() override { return cursor; }
  bool StartFrameWorker(IFrameWorker&) override { return true; }
  void JoinFrameWorker() override {}

  std::vector<int> quitCodes;
  std::vector<const CMenuModel*> trackedMenus;
  SPoint trackedAt;
  SPoint cursor;
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

class FakeCharacter : public CCharacter {
 public:
  void InitialShow() override {}
  void Update() override {
    ++updates;
    if (ending && --framesUntilFinished <= 0) MarkFinished();
  }
  void ToggleHidden() override { ++toggles; }
  void RequestEnding() override { ending = true; }

  int updates = 0;
  int toggles = 0;
  bool ending = false;
  int framesUntilFinished = 1;
};
