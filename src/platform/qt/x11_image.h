#pragma once
// A window's pixels put straight into its X window through Qt's connection (GUI thread
// only), without Qt's painting: a frame costs one request for the rows it changed,
// where a repaint through Qt costs a paint event, a backing store copy and a flush of
// its own. Qt still paints the window when the server asks (shown, resized, exposed).
#include <cstdint>

struct xcb_connection_t;

class CX11WindowImage {
 public:
  // Ready() when the window takes our pixels as they are: 32 bits a pixel, least
  // significant byte first (0xAARRGGBB words); one round trip.
  explicit CX11WindowImage(uint32_t window);
  ~CX11WindowImage();
  CX11WindowImage(const CX11WindowImage&) = delete;
  CX11WindowImage& operator=(const CX11WindowImage&) = delete;

  bool Ready() const { return gc_ != 0; }
  // Sends rows [top, bottom) of an image `width` pixels wide and that many words a row,
  // at the window's origin; the requests go out at the next flush. False when they
  // cannot go this way (not ready, or wider than the protocol allows).
  bool PutRows(const uint32_t* pixels, int width, int top, int bottom);
  // Frees what the server holds for it (also done on destruction); PutRows then refuses.
  void Release();

 private:
  xcb_connection_t* connection_ = nullptr;  // Qt's, which outlives every put
  uint32_t window_ = 0;
  uint32_t gc_ = 0;
  uint8_t depth_ = 0;
  uint64_t maxRequestBytes_ = 0;
};
