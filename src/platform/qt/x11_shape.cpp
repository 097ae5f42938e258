#include "platform/qt/x11_shape.h"

#include <xcb/shape.h>
#include <xcb/xcb.h>

#include <QGuiApplication>
#include <atomic>
#include <cstdlib>

namespace {
// The connection the GUI thread last found, for other threads.
std::atomic<xcb_connection_t*> g_lastConnection{nullptr};
// _NET_WM_WINDOW_OPACITY on that connection; 0 until looked up.
std::atomic<uint32_t> g_opacityAtom{0};
}  // namespace

xcb_connection_t* QtX11Connection() {
  auto* x11 = qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  xcb_connection_t* connection = x11 != nullptr ? x11->connection() : nullptr;
  g_lastConnection.store(connection, std::memory_order_release);
  return connection;
}

xcb_connection_t* QtX11ConnectionAnyThread() { return g_lastConnection.load(std::memory_order_acquire); }

namespace {

bool QueryShapeExtension() {
  xcb_connection_t* connection = QtX11Connection();
  if (connection == nullptr) return false;
  xcb_shape_query_version_reply_t* reply =
      xcb_shape_query_version_reply(connection, xcb_shape_query_version(connection), nullptr);
  const bool present = reply != nullptr;
  std::free(reply);
  return present;
}

}  // namespace

bool X11ShapesAvailable() {
  static const bool available = QueryShapeExtension();
  return available;
}

void ApplyX11Shape(uint32_t window, const std::vector<SShapeRect>& rects, bool bounding) {
  if (!X11ShapesAvailable()) return;
  ApplyX11Shape(QtX11Connection(), window, rects, bounding);
}

void ApplyX11Shape(xcb_connection_t* connection, uint32_t window, const std::vector<SShapeRect>& rects,
                   bool bounding) {
  if (connection == nullptr) return;
  static_assert(sizeof(SShapeRect) == sizeof(xcb_rectangle_t));
  const auto* list = reinterpret_cast<const xcb_rectangle_t*>(rects.data());
  const auto count = static_cast<uint32_t>(rects.size());
  // The list is in bands (see AlphaShapeRects): the server takes it as its region as it
  // stands, instead of sorting and merging every rectangle each time.
  xcb_shape_rectangles(connection, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_INPUT, XCB_CLIP_ORDERING_YX_BANDED,
                       window, 0, 0, count, list);
  if (bounding) {
    xcb_shape_rectangles(connection, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_BOUNDING,
                         XCB_CLIP_ORDERING_YX_BANDED, window, 0, 0, count, list);
  } else {
    xcb_shape_mask(connection, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_BOUNDING, window, 0, 0, XCB_NONE);
  }
}

void StackX11WindowBelow(uint32_t window, uint32_t sibling) {
  xcb_connection_t* connection = QtX11Connection();
  if (connection == nullptr) return;
  const uint32_t values[] = {sibling, XCB_STACK_MODE_BELOW};
  xcb_configure_window(connection, window, XCB_CONFIG_WINDOW_SIBLING | XCB_CONFIG_WINDOW_STACK_MODE, values);
  xcb_flush(connection);
}

void MoveX11Window(uint32_t window, int x, int y) { MoveX11Window(QtX11Connection(), window, x, y); }

void MoveX11Window(xcb_connection_t* connection, uint32_t window, int x, int y) {
  if (connection == nullptr) return;
  // The protocol takes the coordinates as 32-bit values holding 16-bit signed numbers.
  const uint32_t values[] = {static_cast<uint32_t>(static_cast<int16_t>(x)),
                             static_cast<uint32_t>(static_cast<int16_t>(y))};
  xcb_configure_window(connection, window, XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y, values);
}

void PrepareX11WindowOpacity(xcb_connection_t* connection) {
  if (connection == nullptr || g_opacityAtom.load(std::memory_order_acquire) != 0) return;
  static constexpr char kName[] = "_NET_WM_WINDOW_OPACITY";
  xcb_intern_atom_reply_t* reply =
      xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, sizeof kName - 1, kName), nullptr);
  if (reply != nullptr) g_opacityAtom.store(reply->atom, std::memory_order_release);
  std::free(reply);
}

void SetX11WindowOpacity(xcb_connection_t* connection, uint32_t window, uint8_t alpha) {
  const uint32_t atom = g_opacityAtom.load(std::memory_order_acquire);
  if (connection == nullptr || atom == 0) return;
  if (alpha == 255) {
    xcb_delete_property(connection, window, atom);
    return;
  }
  // 0..255 spread over the property's 0..0xffffffff, 255 onto the top exactly.
  const uint32_t value = uint32_t{alpha} * 0x01010101u;
  xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, atom, XCB_ATOM_CARDINAL, 32, 1, &value);
}

void FlushX11() { FlushX11(QtX11Connection()); }

void FlushX11(xcb_connection_t* connection) {
  if (connection != nullptr) xcb_flush(connection);
}

uint32_t QtX11EventMask(uint32_t window) {
  xcb_connection_t* connection = QtX11Connection();
  if (connection == nullptr) return 0;
  xcb_get_window_attributes_reply_t* reply =
      xcb_get_window_attributes_reply(connection, xcb_get_window_attributes(connection, window), nullptr);
  const uint32_t mask = reply != nullptr ? reply->your_event_mask : 0;
  std::free(reply);
  return mask;
}

void SetX11StructureEvents(uint32_t window, uint32_t qtMask, bool on) {
  xcb_connection_t* connection = QtX11Connection();
  if (connection == nullptr || qtMask == 0) return;
  const uint32_t mask = on ? qtMask : qtMask & ~uint32_t{XCB_EVENT_MASK_STRUCTURE_NOTIFY};
  xcb_change_window_attributes(connection, window, XCB_CW_EVENT_MASK, &mask);
}
