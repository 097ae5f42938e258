// Feeds arbitrary bytes to the PNG decoder: it must fail cleanly or give a surface whose
// premultiplied channels never exceed alpha.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "media/png_decoder.h"
#include "surface_checks.h"

namespace {

// Headers claiming more pixels than this are skipped: libpng allocates every row before
// reading the data, which would only measure the fuzzer's memory limit.
constexpr uint64_t kMaxFuzzPixels = 1u << 22;

uint32_t ReadBigEndian32(const uint8_t* p) {
  return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Signature (8), IHDR length and type (8), then width and height.
  if (size >= 24 && uint64_t{ReadBigEndian32(data + 16)} * ReadBigEndian32(data + 20) > kMaxFuzzPixels) return 0;
  const auto surface = DecodePng(data, size);
  if (surface) CheckPremultipliedSurface(*surface);
  return 0;
}
