#pragma once
// PNG files built in tests: one chunk with its length and CRC.
#include <zlib.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

inline const std::string kPngFileSignature("\x89PNG\r\n\x1a\n", 8);

// Length, type, data and CRC; `statedLength` overrides the length field when given, for
// chunks that state more than they hold. Sized once and written in place: growing it byte
// by byte trips a false overflow warning in GCC 12's optimiser.
inline std::string PngChunk(std::string_view type, std::string_view data,
                            std::optional<uint32_t> statedLength = std::nullopt) {
  std::string out(12 + data.size(), '\0');
  const auto putBigEndian32 = [&out](std::size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<char>(value >> (24 - 8 * i));
  };
  putBigEndian32(0, statedLength.value_or(static_cast<uint32_t>(data.size())));
  type.copy(out.data() + 4, 4);
  data.copy(out.data() + 8, data.size());
  const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(out.data() + 4), static_cast<uInt>(4 + data.size()));
  putBigEndian32(8 + data.size(), static_cast<uint32_t>(crc));
  return out;
}
