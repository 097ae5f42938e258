#include "platform/win32/win32_cursor.h"

#include <cstring>

#include "media/cursor_image.h"
#include "platform/win32/win32_strings.h"

namespace {

// A cursor from the first frame's premultiplied pixels: a 32-bit colour bitmap with an
// all-zero mask lets the alpha decide.
HCURSOR CursorFromPixels(const SCursorFrame& frame) {
  const int width = frame.image.Width();
  const int height = frame.image.Height();
  if (width <= 0 || height <= 0) return nullptr;
  BITMAPV5HEADER header{};
  header.bV5Size = sizeof(header);
  header.bV5Width = width;
  header.bV5Height = -height;
  header.bV5Planes = 1;
  header.bV5BitCount = 32;
  header.bV5Compression = BI_BITFIELDS;
  header.bV5RedMask = 0x00FF0000;
  header.bV5GreenMask = 0x0000FF00;
  header.bV5BlueMask = 0x000000FF;
  header.bV5AlphaMask = 0xFF000000;
  HDC screen = GetDC(nullptr);
  void* bits = nullptr;
  HBITMAP colour = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &bits, nullptr, 0);
  ReleaseDC(nullptr, screen);
  if (colour == nullptr || bits == nullptr) return nullptr;
  for (int y = 0; y < height; ++y) {
    std::memcpy(static_cast<uint32_t*>(bits) + static_cast<size_t>(y) * static_cast<size_t>(width),
                frame.image.Pixels() + static_cast<size_t>(y) * static_cast<size_t>(frame.image.Width()),
                static_cast<size_t>(width) * sizeof(uint32_t));
  }
  HBITMAP mask = CreateBitmap(width, height, 1, 1, nullptr);
  ICONINFO info{};
  info.fIcon = FALSE;
  info.xHotspot = static_cast<DWORD>(frame.hotspotX);
  info.yHotspot = static_cast<DWORD>(frame.hotspotY);
  info.hbmMask = mask;
  info.hbmColor = colour;
  HCURSOR cursor = mask != nullptr ? CreateIconIndirect(&info) : nullptr;
  if (mask != nullptr) DeleteObject(mask);
  DeleteObject(colour);
  return cursor;
}

}  // namespace

CWin32Cursor::CWin32Cursor() : arrow_(LoadCursorW(nullptr, IDC_ARROW)) {}

CWin32Cursor::~CWin32Cursor() {
  for (auto& [image, cursor] : made_) DestroyCursor(cursor);
}

HCURSOR CWin32Cursor::CursorFor(const SCursorImage& image) {
  if (auto found = cursors_.find(&image); found != cursors_.end()) return found->second;
  HCURSOR cursor = nullptr;
  if (!image.path.empty()) {
    // Shared: the system keeps one copy per file and frees it at exit.
    cursor = static_cast<HCURSOR>(LoadImageW(nullptr, Wide(image.path), IMAGE_CURSOR, 0, 0,
                                             LR_LOADFROMFILE | LR_SHARED));
  }
  if (cursor == nullptr && !image.frames.empty()) {
    cursor = CursorFromPixels(image.frames.front());
    if (cursor != nullptr) made_[&image] = cursor;
  }
  cursors_[&image] = cursor;
  return cursor;
}

void CWin32Cursor::Show(const SCursorImage* image) {
  HCURSOR cursor = image != nullptr ? CursorFor(*image) : nullptr;
  ::SetCursor(cursor != nullptr ? cursor : arrow_);
}
