#pragma once
// The notification icon of the main window: icon 100 with the program's icon 107 at
// 16 × 16 and a tip; its mouse events come back as the tray message. Added again when
// the shell restarts (the taskbar is created anew).
#include "platform/win32/win32_system.h"

#include <string>

class CWin32TrayIcon {
 public:
  CWin32TrayIcon() = default;
  ~CWin32TrayIcon();
  CWin32TrayIcon(const CWin32TrayIcon&) = delete;
  CWin32TrayIcon& operator=(const CWin32TrayIcon&) = delete;

  // False when the shell refused the icon (no notification area); it is added again
  // when a taskbar appears.
  bool Add(HWND owner, const std::u16string& tip);
  void AddAgain();
  void Remove();

 private:
  HWND owner_ = nullptr;
  std::u16string tip_;
  bool added_ = false;
};
