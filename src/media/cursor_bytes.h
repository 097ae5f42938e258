#pragma once
// Bounds-checked little-endian reads over a byte range, shared by the cursor readers.
// Every read states its offset; a read past the end yields nullopt.
#include <cstdint>
#include <optional>
#include <string_view>

inline std::optional<uint32_t> ReadLe(std::string_view bytes, size_t offset, size_t size) {
  if (offset > bytes.size() || bytes.size() - offset < size) return std::nullopt;
  uint32_t value = 0;
  for (size_t i = 0; i < size; ++i) {
    value |= static_cast<uint32_t>(static_cast<uint8_t>(bytes[offset + i])) << (8 * i);
  }
  return value;
}

inline std::optional<uint16_t> ReadU16(std::string_view bytes, size_t offset) {
  const auto value = ReadLe(bytes, offset, 2);
  if (!value) return std::nullopt;
  return static_cast<uint16_t>(*value);
}

inline std::optional<uint32_t> ReadU32(std::string_view bytes, size_t offset) { return ReadLe(bytes, offset, 4); }
