#include "platform/win32/win32_main_window.h"

#include "platform/win32/win32_strings.h"

namespace {

constexpr wchar_t kMainWindowClass[] = L"MainWndClass";
constexpr int kProgramIconId = 107;

bool RegisterMainClass(HINSTANCE instance, WNDPROC procedure) {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof(existing);
  if (GetClassInfoExW(instance, kMainWindowClass, &existing)) return true;
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadProgramIcon(32);
  windowClass.hIconSm = LoadProgramIcon(16);
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.lpszClassName = kMainWindowClass;
  return RegisterClassExW(&windowClass) != 0;
}

}  // namespace

HICON LoadProgramIcon(int size) {
  auto* icon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kProgramIconId),
                                             IMAGE_ICON, size, size, LR_SHARED));
  return icon != nullptr ? icon : LoadIconW(nullptr, IDI_APPLICATION);
}

CWin32MainWindow::CWin32MainWindow(IMainWindowHandler& handler, SCallbacks callbacks)
    : handler_(handler), callbacks_(std::move(callbacks)) {}

CWin32MainWindow::~CWin32MainWindow() {
  if (HWND hwnd = Handle()) DestroyWindow(hwnd);
}

std::unique_ptr<CWin32MainWindow> CWin32MainWindow::Create(const SMainWindowDesc& desc, IMainWindowHandler& handler,
                                                           SCallbacks callbacks) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  if (!RegisterMainClass(instance, &CWin32MainWindow::WindowProc)) return nullptr;
  std::unique_ptr<CWin32MainWindow> window(new CWin32MainWindow(handler, std::move(callbacks)));
  window->taskbarCreatedMessage_ = RegisterWindowMessageW(L"TaskbarCreated");
  // In taskbar mode an ordinary window far to the left shows only its taskbar button;
  // otherwise a tool window that is never shown, which other copies find by its title.
  const DWORD exStyle = desc.taskbarButton ? 0 : WS_EX_TOOLWINDOW;
  const DWORD style = desc.taskbarButton ? WS_OVERLAPPEDWINDOW : 0;
  const int x = desc.taskbarButton ? -10000 : 0;
  HWND hwnd = CreateWindowExW(exStyle, kMainWindowClass, Wide(desc.title), style, x, 0, 0, 0, nullptr, nullptr,
                              instance, window.get());
  if (hwnd == nullptr) return nullptr;
  if (desc.taskbarButton) ShowWindow(hwnd, SW_SHOWNOACTIVATE);
  return window;
}

LRESULT CALLBACK CWin32MainWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* window = static_cast<CWin32MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
    // Set before WM_CREATE: the handler starts its timers from OnCreate.
    window->hwnd_.store(hwnd, std::memory_order_release);
  }
  auto* window = reinterpret_cast<CWin32MainWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (window == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
  return window->OnMessage(hwnd, message, wParam, lParam);
}

LRESULT CWin32MainWindow::OnMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      handler_.OnCreate(*this);
      return 0;
    case WM_TIMER:
      handler_.OnTimer(static_cast<int>(wParam));
      return 0;
    case WM_COMMAND:
      handler_.OnCommand(LOWORD(wParam));
      return 0;
    case WM_DESTROY:
      handler_.OnDestroy();
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      hwnd_.store(nullptr, std::memory_order_release);
      if (callbacks_.destroyed) callbacks_.destroyed(*this);
      return 0;
    default:
      break;
  }
  if (message >= WM_APP && message < 0xC000) {
    handler_.OnAppMessage(message, static_cast<intptr_t>(lParam));
    return 0;
  }
  if (taskbarCreatedMessage_ != 0 && message == taskbarCreatedMessage_) {
    if (callbacks_.taskbarCreated) callbacks_.taskbarCreated(*this);
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

void CWin32MainWindow::PostAppMessage(uint32_t message, intptr_t param) {
  HWND hwnd = Handle();
  if (hwnd == nullptr) return;
  // A notify message to a window of another thread is queued and returns at once. On
  // the window's own thread it would run the window procedure there and then, inside
  // whatever the caller is doing (a window's destruction, say): it is posted instead.
  if (GetWindowThreadProcessId(hwnd, nullptr) == GetCurrentThreadId()) {
    PostMessageW(hwnd, message, 0, static_cast<LPARAM>(param));
  } else {
    SendNotifyMessageW(hwnd, message, 0, static_cast<LPARAM>(param));
  }
}

void CWin32MainWindow::Destroy() {
  HWND hwnd = Handle();
  // The owned windows go first, and their handlers may ask for the quit again.
  if (hwnd == nullptr || destroying_) return;
  destroying_ = true;
  DestroyWindow(hwnd);
}

void CWin32MainWindow::BringToForeground() {
  if (HWND hwnd = Handle(); hwnd != nullptr && IsWindowVisible(hwnd)) SetForegroundWindow(hwnd);
}

void CWin32MainWindow::SetTopmost(bool topmost) {
  HWND hwnd = Handle();
  if (hwnd == nullptr) return;
  topmost_ = topmost;
  SetWindowPos(hwnd, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  if (callbacks_.topmostChanged) callbacks_.topmostChanged(*this, topmost);
}

void CWin32MainWindow::StartTimer(int timerId, uint32_t intervalMs) {
  if (HWND hwnd = Handle()) SetTimer(hwnd, static_cast<UINT_PTR>(timerId), intervalMs, nullptr);
}

void CWin32MainWindow::StopTimer(int timerId) {
  if (HWND hwnd = Handle()) KillTimer(hwnd, static_cast<UINT_PTR>(timerId));
}
