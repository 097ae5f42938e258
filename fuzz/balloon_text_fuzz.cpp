// Runs a character whose balloon shows arbitrary text for 60 frames on the headless
// desktop: the first input line adds settings to the balloon block (split at ";"), the
// rest is its text section, and the text style takes further settings from the second
// line. Text commands, line feeds, huge sizes, odd colours and calls of every kind must
// never crash; a script error ends the run with its message.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "app/program.h"
#include "media/pixel_surface.h"
#include "media/png_writer.h"
#include "platform/headless/headless_platform.h"
#include "support/file_system.h"

namespace {

constexpr uint64_t kFrames = 60;

const char kHead[] = R"(
<FUNC_MOTION_REG>
<SET_CONFIG>
FuncName=stand
ImageName=body.png
Width=32
Height=32
</SET_CONFIG>
<SET_PARAM>
0,0,1,0,2
32,0,-1,0,2
</SET_PARAM>
</FUNC_MOTION_REG>
<FUNC_ORDER_REG>
<SET_CONFIG>
FuncName=talk
FuncType=START_EVENT
FuncNameMotion=stand
PosX=300
PosY=300
TimerFrame=7
FuncListTimer=talk
CallBalloonList=say*3,other
</SET_CONFIG>
</FUNC_ORDER_REG>
<FUNC_BALLOON_MOTION_REG>
<SET_CONFIG>
FuncName=box
ImageName=body.png
Width=64
Height=48
</SET_CONFIG>
<SET_PARAM>
0,0,0,0,1
</SET_PARAM>
</FUNC_BALLOON_MOTION_REG>
<FUNC_BALLOON_ORDER_REG>
<SET_CONFIG>
FuncName=other
CallType=WAIT
FuncNameMotion=box
TextAreaWidth=60
TextAreaHeight=44
NextBalloonList=say
</SET_CONFIG>
<SET_TEXT>
Open(50)
"next"
</SET_TEXT>
</FUNC_BALLOON_ORDER_REG>
)";

struct SFolder {
  std::filesystem::path root;
  std::filesystem::path script;
  SFolder() {
    root = std::filesystem::temp_directory_path() / "zv-fuzz-balloon-text";
    const std::filesystem::path character = root / "Characters" / "Talker";
    std::filesystem::create_directories(character / "Scripts");
    std::filesystem::create_directories(character / "Images");
    script = character / "Scripts" / "talker.func";
    CPixelSurface image(64, 64);
    for (int y = 0; y < 64; ++y) {
      for (int x = 0; x < 64; ++x) image.Row(y)[x] = (x + y) % 5 == 0 ? 0u : 0xFFF0F0E0u;
    }
    WritePng(FromNativePath(character / "Images" / "body.png"), image);
  }
};

// The next line of `rest` (without its line break), consuming it.
std::string_view NextLine(std::string_view& rest) {
  const size_t end = rest.find('\n');
  const std::string_view line = rest.substr(0, end);
  rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
  return line;
}

// Settings separated by ";", one a line.
std::string SettingsOf(std::string_view line) {
  std::string settings;
  for (char c : line) settings += c == ';' ? '\n' : c;
  return settings + "\n";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const SFolder folder;
  std::error_code ignored;
  std::filesystem::remove_all(folder.root / "Params", ignored);

  std::string_view rest(reinterpret_cast<const char*>(data), size);
  const std::string_view balloonSettings = NextLine(rest);
  const std::string_view styleSettings = NextLine(rest);
  {
    std::ofstream out(folder.script, std::ios::binary | std::ios::trunc);
    out << kHead;
    out << "<FUNC_TEXT_STYLE_REG>\n<SET_CONFIG>\nFuncName=style\n" << SettingsOf(styleSettings)
        << "</SET_CONFIG>\n</FUNC_TEXT_STYLE_REG>\n";
    out << "<FUNC_BALLOON_ORDER_REG>\n<SET_CONFIG>\nFuncName=say\nFuncNameMotion=box\nFuncNameTextStyle=style\n"
           "TextAreaWidth=60\nTextAreaHeight=44\n"
        << SettingsOf(balloonSettings) << "</SET_CONFIG>\n<SET_TEXT>\n"
        << rest << "\n</SET_TEXT>\n</FUNC_BALLOON_ORDER_REG>\n";
  }

  SHeadlessOptions options;
  options.executablePath = FromNativePath(folder.root / "zelvotta");
  options.desktop = {0, 0, 640, 480};
  options.quitAfterFrames = kFrames;
  options.keepTrace = false;
  options.runtimeDir = (folder.root / "runtime").string();
  CHeadlessPlatform platform(options);
  SProgramOptions program;
  program.seed = 1;
  RunProgram(platform, {}, program);
  return 0;
}
