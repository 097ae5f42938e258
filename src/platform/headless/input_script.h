#pragma once
// Scripted input for headless runs: one command a line, "FRAME COMMAND ARGS", with the
// frame counted from 0 and never decreasing. Blank lines and lines starting with "#" are
// skipped. The whole file is checked before a run starts, so a mistake never shows up
// halfway through.
#include <string>
#include <string_view>
#include <vector>

#include "platform/system_info.h"

enum class EInputAction {
  Move,             // move X Y: the cursor to desktop X, Y
  LeftDown,         // ldown
  LeftUp,           // lup
  RightDown,        // rdown
  RightUp,          // rup
  ChooseMenuItem,   // menu ID: choose item ID of the open pop-up menu
  CloseMenu,        // menu-close: dismiss the open pop-up menu
  TrayLeftClick,    // tray left
  TrayRightClick,   // tray right
  Command,          // command ID: a command to the main window
  DialogOk,         // dialog-ok: the open dialog's OK button
  DialogLink,       // dialog-link: a click on the open dialog's link
  AreaMove,         // area-move LEFT TOP: drag the move-range window there
  AreaSize,         // area-size LEFT TOP RIGHT BOTTOM: drag its borders to that rectangle
  AreaButton,       // area-button N: press its button N (0 to 3)
  CpuUsage,         // cpu PERCENT: from now on the machine's CPU usage reads PERCENT
  Clock,            // clock YYYY-MM-DD HH:MM:SS: from now on the local time starts there
};

struct SInputCommand {
  int line = 0;   // 1-based line of the file, for messages
  int frame = 0;  // runs before this frame's work
  EInputAction action = EInputAction::Move;
  int x = 0;       // Move; AreaMove and AreaSize: left
  int y = 0;       // Move; AreaMove and AreaSize: top
  int right = 0;   // AreaSize
  int bottom = 0;  // AreaSize
  int id = 0;      // ChooseMenuItem, Command, AreaButton; CpuUsage: the percentage
  SLocalTime time;  // Clock (its weekday is left to whoever sets the time)
};

struct SInputScript {
  std::vector<SInputCommand> commands;  // in file order, so by frame
  std::string error;                    // "input line N: …"; empty when the file is sound
};

// Parses the text of an input file (UTF-8; a leading byte-order mark and CR line ends
// are accepted). On the first faulty line the result holds the error and no commands.
SInputScript ParseInputScript(std::string_view text);
