// The PNG decoder and the chunk walk before it, on files built here: files whose chunks
// state more than they hold, images larger than their data could fill, and the files the
// walk must still let through.
#include <gtest/gtest.h>
#include <zlib.h>

#include <optional>
#include <string>

#include "media/cursor_reader.h"
#include "media/png_chunks.h"
#include "media/png_decoder.h"
#include "png_chunk.h"

namespace {

const uint8_t* Data(const std::string& bytes) { return reinterpret_cast<const uint8_t*>(bytes.data()); }

std::string Header(uint32_t width, uint32_t height, uint8_t depth, uint8_t colourType) {
  std::string data(13, '\0');
  for (int i = 0; i < 4; ++i) {
    data[i] = static_cast<char>(width >> (24 - 8 * i));
    data[4 + i] = static_cast<char>(height >> (24 - 8 * i));
  }
  data[8] = static_cast<char>(depth);
  data[9] = static_cast<char>(colourType);
  return PngChunk("IHDR", data);
}

std::string Compressed(const std::string& raw) {
  uLongf size = compressBound(static_cast<uLong>(raw.size()));
  std::string out(size, '\0');
  EXPECT_EQ(compress2(reinterpret_cast<Bytef*>(out.data()), &size, Data(raw), static_cast<uLong>(raw.size()), 9), Z_OK);
  out.resize(size);
  return out;
}

// The filtered rows of an 8-bit grey image, every byte `value`.
std::string GreyRows(uint32_t width, uint32_t height, uint8_t value) {
  std::string row = std::string(1, '\0') + std::string(width, static_cast<char>(value));
  std::string raw;
  for (uint32_t y = 0; y < height; ++y) raw += row;
  return raw;
}

std::string File(std::initializer_list<std::string> chunks) {
  std::string out = kPngFileSignature;
  for (const std::string& chunk : chunks) out += chunk;
  return out;
}

std::string GreyFile(uint32_t width, uint32_t height, uint8_t value, const std::string& beforeData = {},
                     const std::string& after = {}) {
  return File({Header(width, height, 8, 0), beforeData, PngChunk("IDAT", Compressed(GreyRows(width, height, value))),
               PngChunk("IEND", {})}) +
         after;
}

// A header stating this size with the data of an 8 × 8 grey image: far too little to fill it.
std::string StarvedFile(uint32_t width, uint32_t height) {
  return File({Header(width, height, 8, 6), PngChunk("IDAT", Compressed(GreyRows(8, 8, 0))), PngChunk("IEND", {})});
}

std::optional<CPixelSurface> Decode(const std::string& file) { return DecodePng(Data(file), file.size()); }

// Found by the fuzzer: a 32×32 header, then an sPLT chunk stating 0x73737373 bytes in a
// 70-byte file. libpng allocated the stated 1.9 GB before finding the file too short.
const char kHugeChunkFuzzInput[] =
    "\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0 \0\0\0 \x01\x03\0\0\0I\xb4\xe8\xb7\0\0\0\x06sssss=sssssssssssssPLTE"
    "\xee\xff\"\"f\xffl\x1a\xd2&";

TEST(PngChunkScan, FollowsTheChunksAndStopsWhereOneRunsPastTheEnd) {
  const std::string good = GreyFile(4, 3, 0x80);
  const SPngChunkScan whole = ScanPngChunks(Data(good), good.size());
  EXPECT_TRUE(whole.headerFits);
  EXPECT_TRUE(whole.complete);
  EXPECT_EQ(whole.imageDataBytes, Compressed(GreyRows(4, 3, 0x80)).size());

  // Cut inside IEND, two bytes into the image data (past IEND and the CRC), and inside
  // the header chunk.
  const SPngChunkScan noEnd = ScanPngChunks(Data(good), good.size() - 2);
  EXPECT_TRUE(noEnd.headerFits);
  EXPECT_FALSE(noEnd.complete);
  const SPngChunkScan cutData = ScanPngChunks(Data(good), good.size() - 18);
  EXPECT_TRUE(cutData.headerFits);
  EXPECT_FALSE(cutData.complete);
  EXPECT_EQ(cutData.imageDataBytes, whole.imageDataBytes - 2);
  const SPngChunkScan cutHeader = ScanPngChunks(Data(good), 20);
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
  const std::string data = Compressed(GreyRows(4096, 1024, 0));
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
  EXPECT_FALSE(Decode(GreyFile(2, 2, 1, PngChunk("tEXt", std::string("a\0b", 3), 0x7FFFFFF0u))));
  EXPECT_FALSE(Decode(StarvedFile(65535, 65535)));
  // A header within the pixel limit whose data could fill only a sliver of it.
  EXPECT_FALSE(Decode(StarvedFile(8192, 8192)));
  // More pixels than any character image, though the data would fill them.
  EXPECT_FALSE(Decode(File({Header(65535, 1025, 1, 0), PngChunk("IDAT", Compressed(std::string(1025 * 8193, '\0'))),
                            PngChunk("IEND", {})})));
  // Every cut of a good file fails.
  const std::string good = GreyFile(3, 2, 0x40);
  for (std::size_t length = 0; length < good.size(); ++length) {
    EXPECT_FALSE(DecodePng(Data(good), length)) << length;
  }
}

TEST(PngDecoder, GoodFilesStillDecode) {
  const auto plain = Decode(GreyFile(3, 2, 0x40));
  ASSERT_TRUE(plain);
  EXPECT_EQ(plain->Width(), 3);
  EXPECT_EQ(plain->Height(), 2);
  EXPECT_EQ(plain->At(2, 1), 0xFF404040u);
  // Bytes after IEND are never read; a large chunk libpng skips still lets the image load.
  EXPECT_TRUE(Decode(GreyFile(3, 2, 0x40, {}, "junk")));
  EXPECT_TRUE(Decode(GreyFile(3, 2, 0x40, PngChunk("zzZz", std::string(9u << 20, 'x')))));
  // As well compressed as zlib can: 4096 × 1024 zeros.
  const auto zeros = Decode(GreyFile(4096, 1024, 0));
  ASSERT_TRUE(zeros);
  EXPECT_EQ(zeros->At(4095, 1023), 0xFF000000u);
}

TEST(PngDecoder, CursorPngsKeepTheirOwnRules) {
  // Icon and cursor files give the image's bytes; their reader stops after the image data,
  // so a missing IEND is fine there, while the fuzzed header chunk still fails.
  std::string noEnd = GreyFile(2, 2, 0x20);
  noEnd.resize(noEnd.size() - 12);
  const CPixelSurface cut = DecodeIconImage(noEnd);
  EXPECT_EQ(cut.Width(), 2);
  EXPECT_TRUE(DecodeIconImage(std::string(kHugeChunkFuzzInput, sizeof kHugeChunkFuzzInput - 1)).Empty());
  EXPECT_TRUE(DecodeIconImage(StarvedFile(4096, 4096)).Empty());
}

}  // namespace
