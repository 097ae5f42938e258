#include "platform/qt/x11_image.h"

#include <sys/mman.h>
#include <sys/socket.h>
#include <unistd.h>
#include <xcb/shm.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>

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

// Shared memory goes to the server as a file descriptor, which only a local socket
// carries (sending one over TCP would break the connection).
bool LocalConnection(xcb_connection_t* connection) {
  sockaddr_storage address{};
  socklen_t length = sizeof address;
  if (getsockname(xcb_get_file_descriptor(connection), reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    return false;
  }
  return address.ss_family == AF_UNIX;
}

bool ServerTakesSharedFds(xcb_connection_t* connection) {
  if (!LocalConnection(connection)) return false;
  const xcb_query_extension_reply_t* extension = xcb_get_extension_data(connection, &xcb_shm_id);
  if (extension == nullptr || !extension->present) return false;
  xcb_shm_query_version_reply_t* version =
      xcb_shm_query_version_reply(connection, xcb_shm_query_version(connection), nullptr);
  if (version == nullptr) return false;
  const bool fds = version->major_version > 1 || (version->major_version == 1 && version->minor_version >= 2);
  std::free(version);
  return fds;
}

// Asked once per connection (every window of the program uses Qt's); a refusal, or no
// memory to share, holds for every window after. Windows put from the GUI thread and the
// frame thread alike.
enum class ESharedState { Unknown, Works, Refused };
std::atomic<ESharedState> g_shared{ESharedState::Unknown};
xcb_connection_t* g_sharedConnection = nullptr;  // GUI thread, where windows are made

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
  if (g_sharedConnection != connection) {
    g_sharedConnection = connection;
    g_shared = ServerTakesSharedFds(connection) ? ESharedState::Unknown : ESharedState::Refused;
  }
}

CX11WindowImage::~CX11WindowImage() { Release(); }

void CX11WindowImage::Release() {
  if (gc_ == 0) return;
  // Looked up again: at the program's end Qt may have closed its connection already.
  xcb_connection_t* connection = QtX11Connection();
  DropSegment(connection);
  if (connection != nullptr) xcb_free_gc(connection, gc_);
  gc_ = 0;
}

bool CX11WindowImage::Put(const uint32_t* pixels, int width, int height, const SRect& changed) {
  if (connection_ == nullptr || gc_ == 0 || width <= 0 || height <= 0 || width > 32767 || height > 32767) {
    return false;
  }
  const SRect part = ClippedTo(changed, width, height);
  if (part.Width() <= 0 || part.Height() <= 0) return true;
  if (g_shared != ESharedState::Refused && PutShared(pixels, width, height, part)) return true;
  return PutRows(pixels, width, part.top, part.bottom);
}

void CX11WindowImage::Clear(const SRect& area) {
  if (connection_ == nullptr || gc_ == 0 || area.Width() <= 0 || area.Height() <= 0) return;
  // The graphics context keeps the protocol's default foreground, pixel 0: clear.
  const xcb_rectangle_t rectangle{static_cast<int16_t>(std::clamp(area.left, 0, 32767)),
                                  static_cast<int16_t>(std::clamp(area.top, 0, 32767)),
                                  static_cast<uint16_t>(std::min(area.Width(), 32767)),
                                  static_cast<uint16_t>(std::min(area.Height(), 32767))};
  xcb_poly_fill_rectangle(connection_, window_, gc_, 1, &rectangle);
}

bool CX11WindowImage::PutShared(const uint32_t* pixels, int width, int height, const SRect& part) {
  const size_t bytes = static_cast<size_t>(width) * static_cast<size_t>(height) * 4;
  if (!EnsureSegment(bytes)) return false;
  // The segment keeps the whole image; only the changed part is copied in and sent. The
  // server may still be reading the previous frame's part: whatever of it this copy
  // overwrites is in this frame's part too, which the server copies again next.
  auto* target = static_cast<uint32_t*>(mapped_);
  const size_t runBytes = static_cast<size_t>(part.Width()) * 4;
  for (int y = part.top; y < part.bottom; ++y) {
    const size_t at = static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(part.left);
    std::memcpy(target + at, pixels + at, runBytes);
  }
  xcb_shm_put_image(connection_, window_, gc_, static_cast<uint16_t>(width), static_cast<uint16_t>(height),
                    static_cast<uint16_t>(part.left), static_cast<uint16_t>(part.top),
                    static_cast<uint16_t>(part.Width()), static_cast<uint16_t>(part.Height()),
                    static_cast<int16_t>(part.left), static_cast<int16_t>(part.top), depth_, XCB_IMAGE_FORMAT_Z_PIXMAP,
                    0, segment_, 0);
  return true;
}

bool CX11WindowImage::EnsureSegment(size_t bytes) {
  if (segment_ != 0 && mappedBytes_ >= bytes) return true;
  DropSegment(connection_);
  // Rounded up, so a window that grows a little at a time does not make a segment a frame.
  const size_t capacity = std::max<size_t>(bytes + bytes / 4, 64 * 1024);
  const int fd = memfd_create("zelvotta-window", MFD_CLOEXEC);
  void* mapped = MAP_FAILED;
  if (fd >= 0 && ftruncate(fd, static_cast<off_t>(capacity)) == 0) {
    mapped = mmap(nullptr, capacity, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
  }
  if (mapped == MAP_FAILED) {
    if (fd >= 0) close(fd);
    g_shared = ESharedState::Refused;
    return false;
  }
  const uint32_t segment = xcb_generate_id(connection_);
  // libxcb closes the descriptor once the request is sent; the mapping stays ours.
  if (g_shared == ESharedState::Unknown) {
    // The first segment is checked (one round trip): a server may refuse them anyway.
    xcb_generic_error_t* error = xcb_request_check(connection_, xcb_shm_attach_fd_checked(connection_, segment, fd, 1));
    g_shared = error == nullptr ? ESharedState::Works : ESharedState::Refused;
    std::free(error);
  } else {
    xcb_shm_attach_fd(connection_, segment, fd, 1);
  }
  if (g_shared != ESharedState::Works) {
    munmap(mapped, capacity);
    return false;
  }
  segment_ = segment;
  mapped_ = mapped;
  mappedBytes_ = capacity;
  return true;
}

void CX11WindowImage::DropSegment(xcb_connection_t* connection) {
  if (segment_ == 0) return;
  // The server detaches after every put already sent; our mapping can go at once.
  if (connection != nullptr) xcb_shm_detach(connection, segment_);
  munmap(mapped_, mappedBytes_);
  segment_ = 0;
  mapped_ = nullptr;
  mappedBytes_ = 0;
}

bool CX11WindowImage::PutRows(const uint32_t* pixels, int width, int top, int bottom) {
  const uint64_t rowBytes = uint64_t{static_cast<uint32_t>(width)} * 4;
  // A PutImage request has a 24-byte header; each band fits one request.
  constexpr uint64_t kHeaderBytes = 24;
  const uint64_t fitting = maxRequestBytes_ > kHeaderBytes ? (maxRequestBytes_ - kHeaderBytes) / rowBytes : 0;
  if (fitting == 0) return false;
  const int band = static_cast<int>(std::min<uint64_t>(fitting, 32767));
  for (int y = top; y < bottom; y += band) {
    const int rows = std::min(band, bottom - y);
    xcb_put_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, window_, gc_, static_cast<uint16_t>(width),
                  static_cast<uint16_t>(rows), 0, static_cast<int16_t>(y), 0, depth_,
                  static_cast<uint32_t>(rowBytes * static_cast<uint64_t>(rows)),
                  reinterpret_cast<const uint8_t*>(pixels + static_cast<size_t>(y) * static_cast<size_t>(width)));
  }
  return true;
}
