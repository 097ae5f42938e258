#pragma once
// A main window procedure that does nothing, for tests and benchmarks that need a main
// window only as the owner of layered windows.
#include "platform/user_interface.h"

class CNullMainWindowHandler final : public IMainWindowHandler {
 public:
  void OnCreate(IMainWindow&) override {}
  void OnDestroy() override {}
  void OnTimer(int) override {}
  void OnAppMessage(uint32_t, intptr_t) override {}
  void OnCommand(int) override {}
};
