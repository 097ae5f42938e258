#include "platform/qt/x11_display.h"

#include <xcb/xcb.h>
#include <xcb/xinput.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

// A window manager puts each client one or two levels below the root (inside its frame);
// deeper windows are children of clients, never top-level windows.
constexpr int kCensusDepth = 3;

std::string PropertyText(xcb_get_property_reply_t* reply) {
  if (reply == nullptr || reply->format != 8) return {};
  const int length = xcb_get_property_value_length(reply);
  return std::string(static_cast<const char*>(xcb_get_property_value(reply)),
                     static_cast<size_t>(length));
}

}  // namespace

CX11Display::CX11Display() {
  xcb_connection_t* connection = xcb_connect(nullptr, &screenNumber_);
  if (connection == nullptr || xcb_connection_has_error(connection) != 0) {
    if (connection != nullptr) xcb_disconnect(connection);
    return;
  }
  xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
  for (int i = 0; i < screenNumber_ && screens.rem > 0; ++i) xcb_screen_next(&screens);
  if (screens.rem == 0) {
    xcb_disconnect(connection);
    return;
  }
  connection_ = connection;
  root_ = screens.data->root;
  netWmName_ = Atom("_NET_WM_NAME");
  utf8String_ = Atom("UTF8_STRING");
  compositorSelection_ = Atom(("_NET_WM_CM_S" + std::to_string(screenNumber_)).c_str());
  SelectRawPointerEvents();
}

void CX11Display::SelectRawPointerEvents() {
  const xcb_query_extension_reply_t* extension = xcb_get_extension_data(connection_, &xcb_input_id);
  if (extension == nullptr || extension->present == 0) return;
  // Raw events reach the root window's clients whatever window the pointer is over.
  xcb_input_xi_query_version_reply_t* version =
      xcb_input_xi_query_version_reply(connection_, xcb_input_xi_query_version(connection_, 2, 2), nullptr);
  const bool usable = version != nullptr && version->major_version >= 2;
  std::free(version);
  if (!usable) return;
  struct {
    xcb_input_event_mask_t head;
    uint32_t bits;
  } mask{};
  mask.head.deviceid = XCB_INPUT_DEVICE_ALL_MASTER;
  mask.head.mask_len = 1;
  mask.bits = XCB_INPUT_XI_EVENT_MASK_RAW_MOTION | XCB_INPUT_XI_EVENT_MASK_RAW_BUTTON_PRESS |
              XCB_INPUT_XI_EVENT_MASK_RAW_BUTTON_RELEASE;
  xcb_generic_error_t* error =
      xcb_request_check(connection_, xcb_input_xi_select_events_checked(connection_, root_, 1, &mask.head));
  rawEvents_ = error == nullptr;
  std::free(error);
}

void CX11Display::DrainEvents() {
  while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
    // Only raw pointer events are selected; anything else is let go.
    if ((event->response_type & 0x7f) == XCB_GE_GENERIC) rawSinceQuery_ = true;
    std::free(event);
  }
}

CX11Display::~CX11Display() {
  if (connection_ != nullptr) xcb_disconnect(connection_);
}

uint32_t CX11Display::Atom(const char* name) {
  const auto cookie = xcb_intern_atom(connection_, 0, static_cast<uint16_t>(std::char_traits<char>::length(name)), name);
  xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection_, cookie, nullptr);
  const uint32_t atom = reply != nullptr ? reply->atom : 0;
  std::free(reply);
  return atom;
}

int CX11Display::CountWindowsTitled(const std::string& utf8Title) {
  std::lock_guard lock(mutex_);
  if (connection_ == nullptr) return 0;
  // The census may run while no frame samples: the queue stays short.
  DrainEvents();
  return CountTitledBelow(root_, utf8Title, kCensusDepth);
}

int CX11Display::CountTitledBelow(uint32_t window, const std::string& title, int depth) {
  xcb_query_tree_reply_t* tree = xcb_query_tree_reply(connection_, xcb_query_tree(connection_, window), nullptr);
  if (tree == nullptr) return 0;
  const xcb_window_t* children = xcb_query_tree_children(tree);
  const int count = xcb_query_tree_children_length(tree);
  std::vector<xcb_window_t> windows(children, children + count);
  std::free(tree);

  // Every request first, then every answer: one round trip for the whole level.
  std::vector<xcb_get_property_cookie_t> netNames;
  std::vector<xcb_get_property_cookie_t> names;
  netNames.reserve(windows.size());
  names.reserve(windows.size());
  for (xcb_window_t child : windows) {
    netNames.push_back(xcb_get_property(connection_, 0, child, netWmName_, utf8String_, 0, 1024));
    names.push_back(xcb_get_property(connection_, 0, child, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, 0, 1024));
  }
  int found = 0;
  std::vector<xcb_window_t> untitled;
  for (size_t i = 0; i < windows.size(); ++i) {
    xcb_get_property_reply_t* netName = xcb_get_property_reply(connection_, netNames[i], nullptr);
    xcb_get_property_reply_t* name = xcb_get_property_reply(connection_, names[i], nullptr);
    const bool hasNetName = netName != nullptr && netName->format == 8 && netName->value_len > 0;
    const bool hasName = name != nullptr && name->format == 8 && name->value_len > 0;
    const std::string text = hasNetName ? PropertyText(netName) : PropertyText(name);
    if (hasNetName || hasName) {
      if (text == title) ++found;
    } else {
      untitled.push_back(windows[i]);
    }
    std::free(netName);
    std::free(name);
  }
  // An untitled window may be a window manager's frame around a client.
  if (depth > 1) {
    for (xcb_window_t child : untitled) found += CountTitledBelow(child, title, depth - 1);
  }
  return found;
}

std::optional<SPointerState> CX11Display::Pointer() {
  std::lock_guard lock(mutex_);
  if (connection_ == nullptr) return std::nullopt;
  return QueryPointer();
}

std::optional<SPoint> CX11Display::SampledPosition() {
  std::lock_guard lock(mutex_);
  if (connection_ == nullptr) return std::nullopt;
  DrainEvents();
  const bool noted = pointerMoved_.exchange(false, std::memory_order_relaxed);
  if (rawEvents_ && lastPosition_ && !rawSinceQuery_ && !noted && ++samplesSinceQuery_ < kRecheckSamples) {
    return lastPosition_;
  }
  if (auto state = QueryPointer()) return state->position;
  return lastPosition_;
}

std::optional<SPointerState> CX11Display::QueryPointer() {
  xcb_query_pointer_reply_t* reply = xcb_query_pointer_reply(connection_, xcb_query_pointer(connection_, root_), nullptr);
  if (reply == nullptr) return std::nullopt;
  SPointerState state;
  state.position = SPoint{reply->root_x, reply->root_y};
  // The server reports logical buttons, after any swap the user set.
  state.primaryDown = (reply->mask & XCB_BUTTON_MASK_1) != 0;
  std::free(reply);
  lastPosition_ = state.position;
  samplesSinceQuery_ = 0;
  rawSinceQuery_ = false;
  return state;
}

bool CX11Display::CompositorRunning() {
  std::lock_guard lock(mutex_);
  if (connection_ == nullptr || compositorSelection_ == 0) return false;
  // Called every few seconds: this keeps the event queue short while no frame samples.
  DrainEvents();
  xcb_get_selection_owner_reply_t* reply =
      xcb_get_selection_owner_reply(connection_, xcb_get_selection_owner(connection_, compositorSelection_), nullptr);
  const bool owned = reply != nullptr && reply->owner != XCB_NONE;
  std::free(reply);
  return owned;
}
