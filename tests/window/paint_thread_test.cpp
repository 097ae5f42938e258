// A frame thread paints character windows through the work surfaces and the headless
// layered windows while the main thread delivers mouse messages and commands to the
// same windows and takes snapshots. Run under ThreadSanitizer.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/headless/layered_windows.h"
#include "platform/headless/window_registry.h"
#include "window/image_wnd_class.h"
#include "window/command_ids.h"
#include "window/work_surfaces.h"
#include "window_doubles.h"

namespace {

// Paints a frame whose layer follows the last mouse position the main thread reported.
class PaintingWnd : public CObjWnd {
 public:
  PaintingWnd(CImageWndClass& windowClass, CWorkSurfaces& surfaces)
      : CObjWnd(windowClass, u"Chara"), surfaces_(surfaces), frame_(16, 16), badge_(4, 4) {
    for (int i = 0; i < 16 * 16; ++i) frame_.Pixels()[i] = 0xFF203040;
    for (int i = 0; i < 4 * 4; ++i) badge_.Pixels()[i] = 0x80402010;
  }
  void Update() override { Paint(); }
  void Paint() override {
    const int at = pointer_.load(std::memory_order_relaxed);
    const SLayerPlacement layers[] = {{ViewOf(badge_), {0, 0, 4, 4}, at % 16 - 2, at / 16 - 2, at % 4}};
    SPaintRequest request;
    request.frameImage = ViewOf(frame_);
    request.frame = {0, 0, 16, 16};
    request.mergeLayers = true;
    request.layers = layers;
    request.width = request.height = scaled_.load(std::memory_order_relaxed);
    request.scale = request.width / 16.0;
    PresentFrame(&surfaces_, request);
  }
  void MouseMove(int x, int y) override { pointer_.store((y % 16) * 16 + x % 16, std::memory_order_relaxed); }
  void ScaleCommand(int id) override { scaled_.store(8 + (id - kCmdScaleFirst) * 3, std::memory_order_relaxed); }

 private:
  CWorkSurfaces& surfaces_;
  CPixelSurface frame_;
  CPixelSurface badge_;
  std::atomic<int> pointer_{0};
  std::atomic<int> scaled_{16};
};

TEST(PaintThread, PaintsWhileTheMainThreadDeliversMessages) {
  CWindowRegistry census("");
  CHeadlessLayeredWindows layered(census);
  FakeOwner owner;
  FakeHost host;
  CImageWndClass windowClass(layered, owner, host);
  CWorkSurfaces surfaces(16, 16, 3.0);
  PaintingWnd first(windowClass, surfaces);
  PaintingWnd second(windowClass, surfaces);
  first.Window()->Show();
  second.Window()->Show();

  std::atomic<bool> stop{false};
  uint64_t frames = 0;
  std::thread frameThread([&] {
    while (!stop.load(std::memory_order_acquire)) {
      first.Update();
      second.Update();
      ++frames;
    }
  });
  for (int delivered = 0; delivered < 3000; ++delivered) {
    PaintingWnd& target = delivered % 2 == 0 ? first : second;
    layered.DeliverMouse(*target.Window(), ELayeredMouse::MouseMove, delivered % 37, delivered % 23);
    layered.DeliverMouse(*target.Window(), ELayeredMouse::LeftButtonDown, 1, 1);
    layered.DeliverMouse(*target.Window(), ELayeredMouse::LeftButtonUp, 1, 1);
    layered.DeliverCommand(*target.Window(), kCmdScaleFirst + delivered % 10);
    layered.DeliverMouseAt({delivered % 20, 3}, ELayeredMouse::MouseMove);
    if (delivered % 16 == 0) layered.Snapshot({0, 0, 64, 64});
    host.mouseEnabled.store(delivered % 5 != 0);
  }
  stop.store(true, std::memory_order_release);
  frameThread.join();
  EXPECT_EQ(layered.State(*first.Window()).updates, frames);
  EXPECT_TRUE(host.quitCodes.empty());
}

}  // namespace
