#include "platform/win32/win32_tray_icon.h"

#include <shellapi.h>

#include <algorithm>

#include "platform/user_interface.h"
#include "platform/win32/win32_main_window.h"

namespace {

constexpr UINT kIconId = 100;

NOTIFYICONDATAW IconData(HWND owner) {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof(data);
  data.hWnd = owner;
  data.uID = kIconId;
  return data;
}

}  // namespace

CWin32TrayIcon::~CWin32TrayIcon() { Remove(); }

bool CWin32TrayIcon::Add(HWND owner, const std::u16string& tip) {
  owner_ = owner;
  tip_ = tip;
  NOTIFYICONDATAW data = IconData(owner);
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = kTrayMessage;
  data.hIcon = LoadProgramIcon(16);
  // The tip is cut to the field's size, always terminated.
  const size_t length = std::min(tip.size(), std::size(data.szTip) - 1);
  std::copy_n(tip.begin(), length, data.szTip);
  data.szTip[length] = L'\0';
  added_ = Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
  return added_;
}

void CWin32TrayIcon::AddAgain() {
  if (owner_ == nullptr) return;
  added_ = false;
  Add(owner_, tip_);
}

void CWin32TrayIcon::Remove() {
  if (owner_ != nullptr && added_) {
    NOTIFYICONDATAW data = IconData(owner_);
    Shell_NotifyIconW(NIM_DELETE, &data);
  }
  added_ = false;
  owner_ = nullptr;
}
