// The shape of a window from its alpha, worked out whole and again for the rows a frame
// changed: the second must cost in proportion to those rows, not to the window, so a
// large character whose frame changes a few rows reshapes at the price of those rows.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "platform/qt/alpha_shape.h"

namespace {

constexpr int kSide = 256;

// A sprite-like picture: an opaque disc with a clear hole, clear corners.
std::vector<uint32_t> Disc(int shift) {
  std::vector<uint32_t> pixels(static_cast<size_t>(kSide) * kSide, 0u);
  const int centre = kSide / 2;
  for (int y = 0; y < kSide; ++y) {
    for (int x = 0; x < kSide; ++x) {
      const int dx = x - centre - shift;
      const int dy = y - centre;
      const int distance = dx * dx + dy * dy;
      if (distance < (kSide / 2 - 4) * (kSide / 2 - 4) && distance > 400) {
        pixels[static_cast<size_t>(y) * kSide + static_cast<size_t>(x)] = 0xFF336699u;
      }
    }
  }
  return pixels;
}

void BM_ShapeWhole(benchmark::State& state) {
  const std::vector<uint32_t> pixels = Disc(0);
  std::vector<SShapeRect> rects;
  for (auto _ : state) {
    AlphaShapeRects(pixels.data(), kSide, kSide, kSide, rects);
    benchmark::DoNotOptimize(rects.data());
  }
  state.counters["rects"] = static_cast<double>(rects.size());
}
BENCHMARK(BM_ShapeWhole);

// The argument is how many rows in the middle changed (the disc moved sideways there).
void BM_ShapeAgainForChangedRows(benchmark::State& state) {
  const int rows = static_cast<int>(state.range(0));
  const std::vector<uint32_t> before = Disc(0);
  const std::vector<uint32_t> moved = Disc(3);
  std::vector<uint32_t> after = before;
  const int top = (kSide - rows) / 2;
  for (int y = top; y < top + rows; ++y) {
    for (int x = 0; x < kSide; ++x) {
      const size_t at = static_cast<size_t>(y) * kSide + static_cast<size_t>(x);
      after[at] = moved[at];
    }
  }
  std::vector<SShapeRect> rects;
  AlphaShapeRects(before.data(), kSide, kSide, kSide, rects);
  std::vector<SShapeRect> scratch;
  // Each pass redoes the same rows of the same picture: the same work every time.
  for (auto _ : state) {
    AlphaShapeRectsAgain(after.data(), kSide, kSide, kSide, top, top + rows, rects, scratch);
    benchmark::DoNotOptimize(rects.data());
  }
}
BENCHMARK(BM_ShapeAgainForChangedRows)->Arg(4)->Arg(16)->Arg(64)->Arg(256);

}  // namespace
