#include "app/main_window_proc.h"

#include "app/app_menus.h"
#include "app/application.h"
#include "app/messages.h"
#include "window/command_ids.h"
#include "app/program_state.h"
#include "script/system_status.h"

CMainWindowProc::CMainWindowProc(SProgramState& state, IUserInterface& ui, ISystemInfo& systemInfo)
    : state_(state), ui_(ui), systemInfo_(systemInfo), systemMenu_(BuildSystemMenu()), exitMenu_(BuildExitMenu()) {}

void CMainWindowProc::OnCreate(IMainWindow& window) {
  window_ = &window;
  // The scripts see a complete status from the first frame on.
  SystemStatus().Refresh(systemInfo_);
  window.StartTimer(kStatusTimerId, kStatusTimerIntervalMs);
}

void CMainWindowProc::OnDestroy() {
  if (window_) window_->StopTimer(kStatusTimerId);
  ui_.PostQuit(0);
}

void CMainWindowProc::OnTimer(int timerId) {
  if (timerId != kStatusTimerId) return;
  // The system status the scripts read is refreshed here twice a second.
  SystemStatus().Refresh(systemInfo_);
}

void CMainWindowProc::OnAppMessage(uint32_t message, intptr_t param) {
  if (message == kQuitRequestMessage) {
    if (window_) window_->Destroy();
  } else if (message == kTrayMessage) {
    OnTrayMouse(static_cast<int>(param));
  } else if (message == kButtonReleaseMessage && application_ != nullptr) {
    if (CCharacter* character = application_->CharacterOfIndex(static_cast<int>(param))) {
      character->FinishButtonRelease();
    }
  }
}

void CMainWindowProc::OnTrayMouse(int mouseMessage) {
  if (!window_) return;
  if (mouseMessage == kTrayLeftButtonDown) {
    window_->BringToForeground();
  } else if (mouseMessage == kTrayRightButtonDown) {
    const bool exiting = application_ && application_->IsExiting();
    OpenPopupMenu(exiting ? exitMenu_ : systemMenu_);
  }
}

void CMainWindowProc::OpenPopupMenu(const CMenuModel& menu) {
  if (application_ != nullptr) application_->PreparePopupMenu(menu, u"");
  window_->BringToForeground();
  // At the pointer as it is now (see CApplication::OpenPopupMenu).
  ui_.TrackPopupMenu(menu, ui_.CursorPosition(), *window_, nullptr);
}

void CMainWindowProc::OnCommand(int commandId) {
  if (commandId == kCmdQuitNow) {
    if (window_) window_->Destroy();
    return;
  }
  // Every other command acts on the application; one it does not know yet is ignored,
  // as the default window procedure would.
  if (application_) application_->HandleCommand(commandId);
}
