#include "platform/qt/x11_image.h"

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>

#include "platform/qt/x11_shape.h"

namespace {

// Whether the server stores images of `depth` as 32-bit words in our byte order.
bool TakesOurWords(xcb_connection_t* connection, uint8_t depth) {
  const xcb_setup_t* setup = xcb_get_setup(connection);
  if (setup->image_byte_order != XCB_IMAGE_ORDER_LSB_FIRST) return false;
  for (auto it = xcb_setup_pixmap_formats_iterator(setup); it.rem > 0; xcb_format_next(&it)) {
    if (it.data->depth == depth) return it.data->bits_per_pixel == 32;
  }
  return false;
}

}  // namespace

CX11WindowImage::CX11WindowImage(uint32_t window) : connection_(QtX11Connection()), window_(window) {
  xcb_connection_t* connection = connection_;
  if (connection == nullptr || window == 0) return;
  xcb_get_geometry_reply_t* geometry = xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr);
  if (geometry == nullptr) return;
  depth_ = geometry->depth;
  std::free(geometry);
  // Depth 24 windows ignore the alpha byte of the same words; others keep Qt's painting.
  if ((depth_ != 32 && depth_ != 24) || !TakesOurWords(connection, depth_)) return;
  // The core limit, in 4-byte units (256 KiB at most): larger frames go in bands. Asking
  // for BIG-REQUESTS here would take libxcb's locks in the order opposite to Qt's start.
  maxRequestBytes_ = uint64_t{xcb_get_setup(connection)->maximum_request_length} * 4;
  gc_ = xcb_generate_id(connection);
  xcb_create_gc(connection, gc_, window, 0, nullptr);
}

CX11WindowImage::~CX11WindowImage() { Release(); }

void CX11WindowImage::Release() {
  if (gc_ == 0) return;
  // Looked up again: at the program's end Qt may have closed its connection already.
  if (xcb_connection_t* connection = QtX11Connection()) xcb_free_gc(connection, gc_);
  gc_ = 0;
}

bool CX11WindowImage::PutRows(const uint32_t* pixels, int width, int top, int bottom) {
  xcb_connection_t* connection = connection_;
  if (connection == nullptr || gc_ == 0 || width <= 0 || width > 32767 || bottom > 32767) return false;
  if (top >= bottom) return true;
  const uint64_t rowBytes = uint64_t{static_cast<uint32_t>(width)} * 4;
  // A PutImage request has a 24-byte header; each band fits one request.
  constexpr uint64_t kHeaderBytes = 24;
  const uint64_t fitting = maxRequestBytes_ > kHeaderBytes ? (maxRequestBytes_ - kHeaderBytes) / rowBytes : 0;
  if (fitting == 0) return false;
  const int band = static_cast<int>(std::min<uint64_t>(fitting, 32767));
  for (int y = top; y < bottom; y += band) {
    const int rows = std::min(band, bottom - y);
    xcb_put_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, window_, gc_, static_cast<uint16_t>(width),
                  static_cast<uint16_t>(rows), 0, static_cast<int16_t>(y), 0, depth_,
                  static_cast<uint32_t>(rowBytes * static_cast<uint64_t>(rows)),
                  reinterpret_cast<const uint8_t*>(pixels + static_cast<size_t>(y) * static_cast<size_t>(width)));
  }
  return true;
}
