#include "balloon/glyph_renderer.h"

#include <algorithm>

#include "balloon/glyph_cache.h"

CGlyphRenderer::CGlyphRenderer(int width, int height) : atlas_(std::max(width, 1), std::max(height, 1)) {
  cells_.reserve(256);
}

void CGlyphRenderer::Reset() {
  cells_.clear();
  penX_ = 0;
  penY_ = 0;
  rowHeight_ = 0;
}

bool CGlyphRenderer::RenderGlyph(char32_t code, const SGlyphStyle& style, CGlyphCache& cache) {
  if (style.font == nullptr) return false;
  const int lineHeight = std::max(style.metrics.height, 0);
  // A lower font than the row so far starts a row of its own.
  if (lineHeight < rowHeight_) {
    penX_ = 0;
    penY_ += rowHeight_;
  }

  const SCachedGlyph& glyph = cache.Glyph(*style.font, code, style.format);
  const int shift = glyph.ok && glyph.outline.originX < 0 ? -glyph.outline.originX : 0;
  const int cellWidth = shift + std::max(glyph.ok ? glyph.outline.advanceX : 0, 0);

  if (penX_ + cellWidth > atlas_.Width()) {
    penX_ = 0;
    penY_ += lineHeight;
  }
  // The cell must lie inside the atlas, the row it moved to included.
  if (penY_ + lineHeight > atlas_.Height() || cellWidth > atlas_.Width()) return false;

  ClearCell(penX_, penY_, cellWidth, lineHeight);
  if (glyph.ok && glyph.outline.blackBoxWidth > 0 && glyph.outline.blackBoxHeight > 0) {
    DrawBits(glyph.outline, glyph.bits, style.format, style.colour, penX_ + shift + glyph.outline.originX,
             penY_ + style.metrics.ascent - glyph.outline.originY);
  }
  cells_.push_back({penX_, penY_, penX_ + cellWidth, penY_ + lineHeight});
  penX_ += cellWidth;
  rowHeight_ = lineHeight;
  return true;
}

void CGlyphRenderer::ClearCell(int x, int y, int width, int height) {
  for (int row = y; row < y + height; ++row) std::fill_n(atlas_.Row(row) + x, width, 0u);
}

void CGlyphRenderer::DrawBits(const SGlyphOutline& outline, const std::vector<uint8_t>& bits, int format,
                              uint32_t colour, int left, int top) {
  const int pitch = GlyphPitch(format, outline.blackBoxWidth);
  if (bits.size() < static_cast<size_t>(pitch) * static_cast<size_t>(outline.blackBoxHeight)) return;
  const uint32_t red = (colour >> 16) & 0xFF;
  const uint32_t green = (colour >> 8) & 0xFF;
  const uint32_t blue = colour & 0xFF;
  const int levels = GlyphLevels(format);
  // Only the part of the black box inside the atlas is drawn.
  const int firstX = std::max(0, -left);
  const int lastX = std::min(outline.blackBoxWidth, atlas_.Width() - left);
  const int firstY = std::max(0, -top);
  const int lastY = std::min(outline.blackBoxHeight, atlas_.Height() - top);
  for (int y = firstY; y < lastY; ++y) {
    const uint8_t* source = bits.data() + static_cast<size_t>(y) * static_cast<size_t>(pitch);
    uint32_t* target = atlas_.Row(top + y) + left;
    for (int x = firstX; x < lastX; ++x) {
      if (format == GLYPH_FORMAT_MONO) {
        target[x] = ((source[x / 8] >> (7 - x % 8)) & 1) ? (0xFF000000u | (red << 16) | (green << 8) | blue) : 0u;
        continue;
      }
      const uint32_t level = std::min<uint32_t>(source[x], static_cast<uint32_t>(levels));
      if (level == 0) continue;
      const uint32_t alpha = level * 255 / static_cast<uint32_t>(levels);
      target[x] = (alpha << 24) | ((red * alpha / 255) << 16) | ((green * alpha / 255) << 8) | (blue * alpha / 255);
    }
  }
}
