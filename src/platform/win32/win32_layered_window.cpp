#include "platform/win32/win32_layered_window.h"

#include <algorithm>
#include <cstring>

#include "platform/win32/win32_main_window.h"
#include "platform/win32/win32_strings.h"

namespace {

constexpr wchar_t kImageWindowClass[] = L"ImageWndClass";
// Sent by the frame thread to the window's own thread: only that thread may destroy it.
constexpr UINT kDestroyRequest = WM_APP + 0x100;

bool RegisterImageClass(HINSTANCE instance, WNDPROC procedure) {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof(existing);
  if (GetClassInfoExW(instance, kImageWindowClass, &existing)) return true;
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadProgramIcon(32);
  windowClass.hIconSm = LoadProgramIcon(16);
  windowClass.hCursor = nullptr;  // the core sets the cursor on every WM_SETCURSOR
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  windowClass.lpszClassName = kImageWindowClass;
  return RegisterClassExW(&windowClass) != 0;
}

constexpr UINT kNoChange = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;

}  // namespace

CWin32LayeredWindow::CWin32LayeredWindow(CWin32MainWindow& owner, const std::u16string& title,
                                         ILayeredWindowHandler& handler, bool topmost)
    : owner_(owner), handler_(handler), topmost_(topmost) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  if (!RegisterImageClass(instance, &CWin32LayeredWindow::WindowProc) || !owner.Alive()) return;
  const DWORD exStyle = WS_EX_LAYERED | WS_EX_TOOLWINDOW | (topmost ? WS_EX_TOPMOST : 0);
  CreateWindowExW(exStyle, kImageWindowClass, Wide(title), WS_POPUP, 0, 0, 1, 1, owner.Handle(), nullptr, instance,
                  this);
}

CWin32LayeredWindow::~CWin32LayeredWindow() {
  if (HWND hwnd = Handle()) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    DestroyWindow(hwnd);
  }
  ReleaseSurface();
}

LRESULT CALLBACK CWin32LayeredWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* window = static_cast<CWin32LayeredWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
    window->hwnd_.store(hwnd, std::memory_order_release);
  }
  auto* window = reinterpret_cast<CWin32LayeredWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (window == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
  return window->OnMessage(hwnd, message, wParam, lParam);
}

LRESULT CWin32LayeredWindow::OnMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto mouse = [&](ELayeredMouse kind, bool withPosition) -> bool {
    const int x = withPosition ? static_cast<short>(LOWORD(lParam)) : 0;
    const int y = withPosition ? static_cast<short>(HIWORD(lParam)) : 0;
    return handler_.OnMouse(*this, kind, x, y);
  };
  switch (message) {
    case WM_SETCURSOR:
      if (mouse(ELayeredMouse::SetCursor, false)) return TRUE;
      break;
    case WM_MOUSEMOVE:
      if (mouse(ELayeredMouse::MouseMove, true)) return 0;
      break;
    case WM_LBUTTONDOWN:
      if (mouse(ELayeredMouse::LeftButtonDown, true)) return 0;
      break;
    case WM_LBUTTONUP:
      if (mouse(ELayeredMouse::LeftButtonUp, true)) return 0;
      break;
    case WM_RBUTTONDOWN:
      if (mouse(ELayeredMouse::RightButtonDown, true)) return 0;
      break;
    case WM_RBUTTONUP:
      if (mouse(ELayeredMouse::RightButtonUp, true)) return 0;
      break;
    case WM_CAPTURECHANGED:
      captured_ = false;
      if (mouse(ELayeredMouse::CaptureChanged, false)) return 0;
      break;
    case WM_EXITSIZEMOVE:
      if (mouse(ELayeredMouse::ExitSizeMove, false)) return 0;
      break;
    case WM_COMMAND:
      if (handler_.OnCommand(*this, LOWORD(wParam))) return 0;
      break;
    case WM_MOVE:
    case WM_PAINT:
      // The frame thread paints through UpdateLayeredWindow; nothing to draw here.
      ValidateRect(hwnd, nullptr);
      return 0;
    case kDestroyRequest:
      DestroyWindow(hwnd);
      return 0;
    case WM_DESTROY:
      visible_.store(false, std::memory_order_release);
      handler_.OnDestroy(*this);
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      hwnd_.store(nullptr, std::memory_order_release);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

void CWin32LayeredWindow::Show() {
  HWND hwnd = Handle();
  if (hwnd == nullptr) return;
  visible_.store(true, std::memory_order_release);
  ShowWindow(hwnd, SW_SHOWNOACTIVATE);
}

void CWin32LayeredWindow::Hide() {
  HWND hwnd = Handle();
  if (hwnd == nullptr) return;
  visible_.store(false, std::memory_order_release);
  ShowWindow(hwnd, SW_HIDE);
}

void CWin32LayeredWindow::BringToTop() {
  if (HWND hwnd = Handle()) SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, kNoChange);
}

void CWin32LayeredWindow::PlaceBelow(ILayeredWindow& other) {
  auto& above = static_cast<CWin32LayeredWindow&>(other);
  HWND hwnd = Handle();
  HWND aboveHwnd = above.Handle();
  if (hwnd == nullptr || aboveHwnd == nullptr || hwnd == aboveHwnd) return;
  // Into the other window's band first: inserting after a window alone does not move a
  // window between the bands on every system.
  if (topmost_ != above.topmost_) SetTopmost(above.topmost_);
  SetWindowPos(hwnd, aboveHwnd, 0, 0, 0, 0, kNoChange);
}

void CWin32LayeredWindow::SetTopmost(bool topmost) {
  HWND hwnd = Handle();
  if (hwnd == nullptr) return;
  topmost_ = topmost;
  SetWindowPos(hwnd, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, kNoChange);
}

bool CWin32LayeredWindow::EnsureSurface(int width, int height) {
  if (bits_ != nullptr && width <= surfaceWidth_ && height <= surfaceHeight_) return true;
  ReleaseSurface();
  // Grows to the largest frame so far, so frames that change size allocate rarely.
  const int newWidth = std::max(width, surfaceWidth_);
  const int newHeight = std::max(height, surfaceHeight_);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = newWidth;
  info.bmiHeader.biHeight = -newHeight;  // top-down rows, like the frames
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  HDC screen = GetDC(nullptr);
  memoryDc_ = CreateCompatibleDC(screen);
  ReleaseDC(nullptr, screen);
  void* bits = nullptr;
  bitmap_ = CreateDIBSection(memoryDc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (memoryDc_ == nullptr || bitmap_ == nullptr || bits == nullptr) {
    ReleaseSurface();
    return false;
  }
  previousBitmap_ = SelectObject(memoryDc_, bitmap_);
  bits_ = static_cast<uint32_t*>(bits);
  surfaceWidth_ = newWidth;
  surfaceHeight_ = newHeight;
  shownWidth_ = 0;
  shownHeight_ = 0;
  return true;
}

void CWin32LayeredWindow::ReleaseSurface() {
  if (memoryDc_ != nullptr && previousBitmap_ != nullptr) SelectObject(memoryDc_, previousBitmap_);
  if (bitmap_ != nullptr) DeleteObject(bitmap_);
  if (memoryDc_ != nullptr) DeleteDC(memoryDc_);
  memoryDc_ = nullptr;
  bitmap_ = nullptr;
  previousBitmap_ = nullptr;
  bits_ = nullptr;
  surfaceWidth_ = surfaceHeight_ = shownWidth_ = shownHeight_ = 0;
}

bool CWin32LayeredWindow::SameAsShown(const SLayeredFrame& frame) const {
  if (shownWidth_ != frame.width || shownHeight_ != frame.height || shownAlpha_ != frame.constantAlpha) return false;
  const size_t rowBytes = static_cast<size_t>(frame.width) * sizeof(uint32_t);
  for (int y = 0; y < frame.height; ++y) {
    if (std::memcmp(bits_ + static_cast<size_t>(y) * static_cast<size_t>(surfaceWidth_),
                    frame.pixels + static_cast<size_t>(y) * static_cast<size_t>(frame.stride), rowBytes) != 0) {
      return false;
    }
  }
  return true;
}

bool CWin32LayeredWindow::Update(const SLayeredFrame& frame) {
  HWND hwnd = Handle();
  if (hwnd == nullptr) return false;
  POINT position{frame.position.x, frame.position.y};
  std::lock_guard lock(surfaceMutex_);
  if (frame.pixels != nullptr) {
    if (frame.width <= 0 || frame.height <= 0 || frame.stride < frame.width) return false;
    if (!EnsureSurface(frame.width, frame.height)) return false;
    if (!SameAsShown(frame)) {
      for (int y = 0; y < frame.height; ++y) {
        std::memcpy(bits_ + static_cast<size_t>(y) * static_cast<size_t>(surfaceWidth_),
                    frame.pixels + static_cast<size_t>(y) * static_cast<size_t>(frame.stride),
                    static_cast<size_t>(frame.width) * sizeof(uint32_t));
      }
      GdiFlush();  // the DIB's bits are shared with GDI: finish our writes before it reads
      SIZE size{frame.width, frame.height};
      POINT source{0, 0};
      BLENDFUNCTION blend{AC_SRC_OVER, 0, frame.constantAlpha, AC_SRC_ALPHA};
      if (!UpdateLayeredWindow(hwnd, nullptr, &position, &size, memoryDc_, &source, 0, &blend, ULW_ALPHA)) {
        shownWidth_ = shownHeight_ = 0;
        positionShown_ = false;
        return false;
      }
      shownPosition_ = frame.position;
      positionShown_ = true;
      shownWidth_ = frame.width;
      shownHeight_ = frame.height;
      shownAlpha_ = frame.constantAlpha;
      pixelUpdates_.fetch_add(1, std::memory_order_relaxed);
      return true;
    }
  }
  // An idle window's frame changes nothing: the system hears nothing.
  if (positionShown_ && shownPosition_.x == frame.position.x && shownPosition_.y == frame.position.y) return true;
  // A move only: no device context, no size, no pixels.
  moveUpdates_.fetch_add(1, std::memory_order_relaxed);
  const bool moved =
      UpdateLayeredWindow(hwnd, nullptr, &position, nullptr, nullptr, nullptr, 0, nullptr, 0) ||
      SetWindowPos(hwnd, nullptr, position.x, position.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  positionShown_ = moved;
  if (moved) shownPosition_ = frame.position;
  return moved;
}

void CWin32LayeredWindow::SetCapture() {
  HWND hwnd = Handle();
  if (hwnd == nullptr) return;
  ::SetCapture(hwnd);
  captured_ = GetCapture() == hwnd;
}

void CWin32LayeredWindow::ReleaseCapture() {
  // Only a capture this window asked for: a pop-up menu shown for the window holds the
  // capture through it too, and releasing that one would close the menu.
  HWND hwnd = Handle();
  if (hwnd == nullptr || !captured_) return;
  captured_ = false;
  if (GetCapture() == hwnd) ::ReleaseCapture();
}

void CWin32LayeredWindow::Destroy() {
  HWND hwnd = Handle();
  if (hwnd == nullptr) return;
  if (GetWindowThreadProcessId(hwnd, nullptr) == GetCurrentThreadId()) {
    DestroyWindow(hwnd);
  } else {
    // Waits until the window's thread has destroyed it, so OnDestroy has run on return.
    SendMessageW(hwnd, kDestroyRequest, 0, 0);
  }
}

void CWin32LayeredWindow::DeliverCommand(int commandId) {
  if (Alive()) handler_.OnCommand(*this, commandId);
}

void CWin32LayeredWindow::DeliverMenuOpened(intptr_t param) {
  if (Alive()) handler_.OnMenuOpened(*this, param);
}
