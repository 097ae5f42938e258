#pragma once
// The move-range window on Windows: a layered pop-up with a sizing border, owned by the
// main window, drawn at a constant alpha on a white background with the view's text
// lines and a push button per view button. Dragging its background moves it (the
// client area answers as a caption); the system's move and size loop hands every
// proposed rectangle to the handler and takes its answer. Main thread only.
#include "platform/win32/win32_system.h"

#include <memory>
#include <vector>

#include "platform/dialog_model.h"

inline constexpr wchar_t kAreaWindowClass[] = L"DesktopRectClass";
inline constexpr char16_t kAreaWindowTitle[] = u"移動範囲設定";
// The program's icon resource; the system's application icon when the module has none.
inline constexpr int kAreaWindowIconId = 107;
// The alpha the window has from its creation until a view says otherwise.
inline constexpr BYTE kAreaWindowAlpha = 230;

class CWin32AreaWindow final : public IAreaWindow {
 public:
  // Destroys the window when it still exists.
  ~CWin32AreaWindow() override;
  CWin32AreaWindow(const CWin32AreaWindow&) = delete;
  CWin32AreaWindow& operator=(const CWin32AreaWindow&) = delete;

  // The window's rectangle (frame included: what the move and size loop proposes) is
  // view.rect; the text and buttons are in client pixels. The window shows topmost.
  void Show(const SAreaView& view) override;
  void Hide() override;
  void Destroy() override;

  // The window, null once destroyed (by Destroy or with its owner).
  HWND Window() const { return hwnd_; }

 private:
  friend std::unique_ptr<CWin32AreaWindow> CreateWin32AreaWindow(HWND owner, IAreaWindowHandler& handler);
  explicit CWin32AreaWindow(IAreaWindowHandler& handler) : handler_(&handler) {}

  bool Create(HWND owner);
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void ShowButtons(const std::vector<SAreaButton>& buttons);
  void Paint(HDC dc) const;
  void Clicked(HWND button);
  // Passes the move or size loop's proposal through the handler and writes back its answer.
  void Proposal(RECT& rect, bool sizing);

  IAreaWindowHandler* handler_;  // null once destroyed
  HWND hwnd_ = nullptr;
  std::vector<SAreaText> lines_;
  std::vector<SAreaButton> buttons_;  // what the first buttons_.size() button windows show
  std::vector<HWND> buttonWindows_;   // made as needed, kept (hidden) when fewer are shown
  bool inProposal_ = false;           // inside OnMoving or OnSizing: the loop places the window
};

// The hidden move-range window owned by `owner`, reporting to `handler`; null when the
// system makes no window or cannot make it translucent.
std::unique_ptr<CWin32AreaWindow> CreateWin32AreaWindow(HWND owner, IAreaWindowHandler& handler);
