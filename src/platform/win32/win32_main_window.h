#pragma once
// The hidden main window: the window procedure the core implements, its timers, the
// application messages other threads send it without waiting, and the notification
// icon's callback. A tool window that is never shown, or, in taskbar mode, an ordinary
// window far off the desktop that only shows its taskbar button.
#include "platform/win32/win32_system.h"

#include <atomic>
#include <functional>
#include <memory>

#include "platform/user_interface.h"

class CWin32MainWindow final : public IMainWindow {
 public:
  struct SCallbacks {
    std::function<void(CWin32MainWindow&, bool)> topmostChanged;  // after SetTopmost
    std::function<void(CWin32MainWindow&)> taskbarCreated;        // the shell (re)started
    std::function<void(CWin32MainWindow&)> destroyed;             // after OnDestroy
  };

  // Creates the window; the handler's OnCreate runs inside. Null when the system
  // refuses the class or the window.
  static std::unique_ptr<CWin32MainWindow> Create(const SMainWindowDesc& desc, IMainWindowHandler& handler,
                                                  SCallbacks callbacks);
  ~CWin32MainWindow() override;
  CWin32MainWindow(const CWin32MainWindow&) = delete;
  CWin32MainWindow& operator=(const CWin32MainWindow&) = delete;

  void PostAppMessage(uint32_t message, intptr_t param) override;
  void Destroy() override;
  void BringToForeground() override;
  void SetTopmost(bool topmost) override;
  void StartTimer(int timerId, uint32_t intervalMs) override;
  void StopTimer(int timerId) override;

  // Null once destroyed; safe from any thread.
  HWND Handle() const { return hwnd_.load(std::memory_order_acquire); }
  bool Alive() const { return Handle() != nullptr; }
  IMainWindowHandler& Handler() { return handler_; }
  bool Topmost() const { return topmost_; }

 private:
  CWin32MainWindow(IMainWindowHandler& handler, SCallbacks callbacks);
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  IMainWindowHandler& handler_;
  SCallbacks callbacks_;
  std::atomic<HWND> hwnd_{nullptr};
  UINT taskbarCreatedMessage_ = 0;
  bool topmost_ = false;
  bool destroying_ = false;  // main thread
};

// The program's icon (resource 107) at `size` pixels, or the system's application icon
// when the executable has none.
HICON LoadProgramIcon(int size);
