// Feeds arbitrary bytes to the TGA decoder, once as they are and once with a TGA 2.0
// footer appended so the fuzzer reaches the pixel decoding without guessing the
// signature: it must fail cleanly or give a surface whose premultiplied channels never
// exceed alpha.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "media/tga_decoder.h"
#include "surface_checks.h"

namespace {

void Check(const uint8_t* data, size_t size) {
  const auto surface = DecodeTga(data, size);
  if (surface) CheckPremultipliedSurface(*surface);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Check(data, size);
  static constexpr char kFooter[] = "\0\0\0\0\0\0\0\0TRUEVISION-XFILE.";  // + the literal's NUL
  std::vector<uint8_t> withFooter(data, data + size);
  withFooter.insert(withFooter.end(), kFooter, kFooter + sizeof kFooter);
  Check(withFooter.data(), withFooter.size());
  return 0;
}
