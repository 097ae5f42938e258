#pragma once
// One headless layered window: its state, guarded by the set it belongs to, and the
// forwarding of the interface's calls to that set.
#include <vector>

#include "platform/headless/layered_windows.h"

class CHeadlessLayeredWindow final : public ILayeredWindow {
 public:
  CHeadlessLayeredWindow(CHeadlessLayeredWindows& owner, const IMainWindow& ownerWindow, ILayeredWindowHandler& handler,
                         int censusId)
      : owner_(owner), ownerWindow_(ownerWindow), handler_(handler), censusId_(censusId) {}

  void Show() override { owner_.Show(*this, true); }
  void Hide() override { owner_.Show(*this, false); }
  bool Visible() const override { return owner_.IsVisible(*this); }
  void BringToTop() override { owner_.BringToTop(*this); }
  void PlaceBelow(ILayeredWindow& other) override {
    owner_.PlaceBelow(*this, static_cast<CHeadlessLayeredWindow&>(other));
  }
  void SetTopmost(bool topmost) override { owner_.SetTopmost(*this, topmost); }
  bool Update(const SLayeredFrame& frame) override { return owner_.Update(*this, frame); }
  void SetCapture() override { owner_.SetCapture(*this); }
  void ReleaseCapture() override { owner_.ReleaseCapture(*this); }
  void Destroy() override { owner_.Destroy(*this); }

  ILayeredWindowHandler& Handler() { return handler_; }
  // The main window that owns this one, whose band it follows.
  const IMainWindow& OwnerWindow() const { return ownerWindow_; }
  int CensusId() const { return censusId_; }

  // Guarded by the owner's mutex.
  SLayeredWindowState state;
  std::vector<uint32_t> pixels;  // width × height, grown only when a frame is larger

 private:
  CHeadlessLayeredWindows& owner_;
  const IMainWindow& ownerWindow_;
  ILayeredWindowHandler& handler_;
  int censusId_;
};
