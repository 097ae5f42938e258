// The PNG decoder and the chunk walk before it, on files built here: files whose chunks
// state more than they hold, images larger than their data could fill, and the files the
// walk must still let through.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "media/cursor_reader.h"
#include "media/png_chunks.h"
#include "media/png_decoder.h"

namespace {

using Bytes = std::vector<uint8_t>;

void WriteBigEndian32(uint8_t* out, uint32_t value) {
  for (int i = 0; i < 4; ++i) out[i] = static_cast<uint8_t>(value >> (24 - 8 * i));
}

// One chunk with its CRC; `statedLength` overrides the length field when given. The chunk is
// sized once and written in place (growing it byte by byte trips a false overflow warning in
// GCC 12's optimiser).
Bytes Chunk(const char* type, const Bytes& data, std::optional<uint32_t> statedLength = std::nullopt) {
  Bytes out(12 + data.size());
  WriteBigEndian32(out.data(), statedLength.value_or(static_cast<uint32_t>(data.size())));
  std::memcpy(out.data() + 4, type, 4);
  if (!data.empty()) std::memcpy(out.data() + 8, data.data(), data.size());
  const uLong crc = crc32(0, out.data() + 4, static_cast<uInt>(4 + data.size()));
  WriteBigEndian32(out.data() + 8 + data.size(), static_cast<uint32_t>(crc));
  return out;
}

Bytes Header(uint32_t width, uint32_t height, uint8_t depth, uint8_t colourType) {
  Bytes data(13, 0);
  WriteBigEndian32(data.data(), width);
  WriteBigEndian32(data.data() + 4, height);
  data[8] = depth;
  data[9] = colourType;
  return Chunk("IHDR", data);
}

Bytes Compressed(const Bytes& raw) {
  uLongf size = compressBound(static_cast<uLong>(raw.size()));
  Bytes out(size);
  EXPECT_EQ(compress2(out.data(), &size, raw.data(), static_cast<uLong>(raw.size()), 9), Z_OK);
  out.resize(size);
  return out;
}

// The filtered rows of an 8-bit grey image, every byte `value`.
Bytes GreyRows(uint32_t width, uint32_t height, uint8_t value) {
  Bytes raw;
  for (uint32_t y = 0; y < height; ++y) {
    raw.push_back(0);
    raw.insert(raw.end(), width, value);
  }
  return raw;
}

Bytes File(std::initializer_list<Bytes> chunks) {
  Bytes out = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  for (const Bytes& chunk : chunks) out.insert(out.end(), chunk.begin(), chunk.end());
  return out;
}

Bytes GreyFile(uint32_t width, uint32_t height, uint8_t value, const Bytes& beforeData = {}, const Bytes& after = {}) {
  Bytes file = File({Header(width, height, 8, 0), beforeData, Chunk("IDAT", Compressed(GreyRows(width, height, value))),
                     Chunk("IEND", {})});
  file.insert(file.end(), after.begin(), after.end());
  return file;
}

std::optional<CPixelSurface> Decode(const Bytes& file) { return DecodePng(file.data(), file.size()); }

// Found by the fuzzer: a 32×32 header, then an sPLT chunk stating 0x73737373 bytes in a
// 70-byte file. libpng allocated the stated 1.9 GB before finding the file too short.
const char kHugeChunkFuzzInput[] =
    "\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0 \0\0\0 \x01\x03\0\0\0I\xb4\xe8\xb7\0\0\0\x06sssss=sssssssssssssPLTE"
    "\xee\xff\"\"f\xffl\x1a\xd2&";

TEST(PngChunkScan, FollowsTheChunksAndStopsWhereOneRunsPastTheEnd) {
  const Bytes good = GreyFile(4, 3, 0x80);
  const SPngChunkScan whole = ScanPngChunks(good.data(), good.size());
  EXPECT_TRUE(whole.headerFits);
  EXPECT_TRUE(whole.complete);
  EXPECT_EQ(whole.imageDataBytes, Compressed(GreyRows(4, 3, 0x80)).size());

  // Cut inside IEND, two bytes into the image data (past IEND and the CRC), and inside
  // the header chunk.
  const SPngChunkScan noEnd = ScanPngChunks(good.data(), good.size() - 2);
  EXPECT_TRUE(noEnd.headerFits);
  EXPECT_FALSE(noEnd.complete);
  const SPngChunkScan cutData = ScanPngChunks(good.data(), good.size() - 18);
  EXPECT_TRUE(cutData.headerFits);
  EXPECT_FALSE(cutData.complete);
  EXPECT_EQ(cutData.imageDataBytes, whole.imageDataBytes - 2);
  const SPngChunkScan cutHeader = ScanPngChunks(good.data(), 20);
  EXPECT_FALSE(cutHeader.headerFits);
  EXPECT_FALSE(cutHeader.complete);

  const auto* fuzzed = reinterpret_cast<const uint8_t*>(kHugeChunkFuzzInput);
  const SPngChunkScan huge = ScanPngChunks(fuzzed, sizeof kHugeChunkFuzzInput - 1);
  EXPECT_FALSE(huge.headerFits);
  EXPECT_FALSE(huge.complete);
}

TEST(PngChunkScan, DataBoundHoldsForTheBestCompressionAndRefusesLess) {
  // Zeros at zlib's best level come close to deflate's limit; the bound must still let
  // them through, and refuse the same image with half its data.
  const Bytes data = Compressed(GreyRows(4096, 1024, 0));
  EXPECT_TRUE(ImageDataCanHold(data.size(), 4096, 1024, 8));
  EXPECT_FALSE(ImageDataCanHold(data.size() / 2, 4096, 1024, 8));
  // No product of the largest stated sizes overflows into a pass.
  EXPECT_FALSE(ImageDataCanHold(1, 0xFFFFFFFFu, 0xFFFFFFFFu, 64));
  EXPECT_TRUE(ImageDataCanHold(0, 0, 5, 8));
}

TEST(PngDecoder, FilesStatingMoreThanTheyHoldFail) {
  EXPECT_FALSE(DecodePng(reinterpret_cast<const uint8_t*>(kHugeChunkFuzzInput), sizeof kHugeChunkFuzzInput - 1));
  // A text chunk stating 2 GB before the image, and an image header stating 65535 × 65535
  // pixels with a few bytes of data.
  EXPECT_FALSE(Decode(GreyFile(2, 2, 1, Chunk("tEXt", {'a', 0, 'b'}, 0x7FFFFFF0u))));
  EXPECT_FALSE(Decode(File({Header(65535, 65535, 8, 6), Chunk("IDAT", Compressed(GreyRows(8, 8, 0))), Chunk("IEND", {})})));
  // A header within the pixel limit whose data could fill only a sliver of it.
  EXPECT_FALSE(Decode(File({Header(8192, 8192, 8, 6), Chunk("IDAT", Compressed(GreyRows(8, 8, 0))), Chunk("IEND", {})})));
  // More pixels than any character image, though the data would fill them.
  EXPECT_FALSE(Decode(File({Header(65535, 1025, 1, 0), Chunk("IDAT", Compressed(Bytes(1025 * 8193, 0))),
                            Chunk("IEND", {})})));
  // Every cut of a good file fails.
  const Bytes good = GreyFile(3, 2, 0x40);
  for (std::size_t length = 0; length < good.size(); ++length) {
    EXPECT_FALSE(DecodePng(good.data(), length)) << length;
  }
}

TEST(PngDecoder, GoodFilesStillDecode) {
  const auto plain = Decode(GreyFile(3, 2, 0x40));
  ASSERT_TRUE(plain);
  EXPECT_EQ(plain->Width(), 3);
  EXPECT_EQ(plain->Height(), 2);
  EXPECT_EQ(plain->At(2, 1), 0xFF404040u);
  // Bytes after IEND are never read; a large chunk libpng skips still lets the image load.
  EXPECT_TRUE(Decode(GreyFile(3, 2, 0x40, {}, {'j', 'u', 'n', 'k'})));
  EXPECT_TRUE(Decode(GreyFile(3, 2, 0x40, Chunk("zzZz", Bytes(9u << 20, 'x')))));
  // As well compressed as zlib can: 4096 × 1024 zeros.
  const auto zeros = Decode(GreyFile(4096, 1024, 0));
  ASSERT_TRUE(zeros);
  EXPECT_EQ(zeros->At(4095, 1023), 0xFF000000u);
}

TEST(PngDecoder, CursorPngsKeepTheirOwnRules) {
  // Icon and cursor files give the image's bytes; their reader stops after the image data,
  // so a missing IEND is fine there, while the fuzzed header chunk still fails.
  Bytes noEnd = GreyFile(2, 2, 0x20);
  noEnd.resize(noEnd.size() - 12);
  const CPixelSurface cut = DecodeIconImage(std::string(noEnd.begin(), noEnd.end()));
  EXPECT_EQ(cut.Width(), 2);
  EXPECT_TRUE(DecodeIconImage(std::string(kHugeChunkFuzzInput, sizeof kHugeChunkFuzzInput - 1)).Empty());
  const Bytes tooLarge = File({Header(4096, 4096, 8, 6), Chunk("IDAT", Compressed(GreyRows(8, 8, 0))), Chunk("IEND", {})});
  EXPECT_TRUE(DecodeIconImage(std::string(tooLarge.begin(), tooLarge.end())).Empty());
}

}  // namespace
