#include "platform/headless/input_player.h"

#include "platform/headless/headless_platform.h"
#include "platform/headless/headless_ui.h"
#include "platform/headless/layered_windows.h"
#include "platform/headless/scripted_system_info.h"

CInputPlayer::CInputPlayer(CHeadlessPlatform& platform, std::vector<SInputCommand> commands, FIgnored onIgnored)
    : platform_(platform), commands_(std::move(commands)), onIgnored_(std::move(onIgnored)) {
  // Frame 0's machine figures hold from the start, before the program first reads them.
  std::erase_if(commands_, [this](const SInputCommand& command) {
    const bool machine = command.action == EInputAction::CpuUsage || command.action == EInputAction::Clock;
    if (command.frame != 0 || !machine) return false;
    const char* reason = Run(command);
    if (reason != nullptr && onIgnored_) onIgnored_(command, reason);
    return true;
  });
}

void CInputPlayer::RunFrame(uint64_t frame) {
  for (; next_ < commands_.size() && static_cast<uint64_t>(commands_[next_].frame) <= frame; ++next_) {
    const SInputCommand& command = commands_[next_];
    const char* reason = Run(command);
    if (reason != nullptr && onIgnored_) onIgnored_(command, reason);
  }
}

const char* CInputPlayer::Run(const SInputCommand& command) {
  CHeadlessUi& ui = platform_.HeadlessUi();
  CHeadlessLayeredWindows& layered = platform_.Layered();
  // The primary button reads as held from its press to its release, in the handlers of
  // both messages too, as the system's key state does.
  switch (command.action) {
    case EInputAction::Move:
      ui.SetCursorPosition({command.x, command.y});
      layered.DeliverPointerAt({command.x, command.y}, ELayeredMouse::MouseMove);
      return nullptr;
    case EInputAction::LeftDown:
      ui.SetPrimaryButtonDown(true);
      layered.DeliverPointerAt(ui.CursorPosition(), ELayeredMouse::LeftButtonDown);
      return nullptr;
    case EInputAction::LeftUp:
      ui.SetPrimaryButtonDown(false);
      layered.DeliverPointerAt(ui.CursorPosition(), ELayeredMouse::LeftButtonUp);
      return nullptr;
    case EInputAction::RightDown:
      layered.DeliverPointerAt(ui.CursorPosition(), ELayeredMouse::RightButtonDown);
      return nullptr;
    case EInputAction::RightUp:
      layered.DeliverPointerAt(ui.CursorPosition(), ELayeredMouse::RightButtonUp);
      return nullptr;
    case EInputAction::ChooseMenuItem:
      return ui.ChooseMenuItem(command.id);
    case EInputAction::CloseMenu:
      return ui.CloseMenu();
    case EInputAction::TrayLeftClick:
      return ui.SendTrayClick(kTrayLeftButtonDown);
    case EInputAction::TrayRightClick:
      return ui.SendTrayClick(kTrayRightButtonDown);
    case EInputAction::Command:
      return ui.SendCommand(command.id);
    case EInputAction::DialogOk:
      return ui.Dialogs().PressOk();
    case EInputAction::DialogLink:
      return ui.Dialogs().ClickLink();
    case EInputAction::AreaMove:
      return ui.Dialogs().MoveArea(command.x, command.y);
    case EInputAction::AreaSize:
      return ui.Dialogs().SizeArea({command.x, command.y, command.right, command.bottom});
    case EInputAction::AreaButton:
      return ui.Dialogs().PressAreaButton(command.id);
    case EInputAction::CpuUsage:
      platform_.ScriptedSystemInfo().SetCpuUsage(command.id);
      return nullptr;
    case EInputAction::Clock:
      return platform_.ScriptedSystemInfo().SetLocalTime(command.time) ? nullptr : "the date does not exist";
  }
  return nullptr;
}
