#include "platform/win32/win32_layered_windows.h"

#include "platform/win32/win32_layered_window.h"
#include "platform/win32/win32_main_window.h"

CWin32LayeredWindows::CWin32LayeredWindows() = default;
CWin32LayeredWindows::~CWin32LayeredWindows() = default;

ILayeredWindow* CWin32LayeredWindows::Create(IMainWindow& owner, const std::u16string& title,
                                             ILayeredWindowHandler& handler) {
  auto& mainWindow = static_cast<CWin32MainWindow&>(owner);
  auto window = std::make_unique<CWin32LayeredWindow>(mainWindow, title, handler, mainWindow.Topmost());
  if (!window->Alive()) return nullptr;
  return windows_.emplace_back(std::move(window)).get();
}

void CWin32LayeredWindows::SetOwnerTopmost(const CWin32MainWindow& owner, bool topmost) {
  for (const auto& window : windows_) {
    if (window->Alive() && &window->OwnerWindow() == &owner) window->SetTopmost(topmost);
  }
}
