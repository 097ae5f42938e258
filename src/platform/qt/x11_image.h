#pragma once
// A window's pixels put straight into its X window through Qt's connection, without
// Qt's painting (made and released on the GUI thread; Put from one thread at a time,
// any thread): a frame costs one request for the part it changed,
// where a repaint through Qt costs a paint event, a backing store copy and a flush of
// its own. Qt still paints the window when the server asks (shown, resized, exposed).
//
// On a local server with MIT-SHM 1.2 the pixels go through memory shared with the
// server, so a frame's request is a few bytes and the X server copies only the changed
// rectangle; otherwise they travel in the requests themselves, whole rows at a time.
#include <cstddef>
#include <cstdint>

#include "platform/geometry.h"

struct xcb_connection_t;

class CX11WindowImage {
 public:
  // Ready() when the window takes our pixels as they are: 32 bits a pixel, least
  // significant byte first (0xAARRGGBB words); one round trip (two for the first
  // window on a connection, which also tries the shared memory).
  explicit CX11WindowImage(uint32_t window);
  ~CX11WindowImage();
  CX11WindowImage(const CX11WindowImage&) = delete;
  CX11WindowImage& operator=(const CX11WindowImage&) = delete;

  bool Ready() const { return gc_ != 0; }
  // Sends the part `changed` of an image `width` × `height` pixels with `width` words a
  // row, at the window's origin; the requests go out at the next flush. False when they
  // cannot go this way (not ready, or larger than the protocol allows).
  bool Put(const uint32_t* pixels, int width, int height, const SRect& changed);
  // Fills `area` of the window with clear pixels (all bits zero); one request.
  void Clear(const SRect& area);
  // Frees what the server holds for it (also done on destruction); Put then refuses.
  void Release();

 private:
  bool PutShared(const uint32_t* pixels, int width, int height, const SRect& changed);
  bool PutRows(const uint32_t* pixels, int width, int top, int bottom);
  // A shared segment of at least `bytes`; false (and no segment) when none can be made,
  // after which no window of the connection tries again.
  bool EnsureSegment(size_t bytes);
  // `connection` is where the segment was attached, null once Qt closed it.
  void DropSegment(xcb_connection_t* connection);

  xcb_connection_t* connection_ = nullptr;  // Qt's, which outlives every put
  uint32_t window_ = 0;
  uint32_t gc_ = 0;
  uint8_t depth_ = 0;
  uint64_t maxRequestBytes_ = 0;
  uint32_t segment_ = 0;
  void* mapped_ = nullptr;
  size_t mappedBytes_ = 0;
};
