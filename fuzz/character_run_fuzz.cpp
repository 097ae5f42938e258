// Runs a character that uses every kind of function for 90 frames on the headless
// desktop while arbitrary mouse, menu, tray and command input arrives: nothing may
// crash, whatever the user does and in whatever order.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/program.h"
#include "media/pixel_surface.h"
#include "media/png_writer.h"
#include "platform/headless/headless_platform.h"
#include "platform/headless/headless_ui.h"
#include "platform/headless/input_player.h"
#include "support/file_system.h"
#include "window/command_ids.h"

namespace {

constexpr uint64_t kFrames = 90;

const char kScript[] = R"(
<FUNC_MOTION_REG>
<SET_CONFIG>
FuncName=walk
ImageName=body.png
Width=32
Height=32
</SET_CONFIG>
<SET_PARAM>
0,0,-6,0,2
32,0,-6,0,2
</SET_PARAM>
</FUNC_MOTION_REG>
<FUNC_MOTION_REG>
<SET_CONFIG>
FuncName=walkBack
ImageName=body.png
Width=32
Height=32
Flip=H
</SET_CONFIG>
<SET_PARAM>
0,0,6,0,2
</SET_PARAM>
</FUNC_MOTION_REG>
<FUNC_MOTION_REG>
<SET_CONFIG>
FuncName=updown
ImageName=body.png
Width=32
Height=32
</SET_CONFIG>
<SET_PARAM>
0,0,0,-9,1
</SET_PARAM>
</FUNC_MOTION_REG>
<FUNC_IMAGE_LAYER_REG>
<SET_CONFIG>
FuncName=spark
ImageName=body.png
Width=8
Height=8
PosX=Width
PosY=2
</SET_CONFIG>
<SET_PARAM>
16,16,1,1,2
</SET_PARAM>
</FUNC_IMAGE_LAYER_REG>
<FUNC_CONDITION_EVENT_REG>
<SET_CONFIG>
FuncName=tick
IntervalType=EVERY_SECOND
Condition=Rand(3)==0
FuncListCondition=right
</SET_CONFIG>
</FUNC_CONDITION_EVENT_REG>
<FUNC_ORDER_REG>
<SET_CONFIG>
FuncName=start
FuncType=START_EVENT
FuncNameMotion=walk
FuncNameImageLayer=spark
PosX=LINE_RIGHT
PosY=LINE_BOTTOM
TimerFrame=RAND_30
FuncListTimer=left,up,down
</SET_CONFIG>
</FUNC_ORDER_REG>
<FUNC_ORDER_REG>
<SET_CONFIG>
FuncName=show
FuncType=SHOW_EVENT
FuncNameMotion=walk
TimerFrame=5
FuncListTimer=left
</SET_CONFIG>
</FUNC_ORDER_REG>
<FUNC_ORDER_REG>
<SET_CONFIG>
FuncName=left
FuncType=LEFT_EVENT
FuncNameMotion=walk
FuncNameImageLayer=spark
FuncListEvent=right*2,up,down
ListConditionEvent=tick
</SET_CONFIG>
</FUNC_ORDER_REG>
<FUNC_ORDER_REG>
<SET_CONFIG>
FuncName=right
FuncType=RIGHT_EVENT
FuncNameMotion=walkBack
FuncListEvent=left
FuncListTurn=left
</SET_CONFIG>
</FUNC_ORDER_REG>
<FUNC_ORDER_REG>
<SET_CONFIG>
FuncName=up
FuncType=LINE_UP_BOTTOM_EVENT
FuncNameMotion=updown
FuncListEvent=left
FuncListEndLine=right
</SET_CONFIG>
</FUNC_ORDER_REG>
<FUNC_ORDER_REG>
<SET_CONFIG>
FuncName=down
FuncType=LINE_DOWN_TOP_EVENT
FuncNameMotion=walk
FuncListEvent=right
FuncListEndLine=left
</SET_CONFIG>
</FUNC_ORDER_REG>
<FUNC_ORDER_REG>
<SET_CONFIG>
FuncName=held
FuncType=L_BUTTON_EVENT
FuncNameMotion=walk
FuncListEvent=dropped
</SET_CONFIG>
</FUNC_ORDER_REG>
<FUNC_ORDER_REG>
<SET_CONFIG>
FuncName=dropped
FuncType=RELEASE_EVENT
FuncNameMotion=walk
PosY=LINE_BOTTOM
TimerFrame=3
FuncListTimer=left
</SET_CONFIG>
</FUNC_ORDER_REG>
<FUNC_ORDER_REG>
<SET_CONFIG>
FuncName=menu
FuncType=MENU_EVENT
FuncNameMotion=walk
FuncListEvent=left
</SET_CONFIG>
</FUNC_ORDER_REG>
<FUNC_ORDER_REG>
<SET_CONFIG>
FuncName=custom
FuncType=CUSTOM_EVENT
FuncNameMotion=walk
MenuItemCustom="Jump"
TimerFrame=4
FuncListTimer=right
</SET_CONFIG>
</FUNC_ORDER_REG>
<FUNC_ORDER_REG>
<SET_CONFIG>
FuncName=hide
FuncType=HIDE_EVENT
FuncNameMotion=walk
TimerFrame=3
</SET_CONFIG>
</FUNC_ORDER_REG>
<FUNC_ORDER_REG>
<SET_CONFIG>
FuncName=bye
FuncType=EXIT_EVENT
FuncNameMotion=walk
TimerFrame=6
</SET_CONFIG>
</FUNC_ORDER_REG>
)";

// The commands the input may name; the rest of the id space does nothing useful.
const int kCommandIds[] = {kCmdToggleHidden, kCmdToggleMute, kCmdCustomItem, kCmdExit, kCmdQuitNow,
                           kCmdScaleFirst + 2, kCmdScaleFirst + 8, kCmdOpacityFirst + 5, kCmdLowQuality,
                           kCmdMouseDisabled, kCmdCharacterFirst, kCmdAllSoundOff, kCmdAllSoundOn, kCmdCharacterAbout};

struct SFolder {
  std::filesystem::path root;
  SFolder() {
    root = std::filesystem::temp_directory_path() / "zv-fuzz-character-run";
    const std::filesystem::path character = root / "Characters" / "Fuzzy";
    std::filesystem::create_directories(character / "Scripts");
    std::filesystem::create_directories(character / "Images");
    std::ofstream(character / "Scripts" / "fuzzy.func") << kScript;
    CPixelSurface image(64, 64);
    for (int y = 0; y < 64; ++y) {
      for (int x = 0; x < 64; ++x) image.Row(y)[x] = (x + y) % 3 == 0 ? 0u : 0xFF3366CCu;
    }
    WritePng(FromNativePath(character / "Images" / "body.png"), image);
  }
};

std::vector<SInputCommand> CommandsOf(const uint8_t* data, size_t size) {
  std::vector<SInputCommand> commands;
  int frame = 0;
  for (size_t i = 0; i + 4 <= size; i += 4) {
    SInputCommand command;
    frame += data[i] % 4;
    command.frame = frame;
    command.line = static_cast<int>(i / 4 + 1);
    command.action = static_cast<EInputAction>(data[i + 1] % 10);
    command.x = data[i + 2] * 4 - 64;
    command.y = data[i + 3] * 3 - 64;
    command.id = kCommandIds[(data[i + 2] ^ data[i + 3]) % std::size(kCommandIds)];
    commands.push_back(command);
  }
  return commands;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const SFolder folder;
  std::error_code ignored;
  std::filesystem::remove_all(folder.root / "Params", ignored);

  SHeadlessOptions options;
  options.executablePath = FromNativePath(folder.root / "zelvotta");
  options.desktop = {0, 0, 640, 480};
  options.quitAfterFrames = kFrames;
  options.keepTrace = false;
  // A census of its own, so other copies of the program on this machine never make a
  // run refuse to start.
  options.runtimeDir = (folder.root / "runtime").string();
  CHeadlessPlatform platform(options);
  CInputPlayer player(platform, CommandsOf(data, size));
  platform.HeadlessUi().AddBeforeVirtualFrame([&player](uint64_t frame) { player.RunFrame(frame); });
  SProgramOptions program;
  program.seed = 1;
  RunProgram(platform, {}, program);
  return 0;
}
