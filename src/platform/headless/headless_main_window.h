#pragma once
// A main window without a display: a handler, a title in the window census, and a
// share of the message loop's queue and timers. The user interface keeps every window
// it made until it is itself destroyed, so a pointer held by the core stays valid
// after Destroy; messages to a destroyed window are dropped.
#include <atomic>

#include "platform/user_interface.h"

class CHeadlessUi;

class CHeadlessMainWindow final : public IMainWindow {
 public:
  CHeadlessMainWindow(CHeadlessUi& ui, IMainWindowHandler& handler, int registryId)
      : ui_(ui), handler_(handler), registryId_(registryId) {}

  void PostAppMessage(uint32_t message, intptr_t param) override;
  void Destroy() override;
  void BringToForeground() override {}
  void SetTopmost(bool topmost) override;
  void StartTimer(int timerId, uint32_t intervalMs) override;
  void StopTimer(int timerId) override;

  bool Alive() const { return alive_.load(std::memory_order_acquire); }
  // In the topmost band; main thread.
  bool Topmost() const { return topmost_; }
  IMainWindowHandler& Handler() { return handler_; }
  // The census id of the title, 0 when the window has none.
  int RegistryId() const { return registryId_; }

 private:
  CHeadlessUi& ui_;
  IMainWindowHandler& handler_;
  int registryId_;
  std::atomic<bool> alive_{true};
  bool topmost_ = false;
};
