#pragma once
// Builds .cur and .ani files in memory for the cursor reader tests.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace cursor_builder {

inline void PutU16(std::string& out, uint32_t value) {
  out.push_back(static_cast<char>(value & 0xFF));
  out.push_back(static_cast<char>((value >> 8) & 0xFF));
}
inline void PutU32(std::string& out, uint32_t value) {
  PutU16(out, value & 0xFFFF);
  PutU16(out, value >> 16);
}

// A bottom-up DIB with its AND mask. `colour(x, y)` gives the stored value of a pixel
// (a palette index up to 8 bits, else 0xAARRGGBB); `masked(x, y)` its mask bit;
// y counts from the top.
template <class Colour, class Masked>
std::string Dib(int width, int height, int bits, const std::vector<uint32_t>& palette, Colour colour, Masked masked) {
  std::string out;
  PutU32(out, 40);
  PutU32(out, static_cast<uint32_t>(width));
  PutU32(out, static_cast<uint32_t>(height * 2));
  PutU16(out, 1);
  PutU16(out, static_cast<uint32_t>(bits));
  PutU32(out, 0);
  for (int i = 0; i < 5; ++i) PutU32(out, i == 3 ? static_cast<uint32_t>(palette.size()) : 0);
  for (uint32_t entry : palette) PutU32(out, entry);
  const size_t stride = (static_cast<size_t>(width) * bits + 31) / 32 * 4;
  for (int row = height - 1; row >= 0; --row) {
    std::string line(stride, '\0');
    for (int x = 0; x < width; ++x) {
      const uint32_t value = colour(x, row);
      if (bits >= 24) {
        for (int b = 0; b < bits / 8; ++b) line[static_cast<size_t>(x * bits / 8 + b)] = static_cast<char>(value >> (8 * b));
      } else {
        const int perByte = 8 / bits;
        const int shift = 8 - bits * (x % perByte + 1);
        line[static_cast<size_t>(x / perByte)] = static_cast<char>(line[static_cast<size_t>(x / perByte)] | (value << shift));
      }
    }
    out += line;
  }
  const size_t maskStride = (static_cast<size_t>(width) + 31) / 32 * 4;
  for (int row = height - 1; row >= 0; --row) {
    std::string line(maskStride, '\0');
    for (int x = 0; x < width; ++x) {
      if (masked(x, row)) line[static_cast<size_t>(x / 8)] = static_cast<char>(line[static_cast<size_t>(x / 8)] | (0x80 >> (x % 8)));
    }
    out += line;
  }
  return out;
}

struct SEntry {
  int width;
  int height;
  int hotX;
  int hotY;
  std::string image;
};

// An icon directory of `type` (2: cursor) holding the images.
inline std::string IconFile(const std::vector<SEntry>& entries, uint16_t type = 2) {
  std::string out;
  PutU16(out, 0);
  PutU16(out, type);
  PutU16(out, static_cast<uint32_t>(entries.size()));
  size_t offset = 6 + 16 * entries.size();
  for (const SEntry& e : entries) {
    out.push_back(static_cast<char>(e.width & 0xFF));
    out.push_back(static_cast<char>(e.height & 0xFF));
    out.push_back(0);
    out.push_back(0);
    PutU16(out, static_cast<uint32_t>(e.hotX));
    PutU16(out, static_cast<uint32_t>(e.hotY));
    PutU32(out, static_cast<uint32_t>(e.image.size()));
    PutU32(out, static_cast<uint32_t>(offset));
    offset += e.image.size();
  }
  for (const SEntry& e : entries) out += e.image;
  return out;
}

inline std::string Chunk(std::string_view id, std::string_view data) {
  std::string out(id);
  PutU32(out, static_cast<uint32_t>(data.size()));
  out += data;
  if (data.size() % 2) out.push_back('\0');
  return out;
}

inline std::string U32Table(const std::vector<uint32_t>& values) {
  std::string out;
  for (uint32_t v : values) PutU32(out, v);
  return out;
}

// An animated cursor of the frames, with optional "rate" and "seq " tables.
inline std::string AniFile(const std::vector<std::string>& frames, uint32_t steps, uint32_t jiffies,
                           const std::vector<uint32_t>& rate, const std::vector<uint32_t>& sequence,
                           uint32_t flags = 1) {
  std::string header;
  for (uint32_t v : {36u, static_cast<uint32_t>(frames.size()), steps, 0u, 0u, 0u, 0u, jiffies, flags}) PutU32(header, v);
  std::string list = "fram";
  for (const std::string& frame : frames) list += Chunk("icon", frame);
  std::string body = "ACON" + Chunk("anih", header);
  if (!rate.empty()) body += Chunk("rate", U32Table(rate));
  if (!sequence.empty()) body += Chunk("seq ", U32Table(sequence));
  body += Chunk("LIST", list);
  std::string out = "RIFF";
  PutU32(out, static_cast<uint32_t>(body.size()));
  return out + body;
}

}  // namespace cursor_builder
