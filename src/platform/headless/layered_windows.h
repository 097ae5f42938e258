#pragma once
// Layered windows without a display. Each window keeps what the last calls gave it:
// position, size, a copy of its pixels, constant alpha, visibility and its place in the
// stacking order. Tests and tools deliver mouse messages (directly, or at a desktop
// point with the system's hit test: capture first, then the topmost visible window
// whose pixel there is not fully transparent), commands and menu set-up, and take
// snapshots of the desktop.
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "media/pixel_surface.h"
#include "platform/layered_window.h"

class CHeadlessLayeredWindow;
class CWindowRegistry;

// What a headless layered window holds, as a copy.
struct SLayeredWindowState {
  SPoint position;
  int width = 1;
  int height = 1;
  uint8_t constantAlpha = 255;
  bool visible = false;
  bool topmost = false;
  bool alive = true;
  uint64_t updates = 0;  // successful Update calls
};

class CHeadlessLayeredWindows final : public ILayeredWindows {
 public:
  explicit CHeadlessLayeredWindows(CWindowRegistry& census);
  ~CHeadlessLayeredWindows() override;
  CHeadlessLayeredWindows(const CHeadlessLayeredWindows&) = delete;
  CHeadlessLayeredWindows& operator=(const CHeadlessLayeredWindows&) = delete;

  ILayeredWindow* Create(IMainWindow& owner, const std::u16string& title,
                         ILayeredWindowHandler& handler) override;

  // For tests and tools; call from the thread that runs the message loop.
  // Delivers `message` at client point x, y to `window`; false when the handler left
  // it to the default handling or the window is destroyed.
  bool DeliverMouse(ILayeredWindow& window, ELayeredMouse message, int x, int y);
  // Delivers `message` at a desktop point to the window the system would pick; returns
  // that window, or null when the point falls through to the desktop.
  ILayeredWindow* DeliverMouseAt(SPoint desktop, ELayeredMouse message);
  // What the pointer does at a desktop point, as the system reports it: the window the
  // hit test picks gets a set-cursor message, then `message` in client coordinates.
  // The capture holder gets `message` alone, as the system sends no set-cursor message
  // while a window holds the capture. Returns the window, or null.
  ILayeredWindow* DeliverPointerAt(SPoint desktop, ELayeredMouse message);
  bool DeliverCommand(ILayeredWindow& window, int commandId);
  // A menu of `window` is about to open; nothing when the window is destroyed.
  void DeliverMenuOpened(ILayeredWindow& window, intptr_t param);
  bool Alive(const ILayeredWindow& window) const;
  // The window under a desktop point by the hit test above, capture ignored.
  ILayeredWindow* WindowAt(SPoint desktop) const;
  // Live windows from the bottom of the stack to the top (topmost band last).
  std::vector<ILayeredWindow*> StackingOrder() const;
  ILayeredWindow* Captured() const;
  SLayeredWindowState State(const ILayeredWindow& window) const;
  // A copy of the window's last pixels (premultiplied, at its size).
  CPixelSurface Pixels(const ILayeredWindow& window) const;
  // Every visible window composed in stacking order over an opaque `background`, each
  // source-over with its constant alpha, clipped to `desktop`.
  CPixelSurface Snapshot(SRect desktop, uint32_t background = kSnapshotBackground) const;
  static constexpr uint32_t kSnapshotBackground = 0xFF808080u;
  // The snapshot written as PNG to `path` (engine path notation); false on failure.
  bool WriteSnapshot(const std::u16string& path, SRect desktop, uint32_t background = kSnapshotBackground) const;

  // Whether windows keep a copy of each frame's pixels (on by default). Off, Update only
  // takes the place, size and alpha, as for a display that is never looked at: the
  // benchmarks of the engine's own frame work use it. Without pixels every window pixel
  // counts as opaque for the hit test, and Pixels and Snapshot show the window clear.
  void KeepPixels(bool keep);

  // The main window `owner` moved into (or out of) the topmost band: the windows it owns
  // follow, keeping their order, and windows it creates later start in that band.
  void SetOwnerTopmost(const IMainWindow& owner, bool topmost);

  // Used by the windows.
  void Show(CHeadlessLayeredWindow& window, bool visible);
  bool IsVisible(const CHeadlessLayeredWindow& window) const;
  void BringToTop(CHeadlessLayeredWindow& window);
  void PlaceBelow(CHeadlessLayeredWindow& window, CHeadlessLayeredWindow& other);
  void SetTopmost(CHeadlessLayeredWindow& window, bool topmost);
  bool Update(CHeadlessLayeredWindow& window, const SLayeredFrame& frame);
  void SetCapture(CHeadlessLayeredWindow& window);
  void ReleaseCapture(CHeadlessLayeredWindow& window);
  void Destroy(CHeadlessLayeredWindow& window);

 private:
  void RemoveFromStackLocked(CHeadlessLayeredWindow& window);
  void InsertAtTopOfBandLocked(CHeadlessLayeredWindow& window);
  CHeadlessLayeredWindow* WindowAtLocked(SPoint desktop) const;

  CWindowRegistry& census_;
  mutable std::mutex mutex_;  // guards every window's state, the stack, the capture and keepPixels_
  bool keepPixels_ = true;
  std::vector<std::unique_ptr<CHeadlessLayeredWindow>> windows_;
  std::vector<CHeadlessLayeredWindow*> stack_;  // bottom to top
  std::vector<const IMainWindow*> topmostOwners_;
  CHeadlessLayeredWindow* captured_ = nullptr;
};
