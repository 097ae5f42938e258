#pragma once
// The user interface without a display. Windows exist as objects with queues and
// timers; the tray icon, the cursor, the pop-up menu, the dialogs and the move-range
// window are state that tests and scripted input read and drive (an open menu stays open
// until an item is chosen or it is closed, a dialog until it is ended); message boxes
// are printed to standard error and traced. In virtual mode
// the message loop also steps the frame worker on a virtual clock, so a run is the same
// every time; in realtime mode the worker runs on a thread of its own against the
// system clock.
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "platform/headless/headless_clock.h"
#include "platform/headless/headless_dialogs.h"
#include "platform/headless/headless_main_window.h"
#include "platform/headless/message_queue.h"
#include "platform/headless/timer_schedule.h"
#include "platform/menu_model.h"
#include "platform/user_interface.h"

class CHeadlessLayeredWindows;
class CTraceLog;
class CVirtualClock;
class CWindowRegistry;

class CHeadlessUi final : public IUserInterface {
 public:
  // `virtualClock` is the clock itself in virtual mode and null in realtime mode.
  CHeadlessUi(CHeadlessClock& clock, CVirtualClock* virtualClock, CWindowRegistry& registry,
              CHeadlessLayeredWindows& layered, CTraceLog& trace, uint64_t quitAfterFrames);
  ~CHeadlessUi() override;

  IMainWindow* CreateMainWindow(const SMainWindowDesc& desc, IMainWindowHandler& handler) override;
  int RunMessageLoop() override;
  void PostQuit(int code) override;
  bool AddTrayIcon(IMainWindow& owner, const std::u16string& tip) override;
  void RemoveTrayIcon(IMainWindow& owner) override;
  void TrackPopupMenu(const CMenuModel& menu, SPoint at, IMainWindow& owner, ILayeredWindow* commandTarget) override;
  bool IsPopupMenuShowing() const override { return menuShowing_.load(std::memory_order_acquire); }
  void MessageBox(IMainWindow* owner, const std::u16string& text, const std::u16string& caption,
                  EMessageBoxIcon icon) override;
  void RunModalDialog(const SDialogModel& dialog, IMainWindow& owner, IDialogHandler& handler) override {
    dialogs_.RunModal(dialog, owner, handler);
  }
  void OpenUrl(const std::u16string& url) override { dialogs_.OpenUrl(url); }
  IAreaWindow* CreateAreaWindow(IMainWindow&, IAreaWindowHandler& handler) override {
    return dialogs_.CreateAreaWindow(handler);
  }
  SPoint CursorPosition() override { return UnpackPoint(cursor_.load(std::memory_order_relaxed)); }
  void SetCursor(const SCursorImage* cursor) override { shownCursor_.store(cursor, std::memory_order_relaxed); }
  bool IsPrimaryButtonDown() const override { return primaryDown_.load(std::memory_order_relaxed); }
  bool StartFrameWorker(IFrameWorker& worker) override;
  void JoinFrameWorker() override;

  // For tests and tools.
  uint64_t FrameCount() const { return frames_.load(std::memory_order_acquire); }
  // Hooks of the virtual clock, called in the order they were added. A before-frame
  // hook runs right before each frame's work with the index of that frame (0 first):
  // where scripted input is delivered. An after-frame hook runs once the frame is done
  // and the clock has moved on, with the index of the frame just done: where the
  // platform delivers what became due meanwhile (audio buffers) and snapshots are taken.
  void AddBeforeVirtualFrame(std::function<void(uint64_t frame)> hook) {
    beforeVirtualFrame_.push_back(std::move(hook));
  }
  void AddAfterVirtualFrame(std::function<void(uint64_t frame)> hook) {
    afterVirtualFrame_.push_back(std::move(hook));
  }
  void SetCursorPosition(SPoint position) { cursor_.store(PackPoint(position), std::memory_order_relaxed); }
  void SetPrimaryButtonDown(bool down) { primaryDown_.store(down, std::memory_order_relaxed); }
  // The cursor image last set; null for the system arrow.
  const SCursorImage* ShownCursor() const { return shownCursor_.load(std::memory_order_relaxed); }
  bool HasTrayIcon() const { return trayOwner_.load(std::memory_order_acquire) != nullptr; }
  // A copy of the menu most recently tracked, as it was when it opened; null before the
  // first.
  const CMenuModel* LastTrackedMenu() const { return lastMenu_.get(); }
  // Posts a tray icon mouse event (kTrayLeftButtonDown, kTrayRightButtonDown) to the
  // icon's owner, as a click would; false when there is no icon. Safe from any thread.
  bool ClickTrayIcon(int mouseMessage);

  // The open dialogs, the recorded web addresses and the move-range window, with their
  // scripted input.
  CHeadlessDialogs& Dialogs() { return dialogs_; }

  // Scripted input, on the main thread. Each of these returns null when it acted, else
  // why there was nothing to act on (and then nothing happened).

  // The tray icon mouse event, handled by the icon's owner before this returns.
  const char* SendTrayClick(int mouseMessage);
  // Command `commandId` to the main window's handler, before this returns.
  const char* SendCommand(int commandId);
  // Chooses item `commandId` of the open menu: the menu closes, then the command
  // reaches the menu's command target, or its owner when it has none. A separator, a
  // sub-menu entry or a greyed item cannot be chosen; the menu then stays open.
  const char* ChooseMenuItem(int commandId);
  // Dismisses the open menu without a choice.
  const char* CloseMenu();

  // Used by the windows.
  void Post(CHeadlessMainWindow& window, uint32_t message, intptr_t param);
  void StartTimer(CHeadlessMainWindow& window, int timerId, uint32_t intervalMs);
  void StopTimer(CHeadlessMainWindow& window, int timerId);
  void OnWindowDestroyed(CHeadlessMainWindow& window);
  void OnTopmostChanged(CHeadlessMainWindow& window, bool topmost);

 private:
  std::optional<int> DeliverQueued();
  std::optional<int> DeliverDueTimers();
  void WaitRealtime();
  std::optional<int> StepVirtual();
  std::optional<int> AdvanceVirtual(uint64_t targetMs);
  void CountFrame();
  void ForgetMenu();
  void RunWorkerThread(IFrameWorker& worker);

  CHeadlessClock& clock_;
  CVirtualClock* virtualClock_;
  CWindowRegistry& registry_;
  CHeadlessLayeredWindows& layered_;
  CTraceLog& trace_;
  const uint64_t quitAfterFrames_;

  CMessageQueue queue_;
  CTimerSchedule timers_;  // main thread only
  std::vector<std::unique_ptr<CHeadlessMainWindow>> windows_;
  std::atomic<CHeadlessMainWindow*> mainWindow_{nullptr};
  std::atomic<CHeadlessMainWindow*> trayOwner_{nullptr};
  std::unique_ptr<CMenuModel> lastMenu_;
  // The open menu, main thread only; the core keeps the model alive while it shows.
  const CMenuModel* openMenu_ = nullptr;
  CHeadlessMainWindow* menuOwner_ = nullptr;
  ILayeredWindow* menuTarget_ = nullptr;
  std::atomic<bool> menuShowing_{false};
  CHeadlessDialogs dialogs_;
  // Both coordinates in one word, so a reader never sees x of one move and y of another.
  static uint64_t PackPoint(SPoint p) {
    return (uint64_t{static_cast<uint32_t>(p.x)} << 32) | static_cast<uint32_t>(p.y);
  }
  static SPoint UnpackPoint(uint64_t v) {
    return SPoint{static_cast<int>(static_cast<uint32_t>(v >> 32)), static_cast<int>(static_cast<uint32_t>(v))};
  }
  std::atomic<uint64_t> cursor_{0};
  std::atomic<uint64_t> frames_{0};
  std::atomic<const SCursorImage*> shownCursor_{nullptr};
  std::atomic<bool> primaryDown_{false};
  std::vector<std::function<void(uint64_t)>> beforeVirtualFrame_;
  std::vector<std::function<void(uint64_t)>> afterVirtualFrame_;

  IFrameWorker* worker_ = nullptr;  // main thread only
  bool workerBegun_ = false;        // virtual mode: Begin has run
  bool workerEnded_ = false;        // virtual mode: End has run
  std::thread workerThread_;        // realtime mode
};
