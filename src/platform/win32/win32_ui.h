#pragma once
// The user interface on Windows: the message loop with accelerators 109, the main
// window, the notification icon, pop-up menus, message boxes, dialogs, the move-range
// window and the cursor; the frame worker runs on a thread of its own against the
// multimedia clock.
#include "platform/win32/win32_system.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/user_interface.h"

class CWin32AreaWindow;
class CWin32Cursor;
class CWin32Dialogs;
class CWin32LayeredWindows;
class CWin32MainWindow;
class CWin32TrayIcon;
class IClock;
class ITraceSink;

class CWin32Ui final : public IUserInterface {
 public:
  // `quitAfterFrames` > 0 asks the main window to quit after that many frames.
  CWin32Ui(IClock& clock, CWin32LayeredWindows& layered, ITraceSink& trace, uint64_t quitAfterFrames);
  ~CWin32Ui() override;
  CWin32Ui(const CWin32Ui&) = delete;
  CWin32Ui& operator=(const CWin32Ui&) = delete;

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
  void SetCursor(const SCursorImage* cursor) override;
  bool IsPrimaryButtonDown() const override;
  bool StartFrameWorker(IFrameWorker& worker) override;
  void JoinFrameWorker() override;

  uint64_t FrameCount() const { return frames_.load(std::memory_order_acquire); }

 private:
  static DWORD WINAPI WorkerEntry(void* self);
  void RunWorker();

  IClock& clock_;
  CWin32LayeredWindows& layered_;
  ITraceSink& trace_;
  const uint64_t quitAfterFrames_;
  const DWORD mainThread_;
  HACCEL accelerators_ = nullptr;
  std::unique_ptr<CWin32Dialogs> dialogs_;
  std::unique_ptr<CWin32Cursor> cursor_;
  std::unique_ptr<CWin32TrayIcon> tray_;
  std::vector<std::unique_ptr<CWin32MainWindow>> windows_;
  std::vector<std::unique_ptr<CWin32AreaWindow>> areaWindows_;
  std::atomic<CWin32MainWindow*> mainWindow_{nullptr};
  std::atomic<bool> menuShowing_{false};
  std::atomic<uint64_t> frames_{0};
  IFrameWorker* worker_ = nullptr;
  HANDLE workerThread_ = nullptr;
};
