#include "platform/win32/win32_area_window.h"

#include <string>
#include <utility>

#include "platform/win32/win32_strings.h"

namespace {

// The buttons' control ids: they are found by window, so any view id works.
constexpr int kFirstButtonControlId = 100;
constexpr COLORREF kTextColour = RGB(0, 0, 0);

SRect FromRect(const RECT& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }
RECT ToRect(const SRect& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

int NonNegative(int value) { return value < 0 ? 0 : value; }

HFONT Font() { return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

bool RegisterAreaClass(LRESULT(CALLBACK* procedure)(HWND, UINT, WPARAM, LPARAM)) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW windowClass{};
  if (GetClassInfoExW(instance, kAreaWindowClass, &windowClass)) return true;
  windowClass.cbSize = sizeof(windowClass);
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(kAreaWindowIconId));
  if (windowClass.hIcon == nullptr) windowClass.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  windowClass.lpszClassName = kAreaWindowClass;
  return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

std::unique_ptr<CWin32AreaWindow> CreateWin32AreaWindow(HWND owner, IAreaWindowHandler& handler) {
  std::unique_ptr<CWin32AreaWindow> window(new CWin32AreaWindow(handler));
  if (!window->Create(owner)) return nullptr;
  return window;
}

CWin32AreaWindow::~CWin32AreaWindow() { Destroy(); }

bool CWin32AreaWindow::Create(HWND owner) {
  if (!RegisterAreaClass(&CWin32AreaWindow::Procedure)) return false;
  HWND hwnd = CreateWindowExW(WS_EX_LAYERED | WS_EX_TOOLWINDOW, kAreaWindowClass,
                              reinterpret_cast<const wchar_t*>(kAreaWindowTitle), WS_POPUP | WS_THICKFRAME, 0, 0, 0,
                              0, owner, nullptr, GetModuleHandleW(nullptr), this);
  if (hwnd == nullptr) return false;
  // A layered window without attributes never shows.
  if (!SetLayeredWindowAttributes(hwnd, 0, kAreaWindowAlpha, LWA_ALPHA)) {
    Destroy();
    return false;
  }
  return true;
}

void CWin32AreaWindow::Show(const SAreaView& view) {
  if (hwnd_ == nullptr) return;
  if (!view.title.empty()) SetWindowTextW(hwnd_, Wide(view.title));
  SetLayeredWindowAttributes(hwnd_, 0, view.opacity, LWA_ALPHA);
  lines_ = view.lines;
  ShowButtons(view.buttons);
  // Inside a drag the loop moves the window to the handler's answer itself.
  if (!inProposal_) {
    const SRect& rect = view.rect;
    SetWindowPos(hwnd_, HWND_TOPMOST, rect.left, rect.top, NonNegative(rect.Width()), NonNegative(rect.Height()),
                 SWP_SHOWWINDOW);
  }
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void CWin32AreaWindow::Hide() {
  if (hwnd_ != nullptr) ShowWindow(hwnd_, SW_HIDE);
}

void CWin32AreaWindow::Destroy() {
  handler_ = nullptr;
  // WM_NCDESTROY forgets the window.
  if (hwnd_ != nullptr) DestroyWindow(hwnd_);
}

LRESULT CALLBACK CWin32AreaWindow::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* window = static_cast<CWin32AreaWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    window->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
  }
  auto* window = reinterpret_cast<CWin32AreaWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (window == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    window->hwnd_ = nullptr;
    window->handler_ = nullptr;
    window->buttonWindows_.clear();
    window->buttons_.clear();
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  return window->Handle(message, wParam, lParam);
}

LRESULT CWin32AreaWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCHITTEST: {
      // The background drags the window; the borders keep sizing it.
      const LRESULT hit = DefWindowProcW(hwnd_, message, wParam, lParam);
      return hit == HTCLIENT ? HTCAPTION : hit;
    }
    case WM_MOVING:
      Proposal(*reinterpret_cast<RECT*>(lParam), false);
      return TRUE;
    case WM_SIZING:
      Proposal(*reinterpret_cast<RECT*>(lParam), true);
      return TRUE;
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED) Clicked(reinterpret_cast<HWND>(lParam));
      return 0;
    case WM_CLOSE:
      // Only its buttons close the window, so the core always knows whether it shows.
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(hwnd_, &paint);
      Paint(dc);
      EndPaint(hwnd_, &paint);
      return 0;
    }
    case WM_PRINTCLIENT: {
      const auto dc = reinterpret_cast<HDC>(wParam);
      if ((lParam & PRF_ERASEBKGND) != 0) {
        RECT client;
        GetClientRect(hwnd_, &client);
        FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
      }
      Paint(dc);
      return 0;
    }
    default:
      return DefWindowProcW(hwnd_, message, wParam, lParam);
  }
}

void CWin32AreaWindow::Proposal(RECT& rect, bool sizing) {
  if (handler_ == nullptr) return;
  const bool outer = std::exchange(inProposal_, true);
  const SRect proposed = FromRect(rect);
  const SRect accepted = sizing ? handler_->OnSizing(proposed) : handler_->OnMoving(proposed);
  inProposal_ = outer;
  rect = ToRect(accepted);
}

void CWin32AreaWindow::ShowButtons(const std::vector<SAreaButton>& buttons) {
  size_t shown = 0;
  for (const SAreaButton& button : buttons) {
    if (shown == buttonWindows_.size()) {
      HWND made = CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_TABSTOP | BS_PUSHBUTTON, 0, 0, 0, 0, hwnd_,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstButtonControlId + shown)),
                                  GetModuleHandleW(nullptr), nullptr);
      if (made == nullptr) break;
      SendMessageW(made, WM_SETFONT, reinterpret_cast<WPARAM>(Font()), FALSE);
      buttonWindows_.push_back(made);
    }
    HWND window = buttonWindows_[shown];
    if (shown >= buttons_.size() || buttons_[shown].text != button.text) SetWindowTextW(window, Wide(button.text));
    const SRect& b = button.bounds;
    SetWindowPos(window, nullptr, b.left, b.top, NonNegative(b.Width()), NonNegative(b.Height()),
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    ++shown;
  }
  // Surplus buttons hide rather than go: this may run inside one of their own clicks.
  for (size_t i = shown; i < buttonWindows_.size(); ++i) ShowWindow(buttonWindows_[i], SW_HIDE);
  buttons_.assign(buttons.begin(), buttons.begin() + static_cast<std::ptrdiff_t>(shown));
}

void CWin32AreaWindow::Clicked(HWND button) {
  if (handler_ == nullptr) return;
  for (size_t i = 0; i < buttons_.size(); ++i) {
    if (buttonWindows_[i] == button) {
      handler_->OnButton(buttons_[i].id);
      return;
    }
  }
}

void CWin32AreaWindow::Paint(HDC dc) const {
  const HGDIOBJ previousFont = SelectObject(dc, Font());
  const int previousMode = SetBkMode(dc, TRANSPARENT);
  const COLORREF previousColour = SetTextColor(dc, kTextColour);
  const UINT previousAlign = SetTextAlign(dc, TA_CENTER | TA_TOP | TA_NOUPDATECP);
  for (const SAreaText& line : lines_) {
    TextOutW(dc, line.centreX, line.top, Wide(line.text), static_cast<int>(line.text.size()));
  }
  SetTextAlign(dc, previousAlign);
  SetTextColor(dc, previousColour);
  SetBkMode(dc, previousMode);
  SelectObject(dc, previousFont);
}
