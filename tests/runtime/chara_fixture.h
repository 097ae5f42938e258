#pragma once
// Live characters for tests: character folders written to a temporary application
// folder, a headless platform for windows and the trace, and a host whose settings,
// cursor and work surfaces the test controls. Frames are stepped by hand.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "../chardef/test_chara_folder.h"
#include "null_main_window_handler.h"
#include "platform/headless/headless_platform.h"
#include "platform/headless/headless_ui.h"
#include "platform/headless/layered_windows.h"
#include "platform/trace_record.h"
#include "runtime/chara_host.h"
#include "runtime/chara_map.h"
#include "runtime/character.h"
#include "chardef/order_config.h"
#include "support/file_system.h"
#include "support/utf.h"
#include "script/shared_random.h"
#include "support/application_folder.h"
#include "window/image_wnd_class.h"
#include "window/image_wnd_host.h"
#include "window/work_surfaces.h"

class CTestCharaHost final : public ICharaHost, public IImageWndHost {
 public:
  explicit CTestCharaHost(CHeadlessPlatform& platform) : platform_(platform) {}

  SRect MoveRange() const override { return moveRange; }
  int ScaleId() const override { return 32782; }
  double ScaleFactor() const override { return scale; }
  int OpacityId() const override { return 32787; }
  bool LowQuality() const override { return false; }
  bool OpacityInPixels() const override { return false; }
  bool MouseEnabled() const override { return true; }
  CWorkSurfaces* WorkSurfaces() override { return surfaces.get(); }
  SPoint CursorSample() const override { return cursor; }
  IAudio& Audio() override { return platform_.Audio(); }
  IText& Text() override { return platform_.Text(); }
  IUserInterface& Ui() override { return platform_.Ui(); }
  ITraceSink& Trace() override { return platform_; }
  std::u16string ParamsFolder() const override { return ApplicationFolder() + u"Params\\"; }
  void ReportFatalError(ILayeredWindow*, const std::u16string& message) override { errors.push_back(message); }
  void PostButtonRelease(CCharacter& character) override { character.FinishButtonRelease(); }
  void OpenPopupMenu(const CMenuModel& menu, const std::u16string&, ILayeredWindow* target) override {
    platform_.Ui().TrackPopupMenu(menu, cursor, *mainWindow, target);
  }
  const CMenuModel& ApplicationMenu() override { return appMenu; }
  bool ApplicationCommand(int commandId) override {
    commands.push_back(commandId);
    return false;
  }
  bool ShowCharacterAbout(CCharacter&) override { return false; }
  std::unique_ptr<ICharaBalloons> MakeBalloons(CCharacter& character) override {
    return makeBalloons ? makeBalloons(character) : ICharaHost::MakeBalloons(character);
  }
  void QuitNow() override {}
  void PostQuit(int) override {}

  SRect moveRange{0, 0, 800, 600};
  double scale = 1.0;
  SPoint cursor;
  std::unique_ptr<CWorkSurfaces> surfaces;
  std::vector<std::u16string> errors;
  std::vector<int> commands;
  CMenuModel appMenu;
  IMainWindow* mainWindow = nullptr;
  // When set, what gives each character its balloons; none otherwise.
  std::function<std::unique_ptr<ICharaBalloons>(CCharacter&)> makeBalloons;

 private:
  CHeadlessPlatform& platform_;
};

// A motion block: `cells` rows of (cellX, cellY, moveX, moveY, frames).
inline STestBlock MotionBlock(const std::u16string& name, const std::u16string& image, int width, int height,
                              std::vector<std::u16string> rows, const std::u16string& flip = u"") {
  STestBlock block{u"MOTION_REG",
                   {u"FuncName=" + name, u"ImageName=" + image, u"Width=" + FromUtf8(std::to_string(width)),
                    u"Height=" + FromUtf8(std::to_string(height))},
                   std::move(rows)};
  if (!flip.empty()) block.settings.push_back(u"Flip=" + flip);
  return block;
}

// A function block with the given settings after its name.
inline STestBlock FunctionBlock(const std::u16string& name, std::vector<std::u16string> settings) {
  settings.insert(settings.begin(), u"FuncName=" + name);
  return STestBlock{u"ORDER_REG", std::move(settings)};
}

class CharaFixture : public ::testing::Test {
 protected:
  CharaFixture() : platform_(Options(runtime_)), host(platform_) {
    SeedSharedRandom(7);
    host.mainWindow = platform_.Ui().CreateMainWindow({u"Zelvotta_Main_Window", false}, mainHandler_);
    windowClass_ = std::make_unique<CImageWndClass>(platform_.LayeredWindows(), *host.mainWindow, host);
  }
  ~CharaFixture() override {
    characters_.Clear();
    windowClass_.reset();
  }

  // A census and lock folder of the test's own, so nothing else running on the machine
  // sees these windows.
  static SHeadlessOptions Options(const CTempFolder& runtime) {
    SHeadlessOptions options;
    options.desktop = {0, 0, 800, 600};
    options.runtimeDir = runtime.NativeString() + "/zelvotta";
    return options;
  }

  // Writes a character with `blocks` and an opaque 64 x 64 image "body.png" whose
  // columns and rows carry their own colours.
  void WriteCharacter(const std::string& name, const std::vector<STestBlock>& blocks,
                      const std::string& config = "") {
    folder_.WriteScripts(name, blocks);
    if (!config.empty()) folder_.Write(name, "config.ini", config);
    CPixelSurface image(64, 64);
    for (int y = 0; y < 64; ++y) {
      for (int x = 0; x < 64; ++x) image.Row(y)[x] = 0xFF000000u | static_cast<uint32_t>(x * 4 << 16 | y * 4 << 8 | 0x40);
    }
    const std::u16string path =
        ApplicationFolder() + u"Characters\\" + FromUtf8(name) + u"\\Images\\body.png";
    std::filesystem::create_directories(ToNativePath(ApplicationFolder()) / "Characters" / name /
                                        "Images");
    ASSERT_TRUE(WritePng(path, image));
  }

  // Creates and loads the character, shows it and makes the work surfaces for it.
  CCharacter& Start(const std::string& name) {
    CCharacter* character = characters_.CreateCharacter(*windowClass_, FromUtf8(name), host);
    character->Load();
    character->InitialShow();
    character->HitTest().SetUp(characters_);
    if (!host.surfaces) host.surfaces = std::make_unique<CWorkSurfaces>(256, 256, 2.0);
    character->ApplyScale(32782, host.scale);
    character->ApplyOpacity(32787);
    return *character;
  }

  void Frames(CCharacter& character, int count) {
    for (int i = 0; i < count; ++i) character.Update();
  }

  // The functions entered, in order, from the trace.
  std::vector<std::u16string> Entered() const {
    std::vector<std::u16string> names;
    for (const std::string& line : platform_.TraceLines()) {
      if (line.find("\"event\":\"function\"") == std::string::npos) continue;
      const size_t at = line.find("\"function\":\"", line.find("\"event\"") + 20);
      names.push_back(FromUtf8(line.substr(at + 12, line.find('"', at + 12) - at - 12)));
    }
    return names;
  }
  std::u16string Current(const CCharacter& character) const {
    const COrderConfig* function = character.CurrentFunction();
    return function != nullptr ? function->name : u"";
  }
  size_t TraceCount(const std::string& event) const {
    size_t count = 0;
    for (const std::string& line : platform_.TraceLines()) count += line.find("\"event\":\"" + event + "\"") != std::string::npos;
    return count;
  }

  // A file below the application folder, as bytes; empty when it cannot be read.
  static std::string ReadAppFile(const std::string& relative) {
    std::ifstream in(ToNativePath(ApplicationFolder()) / relative, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }

  CHeadlessLayeredWindows& Windows() { return platform_.Layered(); }
  CHeadlessPlatform& Platform() { return platform_; }

  CTestCharaFolder folder_;
  CTempFolder runtime_;
  CHeadlessPlatform platform_;
  CNullMainWindowHandler mainHandler_;
  CTestCharaHost host;
  std::unique_ptr<CImageWndClass> windowClass_;
  CCharaMap characters_;
};
