#pragma once
// The main window procedure: the notification icon, the system status timer, the quit
// request and every menu command of the application.
#include "platform/menu_model.h"
#include "platform/system_info.h"
#include "platform/user_interface.h"

class CApplication;

// Timer of the main window that refreshes the system status.
constexpr int kStatusTimerId = 100;
constexpr unsigned kStatusTimerIntervalMs = 500;

struct SProgramState;

class CMainWindowProc : public IMainWindowHandler {
 public:
  CMainWindowProc(SProgramState& state, IUserInterface& ui, ISystemInfo& systemInfo);

  // The application exists from the end of start-up; until then commands do nothing.
  void SetApplication(CApplication* application) { application_ = application; }
  CMenuModel& SystemMenu() { return systemMenu_; }
  CMenuModel& ExitMenu() { return exitMenu_; }

  void OnCreate(IMainWindow& window) override;
  void OnDestroy() override;
  void OnTimer(int timerId) override;
  void OnAppMessage(uint32_t message, intptr_t param) override;
  void OnCommand(int commandId) override;

 private:
  void OnTrayMouse(int mouseMessage);
  void OpenPopupMenu(const CMenuModel& menu);

  SProgramState& state_;
  IUserInterface& ui_;
  ISystemInfo& systemInfo_;
  IMainWindow* window_ = nullptr;
  CApplication* application_ = nullptr;
  CMenuModel systemMenu_;
  CMenuModel exitMenu_;
};
