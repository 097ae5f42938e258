#pragma once
// A character or balloon window on Windows: a layered pop-up tool window owned by the
// main window, updated with UpdateLayeredWindow and per-pixel alpha from a DIB section
// the frame thread fills. The system hit-tests the alpha, so clicks on fully
// transparent pixels reach what lies below.
#include "platform/win32/win32_system.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

#include "platform/layered_window.h"

class CWin32MainWindow;

class CWin32LayeredWindow final : public ILayeredWindow {
 public:
  // Registers "ImageWndClass" once. Check Alive() after construction: false when the
  // system refused the window.
  CWin32LayeredWindow(CWin32MainWindow& owner, const std::u16string& title, ILayeredWindowHandler& handler,
                      bool topmost);
  ~CWin32LayeredWindow() override;
  CWin32LayeredWindow(const CWin32LayeredWindow&) = delete;
  CWin32LayeredWindow& operator=(const CWin32LayeredWindow&) = delete;

  void Show() override;
  void Hide() override;
  bool Visible() const override { return visible_.load(std::memory_order_acquire); }
  void BringToTop() override;
  void PlaceBelow(ILayeredWindow& other) override;
  void SetTopmost(bool topmost) override;
  bool Update(const SLayeredFrame& frame) override;
  void SetCapture() override;
  void ReleaseCapture() override;
  void Destroy() override;

  HWND Handle() const { return hwnd_.load(std::memory_order_acquire); }
  bool Alive() const { return Handle() != nullptr; }
  const CWin32MainWindow& OwnerWindow() const { return owner_; }
  // Passes a command chosen in a menu shown for this window to its handler.
  void DeliverCommand(int commandId);
  void DeliverMenuOpened(intptr_t param);
  // How many full frames reached the system, and how many were only moves because the
  // pixels had not changed (frames that change nothing reach it not at all); for tests.
  uint64_t PixelUpdates() const { return pixelUpdates_.load(std::memory_order_relaxed); }
  uint64_t MoveOnlyUpdates() const { return moveUpdates_.load(std::memory_order_relaxed); }

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  // Under surfaceMutex_: makes the DIB section at least width × height.
  bool EnsureSurface(int width, int height);
  // Under surfaceMutex_: whether the frame's pixels equal those the window shows.
  bool SameAsShown(const SLayeredFrame& frame) const;
  void ReleaseSurface();

  CWin32MainWindow& owner_;
  ILayeredWindowHandler& handler_;
  std::atomic<HWND> hwnd_{nullptr};
  std::atomic<bool> visible_{false};
  bool topmost_ = false;  // main thread
  bool captured_ = false;  // main thread: the capture is one SetCapture took

  // The frame thread's surface: a top-down 32-bit DIB section selected into its own
  // memory device context.
  mutable std::mutex surfaceMutex_;
  HDC memoryDc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previousBitmap_ = nullptr;
  uint32_t* bits_ = nullptr;
  int surfaceWidth_ = 0;
  int surfaceHeight_ = 0;
  int shownWidth_ = 0;   // 0: nothing shown yet
  int shownHeight_ = 0;
  uint8_t shownAlpha_ = 255;
  SPoint shownPosition_;
  bool positionShown_ = false;  // shownPosition_ is where the window is
  std::atomic<uint64_t> pixelUpdates_{0};
  std::atomic<uint64_t> moveUpdates_{0};
};
