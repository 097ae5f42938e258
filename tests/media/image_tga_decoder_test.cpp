// The TGA reader on files built here, one per rule: every image type, depth, colour map,
// key colour and orientation, and every way a file can be malformed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "image_tga_builder.h"
#include "media/image_premultiply.h"
#include "media/tga_decoder.h"

namespace {

std::optional<CPixelSurface> Decode(const STgaFile& file) {
  const std::vector<uint8_t> bytes = file.Bytes();
  return DecodeTga(bytes.data(), bytes.size());
}

std::vector<uint32_t> PixelsOf(const CPixelSurface& surface) {
  return std::vector<uint32_t>(surface.Pixels(), surface.Pixels() + surface.Width() * surface.Height());
}

// Stored bytes of 32-bit pixels given as 0xAARRGGBB (B, G, R, A order).
std::vector<uint8_t> Bgra(std::initializer_list<uint32_t> pixels) {
  std::vector<uint8_t> out;
  for (uint32_t p : pixels) {
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>(p >> shift));
  }
  return out;
}

std::vector<uint8_t> Bgr(std::initializer_list<uint32_t> pixels) {
  std::vector<uint8_t> out;
  for (uint32_t p : pixels) {
    for (int shift = 0; shift < 24; shift += 8) out.push_back(static_cast<uint8_t>(p >> shift));
  }
  return out;
}

std::vector<uint8_t> Concat(std::vector<uint8_t> a, const std::vector<uint8_t>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

constexpr uint32_t kRed = 0xFFFF0000u, kGreen = 0xFF00FF00u, kBlue = 0xFF0000FFu, kWhite = 0xFFFFFFFFu;

struct SDecodeCase {
  std::string name;
  STgaFile file;
  int width;
  int height;
  std::vector<uint32_t> expected;  // top row first, premultiplied
};

STgaFile Raw(uint8_t type, uint16_t w, uint16_t h, uint8_t depth, uint8_t descriptor, std::vector<uint8_t> pixels) {
  STgaFile file;
  file.imageType = type;
  file.width = w;
  file.height = h;
  file.depth = depth;
  file.descriptor = descriptor;
  file.pixels = std::move(pixels);
  return file;
}

STgaFile Mapped(uint8_t type, uint8_t entryBits, std::vector<uint8_t> map, uint16_t w, std::vector<uint8_t> pixels) {
  STgaFile file = Raw(type, w, 1, 8, 0x20, std::move(pixels));
  file.colourMapType = 1;
  file.mapEntryBits = entryBits;
  file.colourMap = std::move(map);
  return file;
}

std::vector<SDecodeCase> DecodeCases() {
  std::vector<SDecodeCase> cases;
  cases.push_back({"BottomUp24BitComesOutUprightAndOpaque",
                   Raw(2, 2, 2, 24, 0x00, Bgr({kRed, kGreen, kBlue, kWhite})), 2, 2,
                   {kBlue, kWhite, kRed, kGreen}});
  cases.push_back({"RightToLeftRowsAreMirrored", Raw(2, 3, 1, 24, 0x30, Bgr({kRed, kGreen, kBlue})), 3, 1,
                   {kBlue, kGreen, kRed}});
  cases.push_back({"BottomUpRightToLeft", Raw(2, 2, 2, 24, 0x10, Bgr({kRed, kGreen, kBlue, kWhite})), 2, 2,
                   {kWhite, kBlue, kGreen, kRed}});
  cases.push_back({"ThirtyTwoBitIsPremultipliedWithTruncation",
                   Raw(2, 2, 1, 32, 0x28, Bgra({0x80C86432u, 0x00FFFFFFu})), 2, 1, {0x80643219u, 0u}});
  cases.push_back({"SixteenBitFiveBitsPerChannelTopBitIgnored",
                   Raw(2, 4, 1, 16, 0x20, {0x00, 0x7C, 0xE0, 0x03, 0x1F, 0x00, 0x21, 0x84}), 4, 1,
                   {kRed, kGreen, kBlue, 0xFF080808u}});
  cases.push_back({"FifteenBitDepthReadsTwoBytes", Raw(2, 1, 1, 15, 0x20, {0x1F, 0x00}), 1, 1, {kBlue}});
  cases.push_back({"GreyEightBit", Raw(3, 2, 1, 8, 0x20, {0x40, 0xFF}), 2, 1, {0xFF404040u, kWhite}});
  cases.push_back({"GreySixteenBitIsGreyAndAlpha", Raw(3, 1, 1, 16, 0x28, {0x80, 0x40}), 1, 1, {0x40202020u}});

  STgaFile keyedGrey = Raw(3, 2, 1, 8, 0x20, {0x40, 0x41});
  keyedGrey.keyColourBytes = 0x00404040u;
  cases.push_back({"GreyKeyColourBecomesTransparent", keyedGrey, 2, 1, {0u, 0xFF414141u}});

  const std::vector<uint8_t> rgbMap = Bgr({kRed, kGreen, kBlue});
  cases.push_back({"ColourMapThreeByteEntriesAndIndexPastMapTransparent", Mapped(1, 24, rgbMap, 4, {2, 0, 1, 3}), 4,
                   1, {kBlue, kRed, kGreen, 0u}});
  STgaFile keyedMap = Mapped(1, 24, rgbMap, 3, {0, 1, 2});
  keyedMap.keyColourBytes = 0x0000FF00u;
  cases.push_back({"ColourMapKeyColourEntryBecomesTransparent", keyedMap, 3, 1, {kRed, 0u, kBlue}});
  STgaFile keyedArgbMap = Mapped(1, 32, Bgra({0xFF00FF00u}), 1, {0});
  keyedArgbMap.keyColourBytes = 0x0000FF00u;
  cases.push_back({"KeyColourIgnoredForFourByteEntries", keyedArgbMap, 1, 1, {kGreen}});
  STgaFile keyedTrueColour = Raw(2, 1, 1, 24, 0x20, Bgr({kGreen}));
  keyedTrueColour.keyColourBytes = 0x0000FF00u;
  cases.push_back({"KeyColourIgnoredForTrueColour", keyedTrueColour, 1, 1, {kGreen}});
  cases.push_back({"ColourMapFourByteEntriesTakenAsStored", Mapped(1, 32, Bgra({0x80C86432u}), 1, {0}), 1, 1,
                   {0x80643219u}});

  STgaFile withId = Raw(2, 1, 1, 24, 0x20, Bgr({kRed}));
  withId.imageId = {'a', 'b', 'c'};
  cases.push_back({"ImageIdIsSkipped", withId, 1, 1, {kRed}});
  STgaFile unusedMap = Raw(2, 1, 1, 24, 0x20, Bgr({kBlue}));
  unusedMap.mapEntryBits = 24;
  unusedMap.colourMap = Bgr({kRed, kGreen});
  cases.push_back({"ColourMapOfTrueColourImageIsSkipped", unusedMap, 1, 1, {kBlue}});

  cases.push_back({"RunLengthPacketsCrossRows",
                   Raw(10, 3, 2, 32, 0x28,
                       Concat(Concat({0x82}, Bgra({kRed})), Concat({0x02}, Bgra({kGreen, kBlue, 0x80FFFFFFu})))),
                   3, 2, {kRed, kRed, kRed, kGreen, kBlue, 0x80808080u}});
  cases.push_back({"RunLengthPacketPastLastPixelIsClipped", Raw(10, 2, 1, 24, 0x20, Concat({0x85}, Bgr({kRed}))), 2,
                   1, {kRed, kRed}});
  cases.push_back({"RunLengthBottomUpRightToLeft",
                   Raw(10, 2, 2, 24, 0x10, Concat(Concat({0x81}, Bgr({kRed})), Concat({0x01}, Bgr({kGreen, kBlue})))),
                   2, 2, {kBlue, kGreen, kRed, kRed}});
  cases.push_back({"RunLengthColourMapped", Mapped(9, 24, rgbMap, 3, {0x81, 2, 0x00, 1}), 3, 1, {kBlue, kBlue, kGreen}});
  cases.push_back({"RunLengthGrey", Raw(11, 3, 1, 8, 0x20, {0x82, 0x10}), 3, 1,
                   {0xFF101010u, 0xFF101010u, 0xFF101010u}});
  return cases;
}

class TgaDecodeTest : public testing::TestWithParam<SDecodeCase> {};

TEST_P(TgaDecodeTest, DecodesToExpectedPixels) {
  const SDecodeCase& c = GetParam();
  const auto surface = Decode(c.file);
  ASSERT_TRUE(surface.has_value());
  EXPECT_EQ(surface->Width(), c.width);
  EXPECT_EQ(surface->Height(), c.height);
  EXPECT_EQ(PixelsOf(*surface), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Variants, TgaDecodeTest, testing::ValuesIn(DecodeCases()),
                         [](const testing::TestParamInfo<SDecodeCase>& test) { return test.param.name; });

struct SRejectCase {
  std::string name;
  STgaFile file;
};

std::vector<SRejectCase> RejectCases() {
  std::vector<SRejectCase> cases;
  STgaFile noFooter = Raw(2, 1, 1, 24, 0x20, Bgr({kRed}));
  noFooter.footer = false;
  cases.push_back({"MissingFooter", noFooter});
  cases.push_back({"NoImageData", Raw(0, 1, 1, 24, 0x20, Bgr({kRed}))});
  cases.push_back({"UndefinedImageType", Raw(4, 1, 1, 24, 0x20, Bgr({kRed}))});
  cases.push_back({"ColourMapTwoByteEntries", Mapped(1, 16, {0x00, 0x7C}, 1, {0})});
  STgaFile withoutMapType = Mapped(1, 24, Bgr({kRed}), 1, {0});
  withoutMapType.colourMapType = 0;
  cases.push_back({"ColourMappedWithoutColourMap", withoutMapType});
  STgaFile wideIndexes = Mapped(1, 24, Bgr({kRed}), 1, {0, 0});
  wideIndexes.depth = 16;
  cases.push_back({"ColourMappedSixteenBitIndexes", wideIndexes});
  cases.push_back({"ZeroWidth", Raw(2, 0, 1, 24, 0x20, {})});
  cases.push_back({"ZeroDepth", Raw(2, 1, 1, 0, 0x20, {})});
  cases.push_back({"FortyBitDepth", Raw(2, 1, 1, 40, 0x20, {1, 2, 3, 4, 5})});
  cases.push_back({"TruncatedRawPixels", Raw(2, 16, 16, 32, 0x20, std::vector<uint8_t>(40, 0))});
  // The footer's bytes read as packets; the "T" of its signature asks for 85 pixels.
  cases.push_back({"RunLengthPacketPastEnd", Raw(11, 100, 1, 8, 0x20, {0x00, 5})});
  cases.push_back({"RunLengthTooShortForImage", Raw(11, 200, 200, 8, 0x20, {0xFF, 7})});
  cases.push_back({"RunLengthHugeImageFromTinyFile", Raw(10, 65535, 65535, 32, 0x20, {0xFF, 1, 2, 3, 4})});
  return cases;
}

class TgaRejectTest : public testing::TestWithParam<SRejectCase> {};

TEST_P(TgaRejectTest, Fails) { EXPECT_FALSE(Decode(GetParam().file).has_value()); }

INSTANTIATE_TEST_SUITE_P(Malformed, TgaRejectTest, testing::ValuesIn(RejectCases()),
                         [](const testing::TestParamInfo<SRejectCase>& test) { return test.param.name; });

TEST(TgaDecoder, ColourMapLengthBeyondDataFails) {
  std::vector<uint8_t> bytes = Mapped(1, 24, Bgr({kRed}), 1, {0}).Bytes();
  bytes[5] = 0xFF;  // colour-map length 0xFF01 entries, far past the end
  EXPECT_FALSE(DecodeTga(bytes.data(), bytes.size()).has_value());
}

TEST(TgaDecoder, ExtensionAreaPastEndFails) {
  std::vector<uint8_t> bytes = Raw(2, 1, 1, 24, 0x20, Bgr({kRed})).Bytes();
  bytes[bytes.size() - 26 + 3] = 0x7F;  // extension-area offset far past the end
  EXPECT_FALSE(DecodeTga(bytes.data(), bytes.size()).has_value());
}

TEST(TgaDecoder, ShortDataFails) {
  const std::vector<uint8_t> footerOnly = Raw(2, 1, 1, 24, 0x20, {}).Bytes();
  for (std::size_t size = 0; size < 26; ++size) {
    EXPECT_FALSE(DecodeTga(footerOnly.data() + footerOnly.size() - size, size).has_value()) << size;
  }
}

TEST(TgaDecoder, ExtensionAreaOfOtherSizeHasNoKeyColour) {
  STgaFile file = Raw(3, 1, 1, 8, 0x20, {0x40});
  file.keyColourBytes = 0x00404040u;
  std::vector<uint8_t> bytes = file.Bytes();
  bytes[18 + 1 + 1] = 0x00;  // after header and pixel: extension size 495 → 239
  const auto surface = DecodeTga(bytes.data(), bytes.size());
  ASSERT_TRUE(surface.has_value());
  EXPECT_EQ(surface->At(0, 0), 0xFF404040u);
}

}  // namespace

namespace {

TEST(Premultiply, TruncatesExactlyForEveryChannelAndAlpha) {
  for (uint32_t alpha = 0; alpha < 256; ++alpha) {
    for (uint32_t c = 0; c < 256; ++c) {
      const uint32_t expected = alpha == 0 ? 0u : (alpha << 24) | ((c * alpha / 255) * 0x010101u);
      ASSERT_EQ(PremultiplyPixel((alpha << 24) | (c * 0x010101u)), expected) << c << " " << alpha;
    }
  }
}

}  // namespace
