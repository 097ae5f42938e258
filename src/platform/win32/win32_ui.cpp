#include "platform/win32/win32_ui.h"

#include "platform/frame_worker_loop.h"
#include "platform/menu_model.h"
#include "platform/trace_record.h"
#include "platform/win32/win32_area_window.h"
#include "platform/win32/win32_cursor.h"
#include "platform/win32/win32_dialogs.h"
#include "platform/win32/win32_layered_window.h"
#include "platform/win32/win32_layered_windows.h"
#include "platform/win32/win32_main_window.h"
#include "platform/win32/win32_menu.h"
#include "platform/win32/win32_strings.h"
#include "platform/win32/win32_tray_icon.h"

namespace {

constexpr int kAcceleratorsId = 109;

UINT MessageBoxIconFlag(EMessageBoxIcon icon) {
  switch (icon) {
    case EMessageBoxIcon::Error: return MB_ICONERROR;
    case EMessageBoxIcon::Warning: return MB_ICONWARNING;
    case EMessageBoxIcon::Information: return MB_ICONINFORMATION;
    case EMessageBoxIcon::None: break;
  }
  return 0;
}

HWND HandleOf(IMainWindow* window) {
  return window != nullptr ? static_cast<CWin32MainWindow*>(window)->Handle() : nullptr;
}

}  // namespace

CWin32Ui::CWin32Ui(IClock& clock, CWin32LayeredWindows& layered, ITraceSink& trace, uint64_t quitAfterFrames)
    : clock_(clock),
      layered_(layered),
      trace_(trace),
      quitAfterFrames_(quitAfterFrames),
      mainThread_(GetCurrentThreadId()),
      accelerators_(LoadAcceleratorsW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kAcceleratorsId))),
      dialogs_(std::make_unique<CWin32Dialogs>()),
      cursor_(std::make_unique<CWin32Cursor>()),
      tray_(std::make_unique<CWin32TrayIcon>()) {}

CWin32Ui::~CWin32Ui() {
  JoinFrameWorker();
  tray_.reset();
  areaWindows_.clear();
  windows_.clear();
}

IMainWindow* CWin32Ui::CreateMainWindow(const SMainWindowDesc& desc, IMainWindowHandler& handler) {
  CWin32MainWindow::SCallbacks callbacks;
  callbacks.topmostChanged = [this](CWin32MainWindow& owner, bool topmost) { layered_.SetOwnerTopmost(owner, topmost); };
  callbacks.taskbarCreated = [this](CWin32MainWindow&) { tray_->AddAgain(); };
  std::unique_ptr<CWin32MainWindow> window = CWin32MainWindow::Create(desc, handler, std::move(callbacks));
  if (!window) return nullptr;
  CWin32MainWindow* created = windows_.emplace_back(std::move(window)).get();
  mainWindow_.store(created, std::memory_order_release);
  return created;
}

int CWin32Ui::RunMessageLoop() {
  MSG message{};
  for (;;) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(message.wParam);
    if (got == -1) return 0;
    CWin32MainWindow* mainWindow = mainWindow_.load(std::memory_order_acquire);
    HWND target = mainWindow != nullptr ? mainWindow->Handle() : nullptr;
    if (accelerators_ != nullptr && target != nullptr && TranslateAcceleratorW(target, accelerators_, &message)) {
      continue;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void CWin32Ui::PostQuit(int code) {
  // To the main thread's queue, wherever the call comes from.
  if (GetCurrentThreadId() == mainThread_) {
    PostQuitMessage(code);
  } else {
    PostThreadMessageW(mainThread_, WM_QUIT, static_cast<WPARAM>(code), 0);
  }
}

bool CWin32Ui::AddTrayIcon(IMainWindow& owner, const std::u16string& tip) {
  // Without a notification area the program still runs; the icon comes with the taskbar.
  tray_->Add(HandleOf(&owner), tip);
  return true;
}

void CWin32Ui::RemoveTrayIcon(IMainWindow&) { tray_->Remove(); }

void CWin32Ui::TrackPopupMenu(const CMenuModel& menu, SPoint at, IMainWindow& owner, ILayeredWindow* commandTarget) {
  auto* target = static_cast<CWin32LayeredWindow*>(commandTarget);
  auto& mainWindow = static_cast<CWin32MainWindow&>(owner);
  // The target sets up the model (check marks, greyed items) before the menu is built.
  if (target != nullptr) target->DeliverMenuOpened(0);
  HWND menuOwner = target != nullptr && target->Alive() ? target->Handle() : mainWindow.Handle();
  if (menuOwner == nullptr) return;
  HMENU shown = BuildWin32Menu(menu);
  if (shown == nullptr) return;
  // The owner must be the foreground window, or the menu would not close when the
  // user clicks elsewhere.
  SetForegroundWindow(menuOwner);
  menuShowing_.store(true, std::memory_order_release);
  const int chosen = ::TrackPopupMenu(shown, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, 0, menuOwner,
                                      nullptr);
  menuShowing_.store(false, std::memory_order_release);
  // Lets the system finish the menu's focus change before the next one.
  PostMessageW(menuOwner, WM_NULL, 0, 0);
  DestroyMenu(shown);
  if (chosen == 0) return;
  // The menu has closed, so the handler may open the next one. A character's window
  // may be gone by now: Deliver checks.
  if (target != nullptr) {
    target->DeliverCommand(chosen);
  } else if (mainWindow.Alive()) {
    mainWindow.Handler().OnCommand(chosen);
  }
}

void CWin32Ui::MessageBox(IMainWindow* owner, const std::u16string& text, const std::u16string& caption,
                          EMessageBoxIcon icon) {
  if (trace_.Tracing()) trace_.Trace(CTraceRecord("messagebox").Add("caption", caption).Add("text", text));
  MessageBoxW(HandleOf(owner), Wide(text), Wide(caption), MB_OK | MB_SETFOREGROUND | MessageBoxIconFlag(icon));
}

void CWin32Ui::RunModalDialog(const SDialogModel& dialog, IMainWindow& owner, IDialogHandler& handler) {
  dialogs_->RunModal(dialog, HandleOf(&owner), handler);
}

void CWin32Ui::OpenUrl(const std::u16string& url) { dialogs_->OpenUrl(url); }

IAreaWindow* CWin32Ui::CreateAreaWindow(IMainWindow& owner, IAreaWindowHandler& handler) {
  std::unique_ptr<CWin32AreaWindow> window = CreateWin32AreaWindow(HandleOf(&owner), handler);
  if (!window) return nullptr;
  return areaWindows_.emplace_back(std::move(window)).get();
}

SPoint CWin32Ui::CursorPosition() {
  POINT point{};
  if (!GetCursorPos(&point)) return {};
  return SPoint{point.x, point.y};
}

void CWin32Ui::SetCursor(const SCursorImage* cursor) { cursor_->Show(cursor); }

bool CWin32Ui::IsPrimaryButtonDown() const {
  // The primary button is the right one when the user swapped the buttons.
  const int key = GetSystemMetrics(SM_SWAPBUTTON) != 0 ? VK_RBUTTON : VK_LBUTTON;
  return (GetAsyncKeyState(key) & 0x8000) != 0;
}

bool CWin32Ui::StartFrameWorker(IFrameWorker& worker) {
  if (workerThread_ != nullptr) return false;
  worker_ = &worker;
  workerThread_ = CreateThread(nullptr, 0, &CWin32Ui::WorkerEntry, this, 0, nullptr);
  if (workerThread_ == nullptr) worker_ = nullptr;
  return workerThread_ != nullptr;
}

DWORD WINAPI CWin32Ui::WorkerEntry(void* self) {
  static_cast<CWin32Ui*>(self)->RunWorker();
  return 0;
}

void CWin32Ui::RunWorker() {
  RunFrameWorkerLoop(*worker_, clock_, frames_, quitAfterFrames_, [this] {
    if (CWin32MainWindow* window = mainWindow_.load(std::memory_order_acquire)) {
      window->PostAppMessage(kQuitRequestMessage, 0);
    }
  });
}

void CWin32Ui::JoinFrameWorker() {
  if (workerThread_ == nullptr) return;
  // The frame thread's window updates and destroy requests are messages sent to this
  // thread: keep answering them while waiting, or both threads would wait forever.
  for (;;) {
    const DWORD result = MsgWaitForMultipleObjects(1, &workerThread_, FALSE, INFINITE, QS_SENDMESSAGE);
    if (result != WAIT_OBJECT_0 + 1) break;
    MSG message;
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
  CloseHandle(workerThread_);
  workerThread_ = nullptr;
  worker_ = nullptr;
}
