#pragma once
// CDesktopArea: the move-range window. It covers the move range when shown, follows the
// user's drags within the desktop (never below 320 × 320 by its borders), shows its own
// position and size, and offers four buttons; confirming hands its rectangle to the
// application as the new move range. The window itself is the backend's; this object
// keeps its rectangle and decides every change. Main thread.
#include <functional>

#include "platform/dialog_model.h"
#include "platform/geometry.h"

class IMainWindow;
class ITraceSink;
class IUserInterface;

class CDesktopArea final : public IAreaWindowHandler {
 public:
  using FConfirm = std::function<void(const SRect& moveRange)>;

  // Creates the hidden window at `moveRange`; `onConfirm` receives the confirmed rectangle.
  CDesktopArea(IUserInterface& ui, IMainWindow& owner, ITraceSink& trace, const SRect& desktop,
               const SRect& moveRange, FConfirm onConfirm);
  ~CDesktopArea() override;
  CDesktopArea(const CDesktopArea&) = delete;
  CDesktopArea& operator=(const CDesktopArea&) = delete;

  // Places the window on `moveRange`, topmost, and shows it.
  void Show(const SRect& moveRange);
  bool Visible() const { return visible_; }
  // Where the window is, or was when it was hidden.
  const SRect& Rect() const { return rect_; }
  // What the window shows at its rectangle.
  SAreaView View() const;

  SRect OnMoving(const SRect& proposed) override;
  SRect OnSizing(const SRect& proposed) override;
  void OnButton(int buttonId) override;

 private:
  // Takes `rect` as the window's rectangle; a change is traced and shown.
  void SetRect(const SRect& rect);
  void Hide();

  ITraceSink& trace_;
  IAreaWindow* window_ = nullptr;  // null when the backend could not make one
  SRect desktop_;
  SRect rect_;
  bool visible_ = false;
  FConfirm onConfirm_;
};
