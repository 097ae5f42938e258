#pragma once
// The user interface of the Linux desktop program: Qt's event loop as the message
// loop, the main window, the notification icon, pop-up menus, message boxes, dialogs,
// the move-range window and the cursor; the frame worker runs on a thread of its own
// against the system clock.
#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>
#include <vector>

#include "platform/user_interface.h"

class CQtAreaWindow;
class CQtCursor;
class CQtDialogs;
class CQtLayeredWindows;
class CQtMainWindow;
class CX11Display;
class IClock;
class ITraceSink;
class QMenu;
class QSystemTrayIcon;
class QTimer;

class CQtUi final : public IUserInterface {
 public:
  // `display` may be unconnected (another Qt platform): the cursor is then sampled
  // through Qt on the GUI thread. `quitAfterFrames` > 0 asks the main window to quit
  // after that many frames.
  CQtUi(IClock& clock, CX11Display& display, CQtLayeredWindows& layered, ITraceSink& trace,
        uint64_t quitAfterFrames);
  ~CQtUi() override;

  IMainWindow* CreateMainWindow(const SMainWindowDesc& desc, IMainWindowHandler& handler) override;
  int RunMessageLoop() override;
  void PostQuit(int code) override;
  bool AddTrayIcon(IMainWindow& owner, const std::u16string& tip) override;
  void RemoveTrayIcon(IMainWindow& owner) override;
  void TrackPopupMenu(const CMenuModel& menu, SPoint at, IMainWindow& owner, ILayeredWindow* commandTarget) override;
  bool IsPopupMenuShowing() const override { return menuShowing_.load(std::memory_order_acquire); }
  void MessageBox(IMainWindow* owner, const std::u16string& text, const std::u16string& caption,
                  EMessageBoxIcon icon) override;
  void RunModalDialog(const SDialogModel& dialog, IMainWindow& owner, IDialogHandler& handler) override;
  void OpenUrl(const std::u16string& url) override;
  IAreaWindow* CreateAreaWindow(IMainWindow& owner, IAreaWindowHandler& handler) override;
  SPoint CursorPosition() override;
  SPoint SampleCursorPosition() override;
  void SetCursor(const SCursorImage* cursor) override;
  bool IsPrimaryButtonDown() const override;
  bool StartFrameWorker(IFrameWorker& worker) override;
  void JoinFrameWorker() override;

  uint64_t FrameCount() const { return frames_.load(std::memory_order_acquire); }
  // Whether the notification icon is shown in a tray (false without a tray host).
  bool TrayIconShown() const;

 private:
  void RunWorker(IFrameWorker& worker);
  void MakeTrayIcon(IMainWindow& owner, const std::u16string& tip);
  void SampleQtCursor();

  IClock& clock_;
  CX11Display& display_;
  CQtLayeredWindows& layered_;
  ITraceSink& trace_;
  const uint64_t quitAfterFrames_;
  std::unique_ptr<CQtDialogs> dialogs_;
  std::unique_ptr<CQtCursor> cursor_;
  std::vector<std::unique_ptr<CQtMainWindow>> windows_;
  std::vector<std::unique_ptr<CQtAreaWindow>> areaWindows_;
  std::atomic<CQtMainWindow*> mainWindow_{nullptr};
  std::unique_ptr<QSystemTrayIcon> tray_;
  std::unique_ptr<QTimer> trayWatch_;
  bool trayAvailable_ = false;
  QMenu* openMenu_ = nullptr;  // GUI thread
  std::atomic<bool> menuShowing_{false};
  // Without an X connection of our own the GUI thread keeps the cursor position here.
  std::atomic<uint64_t> qtCursor_{0};
  std::atomic<uint64_t> frames_{0};
  std::thread worker_;
};
