// The fast scaler against the plain rules on random images, every filter, mirror mode,
// offset rectangle and a spread of output sizes, with and without opacity.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "window/scaler.h"

// The same cases check the portable loops when built with ZV_SCALER_PORTABLE, and the
// SSE2 loops without AVX2 with ZV_SCALER_NO_AVX2.
#if defined(ZV_SCALER_PORTABLE)
#define SCALER_SUITE PortableScaler
#elif defined(ZV_SCALER_NO_AVX2)
#define SCALER_SUITE Sse2Scaler
#else
#define SCALER_SUITE Scaler
#endif

namespace {

// Random premultiplied pixels, with fully transparent and opaque ones mixed in.
CPixelSurface RandomImage(std::mt19937& random, int width, int height) {
  CPixelSurface image(width, height);
  for (int i = 0; i < width * height; ++i) {
    const uint32_t pick = random() % 8;
    const uint32_t alpha = pick == 0 ? 0 : pick == 1 ? 255 : random() % 256;
    uint32_t pixel = alpha << 24;
    for (int shift = 0; shift < 24; shift += 8) pixel |= (alpha == 0 ? 0 : random() % (alpha + 1)) << shift;
    image.Pixels()[i] = pixel;
  }
  return image;
}

TEST(SCALER_SUITE, MatchesTheReferenceBitForBit) {
  std::mt19937 random(12345);
  CScaler scaler(8);  // smaller than most outputs: the tables must grow
  const EScaleFilter filters[] = {EScaleFilter::Nearest, EScaleFilter::Bilinear, EScaleFilter::AreaAverage};
  for (int round = 0; round < 300; ++round) {
    const int width = 1 + static_cast<int>(random() % 40);
    const int height = 1 + static_cast<int>(random() % 40);
    const CPixelSurface image = RandomImage(random, width, height);
    const int x = static_cast<int>(random() % static_cast<uint32_t>(width));
    const int y = static_cast<int>(random() % static_cast<uint32_t>(height));
    SScaleRequest request;
    request.image = ViewOf(image);
    request.source = {x, y, 1 + static_cast<int>(random() % static_cast<uint32_t>(width - x)),
                      1 + static_cast<int>(random() % static_cast<uint32_t>(height - y))};
    // Some at the source's own width, where rows are copied straight or reversed.
    request.outWidth = round % 5 == 1 ? request.source.width : 1 + static_cast<int>(random() % 90);
    request.outHeight = 1 + static_cast<int>(random() % 90);
    request.filter = filters[round % 3];
    request.mirror = static_cast<int>(random() % 4);
    request.opacity = round % 4 == 0 ? static_cast<double>(random() % 1000) / 1000.0 : 1.0;

    const int stride = request.outWidth + 3;  // a stride wider than the output
    std::vector<uint32_t> expected(static_cast<size_t>(stride * request.outHeight), 0x12345678);
    std::vector<uint32_t> actual = expected;
    ScaleReference(request, expected.data(), stride);
    scaler.Scale(request, actual.data(), stride);
    ASSERT_EQ(actual, expected) << "round " << round << " filter " << static_cast<int>(request.filter)
                                << " mirror " << request.mirror << " " << request.source.width << "x"
                                << request.source.height << " -> " << request.outWidth << "x" << request.outHeight;
  }
}

TEST(SCALER_SUITE, MatchesTheReferenceAtTheCharacterScales) {
  std::mt19937 random(7);
  const CPixelSurface image = RandomImage(random, 97, 61);
  CScaler scaler(400);
  for (double scale : {0.25, 0.5, 0.75, 1.0, 1.25, 1.5, 2.0, 2.5, 3.0}) {
    SScaleRequest request{ViewOf(image), {0, 0, 97, 61}, static_cast<int>(97 * scale), static_cast<int>(61 * scale),
                          ChooseFilter(scale, false), kMirrorLeftRight, 1.0, {}};
    std::vector<uint32_t> expected(static_cast<size_t>(request.outWidth * request.outHeight));
    std::vector<uint32_t> actual(expected.size());
    ScaleReference(request, expected.data(), request.outWidth);
    scaler.Scale(request, actual.data(), request.outWidth);
    EXPECT_EQ(actual, expected) << scale;
  }
}

// Twice the size has loops of its own: every source width, offset rectangles, both
// mirrorings, and regions starting on odd and even columns.
TEST(SCALER_SUITE, MatchesTheReferenceAtExactlyTwiceTheSize) {
  std::mt19937 random(21);
  const CPixelSurface image = RandomImage(random, 48, 20);
  CScaler scaler(8);
  for (int width = 1; width <= 40; ++width) {
    for (int mirror : {kMirrorNone, kMirrorLeftRight, kMirrorTopBottom}) {
      SScaleRequest request{ViewOf(image), {width % 7, 3, width, 15}, 2 * width, 30, EScaleFilter::Bilinear,
                            mirror, 1.0, {}};
      std::vector<uint32_t> expected(static_cast<size_t>(request.outWidth * request.outHeight), 0x12345678);
      std::vector<uint32_t> actual = expected;
      ScaleReference(request, expected.data(), request.outWidth);
      if (width % 3 == 0) {
        // Only the region is written; the reference always writes everything.
        request.region = {width % 5, 1, width + 3, 20};
        for (int y = 0; y < request.outHeight; ++y) {
          for (int x = 0; x < request.outWidth; ++x) {
            const bool inside = x >= request.region.x && x < request.region.x + request.region.width &&
                                y >= request.region.y && y < request.region.y + request.region.height;
            if (!inside) expected[static_cast<size_t>(y * request.outWidth + x)] = 0x12345678;
          }
        }
      }
      scaler.Scale(request, actual.data(), request.outWidth);
      ASSERT_EQ(actual, expected) << "width " << width << " mirror " << mirror;
    }
  }
}

TEST(SCALER_SUITE, ARegionIsWrittenExactlyAsTheWholeScalingAndNothingElse) {
  std::mt19937 random(99);
  CScaler scaler(8);
  const EScaleFilter filters[] = {EScaleFilter::Nearest, EScaleFilter::Bilinear, EScaleFilter::AreaAverage};
  for (int round = 0; round < 300; ++round) {
    const int width = 1 + static_cast<int>(random() % 40);
    const int height = 1 + static_cast<int>(random() % 40);
    const CPixelSurface image = RandomImage(random, width, height);
    SScaleRequest request;
    request.image = ViewOf(image);
    request.source = {0, 0, width, height};
    request.outWidth = round % 5 == 1 ? width : 1 + static_cast<int>(random() % 90);
    request.outHeight = 1 + static_cast<int>(random() % 90);
    request.filter = filters[round % 3];
    request.mirror = static_cast<int>(random() % 4);
    request.opacity = round % 4 == 0 ? static_cast<double>(random() % 1000) / 1000.0 : 1.0;
    const int stride = request.outWidth + 2;
    std::vector<uint32_t> whole(static_cast<size_t>(stride * request.outHeight), 0x12345678);
    scaler.Scale(request, whole.data(), stride);

    // A region reaching past the edges is cut to the output.
    const SPixelRect region{static_cast<int>(random() % static_cast<uint32_t>(request.outWidth)) - 2,
                            static_cast<int>(random() % static_cast<uint32_t>(request.outHeight)) - 2,
                            1 + static_cast<int>(random() % 40), 1 + static_cast<int>(random() % 40)};
    request.region = region;
    std::vector<uint32_t> part(whole.size(), 0x0BADF00D);
    scaler.Scale(request, part.data(), stride);
    for (int y = 0; y < request.outHeight; ++y) {
      for (int x = 0; x < stride; ++x) {
        const bool inside = x < request.outWidth && x >= region.x && x < region.x + region.width && y >= region.y &&
                            y < region.y + region.height;
        const uint32_t expected = inside ? whole[static_cast<size_t>(y * stride + x)] : 0x0BADF00Du;
        ASSERT_EQ(part[static_cast<size_t>(y * stride + x)], expected)
            << "round " << round << " at " << x << "," << y << " filter " << static_cast<int>(request.filter)
            << " mirror " << request.mirror;
      }
    }
  }
}

}  // namespace
