// Headless layered windows: what they keep, their stacking, the hit test with
// click-through and capture, the census, and desktop snapshots.
#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "media/image_load.h"
#include "platform/headless/headless_platform.h"
#include "platform/headless/layered_windows.h"
#include "platform/headless/window_registry.h"
#include "support/file_system.h"
#include "window_doubles.h"

namespace {

// Remembers each delivery as "<window index> <message> x,y".
class RecordingHandler : public ILayeredWindowHandler {
 public:
  bool OnMouse(ILayeredWindow& window, ELayeredMouse message, int x, int y) override {
    log.push_back(Name(window) + " " + std::to_string(static_cast<int>(message)) + " " + std::to_string(x) + "," +
                  std::to_string(y));
    return true;
  }
  bool OnCommand(ILayeredWindow& window, int id) override {
    log.push_back(Name(window) + " command " + std::to_string(id));
    return true;
  }
  void OnMenuOpened(ILayeredWindow&, intptr_t) override {}
  void OnDestroy(ILayeredWindow& window) override { log.push_back(Name(window) + " destroyed"); }

  std::string Name(ILayeredWindow& window) const {
    for (size_t i = 0; i < windows.size(); ++i) {
      if (windows[i] == &window) return std::to_string(i);
    }
    return "?";
  }
  std::vector<ILayeredWindow*> windows;
  std::vector<std::string> log;
};

class HeadlessLayeredTest : public ::testing::Test {
 protected:
  CWindowRegistry census{""};
  CHeadlessLayeredWindows layered{census};
  FakeOwner owner;
  RecordingHandler handler;

  ILayeredWindow* Make() {
    ILayeredWindow* window = layered.Create(owner, u"Zelvotta_Character_Window", handler);
    handler.windows.push_back(window);
    return window;
  }
  // Puts a width × height frame of `pixel` at `at` and shows it.
  static void Paint(ILayeredWindow& window, SPoint at, int width, int height, uint32_t pixel, uint8_t alpha = 255) {
    std::vector<uint32_t> pixels(static_cast<size_t>(width * height), pixel);
    ASSERT_TRUE(window.Update({at, width, height, pixels.data(), width, alpha, {}}));
    window.Show();
  }
  std::vector<ILayeredWindow*> Order() { return layered.StackingOrder(); }
};

TEST_F(HeadlessLayeredTest, KeepsTheLastFrameAndRegistersTheTitle) {
  ILayeredWindow* window = Make();
  EXPECT_EQ(census.CountTitled(u"Zelvotta_Character_Window"), 1);
  EXPECT_FALSE(window->Visible());
  const uint32_t pixels[] = {1, 2, 99, 3, 4, 99};  // stride 3, width 2
  ASSERT_TRUE(window->Update({{5, -6}, 2, 2, pixels, 3, 200, {}}));
  const SLayeredWindowState state = layered.State(*window);
  EXPECT_EQ(state.position.x, 5);
  EXPECT_EQ(state.position.y, -6);
  EXPECT_EQ(state.width, 2);
  EXPECT_EQ(state.constantAlpha, 200);
  const CPixelSurface copy = layered.Pixels(*window);
  EXPECT_EQ(std::vector<uint32_t>(copy.Pixels(), copy.Pixels() + 4), (std::vector<uint32_t>{1, 2, 3, 4}));
  EXPECT_FALSE(window->Update({{0, 0}, 0, 1, pixels, 3, 255, {}}));

  window->Destroy();
  EXPECT_EQ(census.CountTitled(u"Zelvotta_Character_Window"), 0);
  EXPECT_FALSE(window->Update({{0, 0}, 1, 1, pixels, 1, 255, {}}));
  EXPECT_EQ(handler.log, std::vector<std::string>{"0 destroyed"});
}

TEST_F(HeadlessLayeredTest, AFrameNamingItsChangedPartReplacesOnlyThatPartOfTheSameSize) {
  ILayeredWindow* window = Make();
  const std::vector<uint32_t> first(12, 1);
  ASSERT_TRUE(window->Update({{0, 0}, 4, 3, first.data(), 4, 255, {}}));
  const std::vector<uint32_t> second(12, 2);
  ASSERT_TRUE(window->Update({{0, 0}, 4, 3, second.data(), 4, 255, {1, 1, 3, 2}}));
  CPixelSurface copy = layered.Pixels(*window);
  EXPECT_EQ(std::vector<uint32_t>(copy.Pixels(), copy.Pixels() + 12),
            (std::vector<uint32_t>{1, 1, 1, 1, 1, 2, 2, 1, 1, 1, 1, 1}));
  // A part reaching past the edges is cut to the frame.
  const std::vector<uint32_t> third(12, 3);
  ASSERT_TRUE(window->Update({{0, 0}, 4, 3, third.data(), 4, 255, {-5, 2, 9, 9}}));
  copy = layered.Pixels(*window);
  EXPECT_EQ(std::vector<uint32_t>(copy.Pixels(), copy.Pixels() + 12),
            (std::vector<uint32_t>{1, 1, 1, 1, 1, 2, 2, 1, 3, 3, 3, 3}));
  // A frame of another size is taken whole, whatever part it names.
  const std::vector<uint32_t> wider(15, 4);
  ASSERT_TRUE(window->Update({{0, 0}, 5, 3, wider.data(), 5, 255, {0, 0, 1, 1}}));
  copy = layered.Pixels(*window);
  EXPECT_EQ(std::vector<uint32_t>(copy.Pixels(), copy.Pixels() + 15), wider);
}

TEST_F(HeadlessLayeredTest, StacksWithinTwoBands) {
  ILayeredWindow* a = Make();
  ILayeredWindow* b = Make();
  ILayeredWindow* c = Make();
  EXPECT_EQ(Order(), (std::vector<ILayeredWindow*>{a, b, c}));
  a->BringToTop();
  EXPECT_EQ(Order(), (std::vector<ILayeredWindow*>{b, c, a}));
  b->SetTopmost(true);
  EXPECT_EQ(Order(), (std::vector<ILayeredWindow*>{c, a, b}));
  c->BringToTop();  // stays below the topmost band
  EXPECT_EQ(Order(), (std::vector<ILayeredWindow*>{a, c, b}));
  a->PlaceBelow(*b);  // joins b's band, directly below it
  EXPECT_EQ(Order(), (std::vector<ILayeredWindow*>{c, a, b}));
  EXPECT_TRUE(layered.State(*a).topmost);
  b->SetTopmost(false);
  EXPECT_EQ(Order(), (std::vector<ILayeredWindow*>{c, b, a}));
}

TEST_F(HeadlessLayeredTest, ClicksPassThroughTransparentPixelsAndFollowCapture) {
  ILayeredWindow* below = Make();
  ILayeredWindow* above = Make();
  Paint(*below, {0, 0}, 10, 10, 0xFF000000);
  std::vector<uint32_t> pixels(100, 0xFF000000);
  pixels[5 * 10 + 5] = 0;  // a hole
  ASSERT_TRUE(above->Update({{2, 2}, 10, 10, pixels.data(), 10, 255, {}}));
  above->Show();

  EXPECT_EQ(layered.DeliverMouseAt({3, 4}, ELayeredMouse::LeftButtonDown), above);
  EXPECT_EQ(layered.DeliverMouseAt({7, 7}, ELayeredMouse::LeftButtonDown), below);
  EXPECT_EQ(layered.DeliverMouseAt({50, 50}, ELayeredMouse::LeftButtonDown), nullptr);
  above->SetCapture();
  EXPECT_EQ(layered.DeliverMouseAt({50, 50}, ELayeredMouse::MouseMove), above);
  below->SetCapture();
  above->ReleaseCapture();  // no longer holds it: nothing happens
  below->ReleaseCapture();
  above->Hide();
  EXPECT_EQ(layered.DeliverMouseAt({3, 4}, ELayeredMouse::LeftButtonDown), below);
  EXPECT_EQ(handler.log, (std::vector<std::string>{"1 513 1,2", "0 513 7,7", "1 512 48,48", "1 533 0,0",
                                                   "0 533 0,0", "0 513 3,4"}));
}

TEST_F(HeadlessLayeredTest, SnapshotComposesVisibleWindowsInOrderOverGrey) {
  ILayeredWindow* red = Make();
  ILayeredWindow* blue = Make();
  ILayeredWindow* hidden = Make();
  Paint(*red, {0, 0}, 2, 1, 0xFFFF0000);
  Paint(*blue, {1, 0}, 2, 1, 0x80000080, 128);  // half-transparent blue at half constant alpha
  Paint(*hidden, {0, 0}, 3, 1, 0xFFFFFFFF);
  hidden->Hide();
  const CPixelSurface snapshot = layered.Snapshot({0, 0, 4, 1});
  // Blue scaled by 128/255 gives alpha 64, blue 64; below it keeps 191/255.
  EXPECT_EQ(snapshot.At(0, 0), 0xFFFF0000u);
  EXPECT_EQ(snapshot.At(1, 0), 0xFFBF0040u);
  EXPECT_EQ(snapshot.At(2, 0), 0xFF6060A0u);
  EXPECT_EQ(snapshot.At(3, 0), 0xFF808080u);

  const std::u16string path = FromNativePath(std::filesystem::path(::testing::TempDir()) / "zv_snapshot.png");
  ASSERT_TRUE(layered.WriteSnapshot(path, {0, 0, 4, 1}));
  const CImageLoad written(path, path);
  ASSERT_TRUE(written.HasBitmap());
  EXPECT_EQ(std::vector<uint32_t>(written.Pixels(), written.Pixels() + 4),
            std::vector<uint32_t>(snapshot.Pixels(), snapshot.Pixels() + 4));
}

TEST(HeadlessPlatformLayered, ReachesTheSameWindowsThroughTheSeam) {
  SHeadlessOptions options;
  options.runtimeDir = ::testing::TempDir() + "zv_layered_seam";
  CHeadlessPlatform platform(options);
  FakeOwner owner;
  RecordingHandler handler;
  ILayeredWindow* window = platform.LayeredWindows().Create(owner, u"Zelvotta_Character_Window", handler);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(platform.Process().CountWindowsTitled(u"Zelvotta_Character_Window"), 1);
  EXPECT_EQ(platform.Layered().StackingOrder(), std::vector<ILayeredWindow*>{window});
}

}  // namespace
