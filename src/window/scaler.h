#pragma once
// The scaler the paint pipeline uses: the same results as ScaleReference, bit for bit,
// computed from per-column tables and (on x86-64) SSE2 channel arithmetic (AVX2 where the processor has it). Its tables
// and row buffers are sized once for the widest output, so scaling allocates nothing.
#include <cstdint>
#include <vector>

#include "window/scale_rules.h"

class CScaler {
 public:
  // Ready for outputs up to `maxOutWidth` pixels wide; wider outputs grow the tables once.
  explicit CScaler(int maxOutWidth = 0);

  // Scales `request` into `out` (stride in pixels); with a region, only the pixels in it
  // are written, each exactly as a whole scaling would write it. Nothing is written when
  // the source is not inside the image or the output is empty.
  void Scale(const SScaleRequest& request, uint32_t* out, int outStride);

 private:
  void Reserve(int outWidth);
  void PrepareColumns(const SScaleRequest& request, uint32_t sx);
  void Nearest(const SScaleRequest& request, uint32_t sy, uint32_t* out, int outStride);
  void Bilinear(const SScaleRequest& request, uint32_t sy, uint32_t* out, int outStride);
  void AreaAverage(const SScaleRequest& request, uint32_t sy, uint32_t* out, int outStride);
  // The horizontal pass of one source row into 16-bit channels, cached by row.
  const uint16_t* HorizontalRow(const SScaleRequest& request, int row);
  // The output rows (in the order they are computed) and columns the region covers.
  bool SetRegion(const SScaleRequest& request);

  // Per output column, in output order (mirroring already applied).
  std::vector<int32_t> firstColumn_;
  std::vector<int32_t> secondColumn_;  // bilinear right neighbour; area: last column
  std::vector<uint16_t> columnWeight_;  // bilinear weight; area: first weight
  std::vector<uint16_t> lastWeight_;    // area: last weight
  // Bilinear, for the vector path: the left pixel of a pair that is always inside the
  // row, and the pair's weights over eight 16-bit lanes, four of (256 − w) and four of w.
  // A clamped right neighbour becomes the pair ending at it with all the weight on the
  // right, which gives the same pixel.
  std::vector<int32_t> pairColumn_;
  std::vector<uint16_t> laneWeights_;
  // Two horizontally blended rows, four 16-bit channels per output pixel.
  std::vector<uint16_t> rows_[2];
  int cachedRow_[2] = {-1, -1};
  int capacity_ = 0;
  int firstRow_ = 0;  // logical output rows [firstRow_, lastRow_)
  int lastRow_ = 0;
  int firstCol_ = 0;  // output columns [firstCol_, lastCol_)
  int lastCol_ = 0;
  // Bilinear to exactly twice the width, which has loops of its own.
  enum class EDoubling { None, Plain, Mirrored };
  EDoubling doubling_ = EDoubling::None;
};
