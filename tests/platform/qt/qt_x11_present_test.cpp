// Frames presented by the frame thread itself on a real X server (an Xvfb of the test's
// own, Qt on its xcb platform): a frame the window can hold reaches the X window, with
// its move, its input shape and its constant alpha, while the GUI thread runs no event
// loop at all; a larger frame waits for the GUI thread, which grows the window (it never
// shrinks), and the frames after it are not overtaken.
#include <gtest/gtest.h>
#include <xcb/shape.h>
#include <xcb/xcb.h>

#include <QApplication>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "../recording_handler.h"
#include "platform/headless/real_clock.h"
#include "platform/qt/alpha_shape.h"
#include "platform/qt/qt_layered_window.h"
#include "platform/qt/qt_layered_windows.h"
#include "platform/qt/qt_main_window.h"
#include "platform/qt/x11_shape.h"
#include "test_x_server.h"

namespace {

// The server and one Qt application on it for the whole run; without Xvfb, none.
class CX11Environment : public ::testing::Environment {
 public:
  void SetUp() override {
    server_ = std::make_unique<CTestServer>();
    if (!server_->Running()) return;
    setenv("DISPLAY", server_->Name().c_str(), 1);
    qputenv("QT_QPA_PLATFORM", "xcb");
    app_ = std::make_unique<QApplication>(argc_, argv_);
  }
  void TearDown() override {
    app_.reset();
    server_.reset();
  }
  static CTestServer* Server() { return server_ != nullptr && server_->Running() ? server_.get() : nullptr; }

 private:
  char name_[23] = "zv_qt_x11_present_test";
  char* argv_[2] = {name_, nullptr};
  int argc_ = 1;
  std::unique_ptr<QApplication> app_;
  static inline std::unique_ptr<CTestServer> server_;
};

[[maybe_unused]] ::testing::Environment* const kX11Environment =
    ::testing::AddGlobalTestEnvironment(new CX11Environment);

bool PumpUntil(const std::function<bool()>& done) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  return true;
}

// What the server holds now, asked on the test's own connection after Qt's connection
// has been answered once (so every request sent on it before has been carried out).
struct SServerView {
  std::vector<uint32_t> pixels;
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  std::vector<SShapeRect> input;
};

SServerView AskServer(xcb_connection_t* connection, uint32_t window) {
  xcb_connection_t* qt = QtX11Connection();
  std::free(xcb_get_input_focus_reply(qt, xcb_get_input_focus(qt), nullptr));
  SServerView view;
  if (auto* geometry = xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr)) {
    view.x = geometry->x;
    view.y = geometry->y;
    view.width = geometry->width;
    view.height = geometry->height;
    std::free(geometry);
  }
  auto* image = xcb_get_image_reply(
      connection,
      xcb_get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, window, 0, 0, static_cast<uint16_t>(view.width),
                    static_cast<uint16_t>(view.height), ~0u),
      nullptr);
  if (image != nullptr) {
    view.pixels.resize(static_cast<size_t>(xcb_get_image_data_length(image)) / 4);
    std::memcpy(view.pixels.data(), xcb_get_image_data(image), view.pixels.size() * 4);
    std::free(image);
  }
  auto* shape = xcb_shape_get_rectangles_reply(
      connection, xcb_shape_get_rectangles(connection, window, XCB_SHAPE_SK_INPUT), nullptr);
  if (shape != nullptr) {
    const xcb_rectangle_t* rects = xcb_shape_get_rectangles_rectangles(shape);
    for (int i = 0; i < xcb_shape_get_rectangles_rectangles_length(shape); ++i) {
      view.input.push_back({rects[i].x, rects[i].y, rects[i].width, rects[i].height});
    }
    std::free(shape);
  }
  return view;
}

// A 6 × 4 picture: opaque pixels of `colour` in a frame one pixel wide, clear inside,
// with `holes` more clear pixels in the top row.
std::vector<uint32_t> Picture(uint32_t colour, int holes) {
  std::vector<uint32_t> pixels(6 * 4, colour);
  for (int y = 1; y < 3; ++y) {
    for (int x = 1; x < 5; ++x) pixels[static_cast<size_t>(y * 6 + x)] = 0;
  }
  for (int x = 0; x < holes; ++x) pixels[static_cast<size_t>(x)] = 0;
  return pixels;
}

// A 6 × 4 picture in the top-left corner of a clear one `width` pixels wide.
std::vector<uint32_t> InCorner(const std::vector<uint32_t>& picture, int width) {
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * 4, 0u);
  for (int y = 0; y < 4; ++y) {
    std::copy(picture.begin() + y * 6, picture.begin() + y * 6 + 6, pixels.begin() + y * width);
  }
  return pixels;
}

// The window's _NET_WM_WINDOW_OPACITY, if it has one.
std::optional<uint32_t> Opacity(xcb_connection_t* connection, uint32_t window) {
  xcb_connection_t* qt = QtX11Connection();
  std::free(xcb_get_input_focus_reply(qt, xcb_get_input_focus(qt), nullptr));
  static constexpr char kName[] = "_NET_WM_WINDOW_OPACITY";
  xcb_intern_atom_reply_t* atom =
      xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, sizeof kName - 1, kName), nullptr);
  if (atom == nullptr) return std::nullopt;
  xcb_get_property_reply_t* reply = xcb_get_property_reply(
      connection, xcb_get_property(connection, 0, window, atom->atom, XCB_ATOM_CARDINAL, 0, 1), nullptr);
  std::free(atom);
  std::optional<uint32_t> value;
  if (reply != nullptr && xcb_get_property_value_length(reply) == 4) {
    value = *static_cast<const uint32_t*>(xcb_get_property_value(reply));
  }
  std::free(reply);
  return value;
}

std::vector<SShapeRect> ShapeOf(const std::vector<uint32_t>& pixels) {
  std::vector<SShapeRect> rects;
  AlphaShapeRects(pixels.data(), 6, 4, 6, rects);
  return rects;
}

TEST(QtX11Present, FramesTheWindowHoldsReachTheServerWithoutTheGuiThread) {
  CTestServer* server = CX11Environment::Server();
  if (server == nullptr) GTEST_SKIP() << "no Xvfb started";
  CRealClock clock;
  CEventLog log(clock);
  CRecordingHandler handler(log);
  CRecordingLayeredHandler layeredHandler(log);
  CQtLayeredWindows windows([] {});
  CQtMainWindow main(SMainWindowDesc{u"Test_Main", false}, handler, [](CQtMainWindow&, bool) {},
                     [](CQtMainWindow&) {});
  auto& window = static_cast<CQtLayeredWindow&>(*windows.Create(main, u"Test_Window", layeredHandler));
  const uint32_t xid = window.NativeId();
  auto frameThread = [&](SPoint at, const std::vector<uint32_t>& pixels) {
    std::thread([&] {
      windows.BeginFrame();
      EXPECT_TRUE(window.Update(SLayeredFrame{at, 6, 4, pixels.data(), 6, 255, {}}));
      windows.EndFrame();
    }).join();
  };

  // The first frame brings a new size: the GUI thread presents it.
  window.Show();
  const std::vector<uint32_t> first = Picture(0xFF204060u, 0);
  frameThread({30, 40}, first);
  ASSERT_TRUE(PumpUntil([&] { return AskServer(server->Connection(), xid).width == 6; }));
  PumpUntil([&] { return AskServer(server->Connection(), xid).pixels == first; });
  ASSERT_EQ(AskServer(server->Connection(), xid).pixels, first);

  // From now on no event loop runs: what reaches the server was sent by the frame thread.
  const std::vector<uint32_t> second = Picture(0x80102030u, 2);
  frameThread({35, 41}, second);
  SServerView view = AskServer(server->Connection(), xid);
  EXPECT_EQ(view.pixels, second);
  EXPECT_EQ(view.x, 35);
  EXPECT_EQ(view.y, 41);
  EXPECT_EQ(view.input, ShapeOf(second)) << "the shape did not follow the clear pixels";

  // Colour alone changes: the pixels follow, the shape stays as it was.
  std::vector<uint32_t> third = second;
  third[6] = 0xFFFFFFFFu;
  frameThread({35, 41}, third);
  view = AskServer(server->Connection(), xid);
  EXPECT_EQ(view.pixels, third);
  EXPECT_EQ(view.input, ShapeOf(second));

  // A frame of another size waits for the GUI thread; a frame sent after it replaces it
  // there and is not overtaken by frames presented here.
  const std::vector<uint32_t> wide(8 * 4, 0xFF00FF00u);
  std::thread([&] {
    windows.BeginFrame();
    EXPECT_TRUE(window.Update(SLayeredFrame{{50, 50}, 8, 4, wide.data(), 8, 255, {}}));
    EXPECT_TRUE(window.Update(SLayeredFrame{{60, 60}, 6, 4, first.data(), 6, 255, {}}));
    EXPECT_TRUE(window.Update(SLayeredFrame{{61, 60}, 0, 0, nullptr, 0, 255, {}}));
    windows.EndFrame();
  }).join();
  ASSERT_TRUE(PumpUntil([&] {
    const SServerView now = AskServer(server->Connection(), xid);
    return now.width == 6 && now.x == 61 && now.pixels == first;
  })) << "an older frame won";

  // A larger frame grows the window through the GUI thread; it never shrinks again: the
  // smaller frames after it go straight to its corner, the rest cleared and outside the
  // shape.
  std::thread([&] {
    windows.BeginFrame();
    EXPECT_TRUE(window.Update(SLayeredFrame{{50, 50}, 8, 4, wide.data(), 8, 255, {}}));
    windows.EndFrame();
  }).join();
  ASSERT_TRUE(PumpUntil([&] { return AskServer(server->Connection(), xid).pixels == wide; }));
  frameThread({61, 60}, second);
  view = AskServer(server->Connection(), xid);
  EXPECT_EQ(view.width, 8);
  EXPECT_EQ(view.pixels, InCorner(second, 8));
  EXPECT_EQ(view.input, ShapeOf(second));
  EXPECT_EQ(view.x, 61);

  // The constant alpha follows from the frame thread, as the compositor reads it.
  std::thread([&] {
    windows.BeginFrame();
    EXPECT_TRUE(window.Update(SLayeredFrame{{61, 60}, 6, 4, second.data(), 6, 128, {}}));
    windows.EndFrame();
  }).join();
  EXPECT_EQ(Opacity(server->Connection(), xid), 128u * 0x01010101u);
  std::thread([&] {
    windows.BeginFrame();
    EXPECT_TRUE(window.Update(SLayeredFrame{{61, 60}, 6, 4, second.data(), 6, 255, {}}));
    windows.EndFrame();
  }).join();
  EXPECT_EQ(Opacity(server->Connection(), xid), std::nullopt) << "fully opaque windows carry no opacity";
  window.Destroy();
  QCoreApplication::processEvents();
}

}  // namespace
