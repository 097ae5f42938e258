// The window procedure's routing, the registry and the paint pipeline, over fake
// layered windows.
#include <gtest/gtest.h>

#include "window/image_wnd_class.h"
#include "window/command_ids.h"
#include "window/work_surfaces.h"
#include "window_doubles.h"

namespace {

class ImageWndTest : public ::testing::Test {
 protected:
  FakeLayeredWindows windows;
  FakeOwner owner;
  FakeHost host;
  CImageWndClass windowClass{windows, owner, host};
};

TEST_F(ImageWndTest, CreatesAHiddenTitledWindowAndRegistersIt) {
  RecordingWnd wnd(windowClass, u"Chara");
  ASSERT_NE(wnd.Window(), nullptr);
  EXPECT_EQ(windows.windows[0]->title, u"Zelvotta_Character_Window");
  EXPECT_FALSE(windows.windows[0]->visible);
  EXPECT_EQ(windowClass.Find(*wnd.Window()), &wnd);
  EXPECT_TRUE(wnd.AcceptsMouse());
  EXPECT_FALSE(wnd.Ending());
}

TEST_F(ImageWndTest, ObjWndKnowsItsFolders) {
  RecordingWnd wnd(windowClass, u"Chara");
  EXPECT_EQ(wnd.Name(), u"Chara");
  EXPECT_EQ(wnd.CharactersFolder(), u"Characters\\");
  EXPECT_EQ(wnd.ImagesFolder(), u"Characters\\Chara\\Images\\");
  EXPECT_EQ(wnd.SoundsFolder(), u"Characters\\Chara\\Sounds\\");
  EXPECT_EQ(wnd.CursorsFolder(), u"Characters\\Chara\\Cursors\\");
  EXPECT_EQ(wnd.ScriptsFolder(), u"Characters\\Chara\\Scripts");
}

struct SRouteCase {
  const char* name;
  bool mouseEnabled;
  bool acceptsMouse;
  bool ending;
  ELayeredMouse message;
  bool handled;
  std::vector<std::string> calls;
};

TEST_F(ImageWndTest, RoutesMouseMessagesByTheMouseRules) {
  using M = ELayeredMouse;
  const SRouteCase cases[] = {
      {"press", true, true, false, M::LeftButtonDown, true, {"LeftDown 3,-4"}},
      {"press, mouse disabled", false, true, false, M::LeftButtonDown, false, {}},
      {"press, mouse disabled while ending", false, true, true, M::RightButtonDown, false, {}},
      {"press, not accepting", true, false, false, M::LeftButtonDown, true, {}},
      {"press, not accepting but ending", true, false, true, M::RightButtonDown, true, {"RightDown 3,-4"}},
      {"release", true, true, false, M::LeftButtonUp, true, {"LeftUp 3,-4"}},
      {"release, mouse disabled", false, true, false, M::RightButtonUp, false, {}},
      {"release, mouse disabled while ending", false, false, true, M::LeftButtonUp, true, {"LeftUp 3,-4"}},
      {"release, not accepting", true, false, false, M::LeftButtonUp, false, {}},
      {"end of a move, mouse disabled", false, true, false, M::ExitSizeMove, false, {}},
      {"end of a move", true, true, false, M::ExitSizeMove, true, {"ExitSizeMove"}},
      {"move, mouse disabled", false, false, false, M::MouseMove, true, {"Move 3,-4"}},
      {"set cursor", false, false, false, M::SetCursor, true, {"SetCursor"}},
      {"capture changed", false, false, false, M::CaptureChanged, true, {"Capture"}},
  };
  for (const SRouteCase& c : cases) {
    RecordingWnd wnd(windowClass, u"Chara");
    host.mouseEnabled = c.mouseEnabled;
    wnd.SetAcceptsMouse(c.acceptsMouse);
    wnd.SetEnding(c.ending);
    EXPECT_EQ(windowClass.OnMouse(*wnd.Window(), c.message, 3, -4), c.handled) << c.name;
    EXPECT_EQ(wnd.calls, c.calls) << c.name;
  }
}

TEST_F(ImageWndTest, RoutesCommandsToTheirOperations) {
  struct SCase {
    int id;
    const char* call;  // null: default handling
  } cases[] = {
      {kCmdToggleHidden, "ToggleHidden"},  {kCmdToggleMute, "ToggleMute"},
      {kCmdCustomItem, "CustomItem"},      {kCmdCharacterAbout, "ShowAbout"},
      {kCmdAbout, "ShowAppAbout"},  {32776, "Scale 32776"},
      {32785, "Scale 32785"},                 {32786, nullptr},
      {32787, "Opacity 32787"},               {32796, "Opacity 32796"},
      {32797, nullptr},                       {kCmdAllSoundOff, "AllSound mute"},
      {kCmdAllSoundOn, "AllSound on"},     {kCmdLowQuality, "LowQuality"},
      {kCmdMoveRange, "MoveRange"},        {kCmdAlwaysOnTop, "Topmost"},
      {kCmdMouseDisabled, "Mouse"},                {kCmdExit, "Exit"},
      {12345, nullptr},
  };
  for (const SCase& c : cases) {
    RecordingWnd wnd(windowClass, u"Chara");
    EXPECT_EQ(windowClass.OnCommand(*wnd.Window(), c.id), c.call != nullptr) << c.id;
    EXPECT_EQ(wnd.calls, c.call ? std::vector<std::string>{c.call} : std::vector<std::string>{}) << c.id;
  }
}

TEST_F(ImageWndTest, QuitCommandAndDestructionEndTheApplication) {
  RecordingWnd wnd(windowClass, u"Chara");
  EXPECT_TRUE(windowClass.OnCommand(*wnd.Window(), kCmdQuitNow));
  EXPECT_EQ(host.quitNow, 1);
  wnd.Window()->Destroy();
  EXPECT_EQ(host.quitCodes, std::vector<int>{0});
}

TEST_F(ImageWndTest, AWindowOutsideTheRegistryGetsOnlyTheDefaultHandling) {
  FakeLayeredWindow stranger;
  EXPECT_TRUE(windowClass.OnMouse(stranger, ELayeredMouse::LeftButtonDown, 0, 0));  // taken, no object
  EXPECT_FALSE(windowClass.OnMouse(stranger, ELayeredMouse::MouseMove, 0, 0));
  EXPECT_FALSE(windowClass.OnCommand(stranger, kCmdExit));
  windowClass.OnMenuOpened(stranger, 5);

  ILayeredWindow* window;
  {
    RecordingWnd wnd(windowClass, u"Chara");
    window = wnd.Window();
    windowClass.OnMenuOpened(*window, 7);
    EXPECT_EQ(wnd.calls, std::vector<std::string>{"Menu 7"});
  }
  EXPECT_EQ(windowClass.Find(*window), nullptr);
  EXPECT_FALSE(windowClass.OnMouse(*window, ELayeredMouse::MouseMove, 0, 0));
}

TEST_F(ImageWndTest, ARefusedWindowLeavesTheObjectWithoutOne) {
  windows.refuse = true;
  RecordingWnd wnd(windowClass, u"Chara");
  EXPECT_EQ(wnd.Window(), nullptr);
  EXPECT_EQ(windowClass.Count(), 0);
}

TEST_F(ImageWndTest, PresentsTheFrameWithItsLayersScaledAndTheConstantAlpha) {
  RecordingWnd wnd(windowClass, u"Chara");
  CWorkSurfaces surfaces(2, 2, 2.0);
  CPixelSurface frame(2, 2);
  for (int i = 0; i < 4; ++i) frame.Pixels()[i] = 0xFF000010u + static_cast<uint32_t>(i);
  CPixelSurface badge(1, 1);
  badge.At(0, 0) = 0xFFFFFFFF;
  const SLayerPlacement layers[] = {{ViewOf(badge), {0, 0, 1, 1}, 1, 1, kMirrorNone}};

  SPaintRequest request;
  request.frameImage = ViewOf(frame);
  request.frame = {0, 0, 2, 2};
  request.mergeLayers = true;
  request.layers = layers;
  request.position = {40, -3};
  request.width = 4;
  request.height = 4;
  request.scale = 2.0;
  request.lowQuality = true;
  request.mirror = kMirrorLeftRight;
  request.opacity = 0.5;
  wnd.PresentFrame(&surfaces, request);

  FakeLayeredWindow& window = *windows.windows[0];
  ASSERT_EQ(window.updates, 1);
  EXPECT_EQ(window.last.position.x, 40);
  EXPECT_EQ(window.last.position.y, -3);
  EXPECT_EQ(window.last.width, 4);
  EXPECT_EQ(window.last.height, 4);
  EXPECT_EQ(window.last.constantAlpha, 127);
  EXPECT_EQ(window.last.stride, 4);
  // Nearest at 200 %, columns mirrored: the badge at (1, 1) lands in the bottom-left.
  EXPECT_EQ(window.pixels[0], 0xFF000011u);
  EXPECT_EQ(window.pixels[3], 0xFF000010u);
  EXPECT_EQ(window.pixels[3 * 4 + 0], 0xFFFFFFFFu);
  EXPECT_EQ(window.pixels[3 * 4 + 3], 0xFF000012u);

  request.opacityInPixels = true;
  request.mergeLayers = false;
  request.width = 99;  // larger than the output surface: limited to it
  wnd.PresentFrame(&surfaces, request);
  EXPECT_EQ(window.last.constantAlpha, 255);
  EXPECT_EQ(window.last.width, 4);
  EXPECT_EQ(window.pixels[3 * 4 + 0], 0x7F000009u);
}

TEST_F(ImageWndTest, PaintWithoutSurfacesDoesNothingAndARefusedUpdateDestroysTheWindow) {
  RecordingWnd wnd(windowClass, u"Chara");
  CPixelSurface frame(1, 1);
  SPaintRequest request;
  request.frameImage = ViewOf(frame);
  request.frame = {0, 0, 1, 1};
  wnd.PresentFrame(nullptr, request);
  EXPECT_EQ(windows.windows[0]->updates, 0);

  CWorkSurfaces surfaces(1, 1, 2.0);
  windows.windows[0]->refuse = true;
  wnd.PresentFrame(&surfaces, request);
  EXPECT_EQ(windows.windows[0]->destroyed, 1);
  EXPECT_EQ(host.quitCodes, std::vector<int>{0});
}

}  // namespace
