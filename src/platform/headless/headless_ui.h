#pragma once
// The user interface without a display. Windows exist as objects with queues and
// timers; the tray icon and pop-up menus are remembered for tests; message boxes are
// printed to standard error and traced. In virtual mode the message loop also steps the
// frame worker on a virtual clock, so a run is the same every time; in realtime mode
// the worker runs on a thread of its own against the system clock.
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "platform/headless/headless_clock.h"
#include "platform/headless/headless_main_window.h"
#include "platform/headless/message_queue.h"
#include "platform/headless/timer_schedule.h"
#include "platform/menu_model.h"
#include "platform/user_interface.h"

class CTraceLog;
class CVirtualClock;
class CWindowRegistry;

class CHeadlessUi final : public IUserInterface {
 public:
  // `virtualClock` is the clock itself in virtual mode and null in realtime mode.
  CHeadlessUi(CHeadlessClock& clock, CVirtualClock* virtualClock, CWindowRegistry& registry,
              CTraceLog& trace, uint64_t quitAfterFrames);
  ~CHeadlessUi() override;

  IMainWindow* CreateMainWindow(const SMainWindowDesc& desc, IMainWindowHandler& handler) override;
  int RunMessageLoop() override;
  void PostQuit(int code) override;
  bool AddTrayIcon(IMainWindow& owner, const std::u16string& tip) override;
  void RemoveTrayIcon(IMainWindow& owner) override;
  void TrackPopupMenu(const CMenuModel& menu, SPoint at, IMainWindow& owner) override;
  // No menu ever stays open without a display.
  bool IsPopupMenuShowing() const override { return false; }
  void MessageBox(IMainWindow* owner, const std::u16string& text, const std::u16string& caption,
                  EMessageBoxIcon icon) override;
  SPoint CursorPosition() override { return UnpackPoint(cursor_.load(std::memory_order_relaxed)); }
  bool StartFrameWorker(IFrameWorker& worker) override;
  void JoinFrameWorker() override;

  // For tests and tools.
  uint64_t FrameCount() const { return frames_.load(std::memory_order_acquire); }
  // Runs after every frame stepped on the virtual clock, once the clock has moved on:
  // where the platform delivers what became due meanwhile (audio buffers).
  void SetAfterVirtualFrame(std::function<void()> hook) { afterVirtualFrame_ = std::move(hook); }
  void SetCursorPosition(SPoint position) { cursor_.store(PackPoint(position), std::memory_order_relaxed); }
  bool HasTrayIcon() const { return trayOwner_.load(std::memory_order_acquire) != nullptr; }
  // A copy of the menu most recently tracked; null before the first.
  const CMenuModel* LastTrackedMenu() const { return lastMenu_.get(); }
  // Posts a tray icon mouse event (kTrayLeftButtonDown, kTrayRightButtonDown) to the
  // icon's owner, as a click would; false when there is no icon. Safe from any thread.
  bool ClickTrayIcon(int mouseMessage);

  // Used by the windows.
  void Post(CHeadlessMainWindow& window, uint32_t message, intptr_t param);
  void StartTimer(CHeadlessMainWindow& window, int timerId, uint32_t intervalMs);
  void StopTimer(CHeadlessMainWindow& window, int timerId);
  void OnWindowDestroyed(CHeadlessMainWindow& window);

 private:
  std::optional<int> DeliverQueued();
  std::optional<int> DeliverDueTimers();
  void WaitRealtime();
  std::optional<int> StepVirtual();
  std::optional<int> AdvanceVirtual(uint64_t targetMs);
  void CountFrame();
  void RunWorkerThread(IFrameWorker& worker);

  CHeadlessClock& clock_;
  CVirtualClock* virtualClock_;
  CWindowRegistry& registry_;
  CTraceLog& trace_;
  const uint64_t quitAfterFrames_;

  CMessageQueue queue_;
  CTimerSchedule timers_;  // main thread only
  std::vector<std::unique_ptr<CHeadlessMainWindow>> windows_;
  std::atomic<CHeadlessMainWindow*> mainWindow_{nullptr};
  std::atomic<CHeadlessMainWindow*> trayOwner_{nullptr};
  std::unique_ptr<CMenuModel> lastMenu_;
  // Both coordinates in one word, so a reader never sees x of one move and y of another.
  static uint64_t PackPoint(SPoint p) {
    return (uint64_t{static_cast<uint32_t>(p.x)} << 32) | static_cast<uint32_t>(p.y);
  }
  static SPoint UnpackPoint(uint64_t v) {
    return SPoint{static_cast<int>(static_cast<uint32_t>(v >> 32)), static_cast<int>(static_cast<uint32_t>(v))};
  }
  std::atomic<uint64_t> cursor_{0};
  std::atomic<uint64_t> frames_{0};
  std::function<void()> afterVirtualFrame_;

  IFrameWorker* worker_ = nullptr;  // main thread only
  bool workerBegun_ = false;        // virtual mode: Begin has run
  bool workerEnded_ = false;        // virtual mode: End has run
  std::thread workerThread_;        // realtime mode
};
