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

namespace {

void Check(const uint8_t* data, size_t size) {
  const auto surface = DecodeTga(data, size);
  if (!surface) return;
  if (surface->Width() <= 0 || surface->Height() <= 0) std::abort();
  const std::size_t count = static_cast<std::size_t>(surface->Width()) * static_cast<std::size_t>(surface->Height());
  for (std::size_t i = 0; i < count; ++i) {
    const uint32_t p = surface->Pixels()[i];
    const uint32_t alpha = p >> 24;
    if ((p & 0xFF) > alpha || ((p >> 8) & 0xFF) > alpha || ((p >> 16) & 0xFF) > alpha) std::abort();
  }
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
