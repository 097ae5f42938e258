#pragma once
// CGlyphRenderer: the glyph atlas of one text layer. Each revealed character is drawn
// once into the next cell of a premultiplied ARGB surface, in the style's colour; the
// balloon's paint then copies the cells to their places in the text. Cells fill the
// atlas row by row; when it is full, characters are refused until Reset.
#include <cstdint>
#include <vector>

#include "media/pixel_surface.h"
#include "platform/text.h"
#include "window/image_view.h"

class CGlyphCache;

// A cell of the atlas: left and top inclusive, right and bottom exclusive.
struct SGlyphCell {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
};

// What a glyph is drawn with: the font, its measures (asked for once per style), the
// glyph format and the colour (0xAARRGGBB; the alpha byte is not used).
struct SGlyphStyle {
  IFont* font = nullptr;
  SFontMetrics metrics;
  int format = GLYPH_FORMAT_GRAY8;
  uint32_t colour = 0xFF000000u;
};

class CGlyphRenderer {
 public:
  // The atlas is the size of the largest picture the balloon can show.
  CGlyphRenderer(int width, int height);

  // Draws `code` into a new cell and appends the cell; false when the atlas has no room
  // left for it. A glyph the font cannot give still takes its cell, left empty.
  bool RenderGlyph(char32_t code, const SGlyphStyle& style, CGlyphCache& cache);
  // Forgets every cell and starts filling the atlas from its top-left again.
  void Reset();

  const std::vector<SGlyphCell>& Cells() const { return cells_; }
  SImageView AtlasView() const { return {atlas_.Pixels(), atlas_.Width(), atlas_.Width(), atlas_.Height()}; }
  const CPixelSurface& Atlas() const { return atlas_; }

 private:
  void ClearCell(int x, int y, int width, int height);
  void DrawBits(const SGlyphOutline& outline, const std::vector<uint8_t>& bits, int format, uint32_t colour,
                int left, int top);

  CPixelSurface atlas_;
  int penX_ = 0;
  int penY_ = 0;
  int rowHeight_ = 0;
  std::vector<SGlyphCell> cells_;
};
