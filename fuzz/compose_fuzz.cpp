// Merges and scales with arbitrary rectangles, positions, sizes, mirror modes, filters
// and opacities over a small image: nothing may read or write outside its surface
// (ASan), and the fast scaler must equal the plain rules.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "window/layer_merge.h"
#include "window/scaler.h"

namespace {

// Takes bytes from the front of the input; zeros once it runs out.
class CBytes {
 public:
  CBytes(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  uint32_t Next() { return at_ < size_ ? data_[at_++] : 0; }
  int Signed(int range) { return static_cast<int>(Next() % static_cast<uint32_t>(2 * range + 1)) - range; }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t at_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  CBytes bytes(data, size);
  const int width = 1 + static_cast<int>(bytes.Next() % 24);
  const int height = 1 + static_cast<int>(bytes.Next() % 24);
  CPixelSurface image(width, height);
  for (int i = 0; i < width * height; ++i) {
    image.Pixels()[i] = bytes.Next() << 24 | bytes.Next() << 16 | bytes.Next() << 8 | bytes.Next();
  }
  const SPixelRect source{bytes.Signed(30), bytes.Signed(30), bytes.Signed(30), bytes.Signed(30)};
  const int mirror = static_cast<int>(bytes.Next() % 4);

  CPixelSurface layer(1 + static_cast<int>(bytes.Next() % 24), 1 + static_cast<int>(bytes.Next() % 24));
  CopyFrame(ViewOf(image), source, layer);
  MergeLayer(layer, bytes.Signed(30), bytes.Signed(30), ViewOf(image), source, bytes.Signed(30), bytes.Signed(30),
             mirror);

  SScaleRequest request;
  request.image = ViewOf(image);
  request.source = source;
  request.outWidth = bytes.Signed(80);
  request.outHeight = bytes.Signed(80);
  request.filter = static_cast<EScaleFilter>(bytes.Next() % 3);
  request.mirror = mirror;
  request.opacity = static_cast<double>(bytes.Next()) / 200.0;
  const int stride = request.outWidth > 0 ? request.outWidth : 1;
  const size_t count = static_cast<size_t>(stride) * static_cast<size_t>(request.outHeight > 0 ? request.outHeight : 1);
  std::vector<uint32_t> expected(count, 0);
  std::vector<uint32_t> actual(count, 0);
  ScaleReference(request, expected.data(), stride);
  CScaler scaler;
  scaler.Scale(request, actual.data(), stride);
  if (actual != expected) std::abort();
  return 0;
}
