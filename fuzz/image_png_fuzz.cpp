// Feeds arbitrary bytes to the PNG decoder: it must fail cleanly or give a surface whose
// premultiplied channels never exceed alpha. Headers stating huge images are fed too: the
// decoder must refuse them before allocating, within the fuzzer's memory limit.
#include <cstddef>
#include <cstdint>

#include "media/png_decoder.h"
#include "surface_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto surface = DecodePng(data, size);
  if (surface) CheckPremultipliedSurface(*surface);
  return 0;
}
