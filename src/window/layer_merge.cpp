#include "window/layer_merge.h"

#include <algorithm>
#include <cstring>

void CopyFrame(const SImageView& frame, const SPixelRect& rect, CPixelSurface& layer) {
  if (!RectInside(frame, rect)) return;
  const int width = std::min(rect.width, layer.Width());
  const int height = std::min(rect.height, layer.Height());
  for (int y = 0; y < height; ++y) {
    std::memcpy(layer.Row(y), frame.Row(rect.y + y) + rect.x, static_cast<size_t>(width) * sizeof(uint32_t));
  }
}

void MergeLayer(CPixelSurface& layer, int frameWidth, int frameHeight, const SImageView& image,
                const SPixelRect& source, int dstX, int dstY, int mirror) {
  if (!RectInside(image, source)) return;
  frameWidth = std::min(frameWidth, layer.Width());
  frameHeight = std::min(frameHeight, layer.Height());
  const int rowBegin = std::max(dstY, 0);
  const int rowEnd = std::min<long long>(frameHeight, static_cast<long long>(dstY) + source.height);
  const int columnBegin = std::max(dstX, 0);
  const int columnEnd = std::min<long long>(frameWidth, static_cast<long long>(dstX) + source.width);
  if (rowBegin >= rowEnd || columnBegin >= columnEnd) return;

  // Source pixels that would land left of or above the surface are skipped.
  const int skipRows = rowBegin - dstY;
  const int skipColumns = columnBegin - dstX;
  const int columnStep = MirrorsColumns(mirror) ? -1 : 1;
  const int firstColumn = MirrorsColumns(mirror) ? source.x + source.width - 1 - skipColumns
                                                 : source.x + skipColumns;
  for (int row = rowBegin; row < rowEnd; ++row) {
    const int k = skipRows + (row - rowBegin);
    const int sourceRow = MirrorsRows(mirror) ? source.y + source.height - 1 - k : source.y + k;
    const uint32_t* s = image.Row(sourceRow) + firstColumn;
    uint32_t* d = layer.Row(row) + columnBegin;
    for (int column = columnBegin; column < columnEnd; ++column, s += columnStep, ++d) {
      *d = MergePixel(*s, *d);
    }
  }
}
