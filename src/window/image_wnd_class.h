#pragma once
// The class of all character and balloon windows: it creates their layered windows,
// keeps the registry from window to object, and is their window procedure, turning
// mouse messages and commands into the objects' operations by the routing rules.
// Everything here runs on the main thread; the class outlives every window object.
#include <utility>
#include <vector>

#include "platform/layered_window.h"

class CImageWnd;
class IImageWndHost;

constexpr char16_t kImageWindowTitle[] = u"Zelvotta_Character_Window";

class CImageWndClass final : public ILayeredWindowHandler {
 public:
  CImageWndClass(ILayeredWindows& windows, IMainWindow& owner, IImageWndHost& host);
  ~CImageWndClass() override = default;

  // Creates a window for `object` and registers it; null when the system refused.
  ILayeredWindow* CreateFor(CImageWnd& object);
  // Takes a window out of the registry: its messages reach only the default handling.
  void Forget(const ILayeredWindow& window);
  // The object of `window`, or null.
  CImageWnd* Find(const ILayeredWindow& window) const;
  int Count() const { return static_cast<int>(registry_.size()); }

  bool OnMouse(ILayeredWindow& window, ELayeredMouse message, int x, int y) override;
  bool OnCommand(ILayeredWindow& window, int commandId) override;
  void OnMenuOpened(ILayeredWindow& window, intptr_t param) override;
  void OnDestroy(ILayeredWindow& window) override;

 private:
  ILayeredWindows& windows_;
  IMainWindow& owner_;
  IImageWndHost& host_;
  std::vector<std::pair<const ILayeredWindow*, CImageWnd*>> registry_;  // creation order
};
