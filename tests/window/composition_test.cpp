// The composition rules pinned with small hand-computed surfaces.
#include <gtest/gtest.h>

#include <vector>

#include "window/layer_merge.h"
#include "window/scale_rules.h"
#include "window/work_surfaces.h"

namespace {

CPixelSurface SurfaceOf(int width, int height, std::vector<uint32_t> pixels) {
  CPixelSurface surface(width, height);
  std::copy(pixels.begin(), pixels.end(), surface.Pixels());
  return surface;
}

std::vector<uint32_t> PixelsOf(const CPixelSurface& surface) {
  return {surface.Pixels(), surface.Pixels() + surface.Width() * surface.Height()};
}

std::vector<uint32_t> Scaled(const CPixelSurface& image, int outWidth, int outHeight, EScaleFilter filter,
                             int mirror = kMirrorNone, double opacity = 1.0) {
  SScaleRequest request{ViewOf(image), {0, 0, image.Width(), image.Height()}, outWidth, outHeight,
                        filter, mirror, opacity, {}};
  std::vector<uint32_t> out(static_cast<size_t>(outWidth * outHeight), 0xDEADBEEF);
  ScaleReference(request, out.data(), outWidth);
  return out;
}

struct SMergeCase {
  const char* name;
  uint32_t layer;
  uint32_t frame;
  uint32_t expected;
};

TEST(MergePixel, FollowsTheAlphaRulesAndTheWeight256) {
  const SMergeCase cases[] = {
      {"opaque layer replaces", 0xFF112233, 0xFF445566, 0xFF112233},
      {"transparent layer keeps", 0x00000000, 0x80404040, 0x80404040},
      {"half layer over transparent frame is copied", 0x80402010, 0x00000000, 0x80402010},
      {"half over opaque", 0x80402010, 0xFF808080, 0xFF806050},
      {"half over half", 0x80402010, 0x80404040, 0xC0604030},
      // 256 − 1 = 255 keeps 255 × 255 >> 8 = 254 of the blue.
      {"alpha 1 over opaque blue", 0x01000000, 0xFF0000FF, 0xFF0000FE},
  };
  for (const SMergeCase& c : cases) EXPECT_EQ(MergePixel(c.layer, c.frame), c.expected) << c.name;
}

TEST(MergeLayer, MirrorsTheSourceRectangle) {
  const CPixelSurface image = SurfaceOf(3, 2, {0xFF000001, 0xFF000002, 0xFF000003,
                                               0xFF000004, 0xFF000005, 0xFF000006});
  struct SCase {
    int mirror;
    std::vector<uint32_t> expected;
  } cases[] = {
      {kMirrorNone, {1, 2, 3, 4, 5, 6}},
      {kMirrorLeftRight, {3, 2, 1, 6, 5, 4}},
      {kMirrorTopBottom, {4, 5, 6, 1, 2, 3}},
      {kMirrorBoth, {6, 5, 4, 3, 2, 1}},
  };
  for (const SCase& c : cases) {
    CPixelSurface layer(3, 2);
    MergeLayer(layer, 3, 2, ViewOf(image), {0, 0, 3, 2}, 0, 0, c.mirror);
    std::vector<uint32_t> expected;
    for (uint32_t v : c.expected) expected.push_back(0xFF000000 | v);
    EXPECT_EQ(PixelsOf(layer), expected) << "mirror " << c.mirror;
  }
}

TEST(MergeLayer, ClipsAtEveryEdgeAndSkipsTheHiddenSourcePixels) {
  const CPixelSurface image = SurfaceOf(2, 2, {0xFF000001, 0xFF000002, 0xFF000003, 0xFF000004});
  struct SCase {
    const char* name;
    int dstX, dstY, mirror;
    std::vector<uint32_t> expected;  // 3 × 2 frame
  } cases[] = {
      {"left and top cut", -1, -1, kMirrorNone, {4, 0, 0, 0, 0, 0}},
      {"left cut, mirrored columns", -1, 0, kMirrorLeftRight, {1, 0, 0, 3, 0, 0}},
      {"top cut, mirrored rows", 0, -1, kMirrorTopBottom, {1, 2, 0, 0, 0, 0}},
      {"right and bottom cut by the frame", 2, 1, kMirrorNone, {0, 0, 0, 0, 0, 1}},
      {"wholly outside", -2, 0, kMirrorNone, {0, 0, 0, 0, 0, 0}},
  };
  for (const SCase& c : cases) {
    CPixelSurface layer(4, 3);  // larger than the frame: nothing may land outside 3 × 2
    MergeLayer(layer, 3, 2, ViewOf(image), {0, 0, 2, 2}, c.dstX, c.dstY, c.mirror);
    std::vector<uint32_t> frame;
    for (int y = 0; y < 3; ++y) {
      for (int x = 0; x < 4; ++x) {
        if (x < 3 && y < 2) {
          frame.push_back(layer.At(x, y) & 0xFF);
        } else {
          EXPECT_EQ(layer.At(x, y), 0u) << c.name << " wrote outside the frame at " << x << "," << y;
        }
      }
    }
    EXPECT_EQ(frame, c.expected) << c.name;
  }
}

TEST(MergeLayer, IgnoresSourceRectanglesOutsideTheImage) {
  const CPixelSurface image = SurfaceOf(2, 2, {0xFF000001, 0xFF000002, 0xFF000003, 0xFF000004});
  CPixelSurface layer(3, 3);
  MergeLayer(layer, 3, 3, ViewOf(image), {1, 1, 2, 2}, 0, 0, kMirrorNone);
  MergeLayer(layer, 3, 3, ViewOf(image), {-1, 0, 2, 2}, 0, 0, kMirrorNone);
  EXPECT_EQ(PixelsOf(layer), std::vector<uint32_t>(9, 0u));
}

TEST(CopyFrame, CopiesTheRectangleToTheTopLeft) {
  const CPixelSurface image = SurfaceOf(3, 2, {1, 2, 3, 4, 5, 6});
  CPixelSurface layer(2, 2);
  CopyFrame(ViewOf(image), {1, 0, 2, 2}, layer);
  EXPECT_EQ(PixelsOf(layer), (std::vector<uint32_t>{2, 3, 5, 6}));
}

TEST(ChooseFilter, PicksByScaleAndQuality) {
  struct SCase {
    double scale;
    bool lowQuality;
    EScaleFilter expected;
  } cases[] = {
      {1.0, false, EScaleFilter::Nearest},       {0.5, false, EScaleFilter::AreaAverage},
      {0.59, false, EScaleFilter::AreaAverage},  {0.6, false, EScaleFilter::Bilinear},
      {0.75, false, EScaleFilter::Bilinear},     {1.25, false, EScaleFilter::Bilinear},
      {2.0, false, EScaleFilter::Bilinear},      {0.5, true, EScaleFilter::Nearest},
      {2.0, true, EScaleFilter::Nearest},
  };
  for (const SCase& c : cases) EXPECT_EQ(ChooseFilter(c.scale, c.lowQuality), c.expected) << c.scale;
}

TEST(Scale, NearestAtOneIsAnExactCopyAndMirrorsTheOutputOrder) {
  const CPixelSurface image = SurfaceOf(3, 2, {1, 2, 3, 4, 5, 6});
  EXPECT_EQ(Scaled(image, 3, 2, EScaleFilter::Nearest), (std::vector<uint32_t>{1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(Scaled(image, 3, 2, EScaleFilter::Nearest, kMirrorLeftRight), (std::vector<uint32_t>{3, 2, 1, 6, 5, 4}));
  EXPECT_EQ(Scaled(image, 3, 2, EScaleFilter::Nearest, kMirrorTopBottom), (std::vector<uint32_t>{4, 5, 6, 1, 2, 3}));
  EXPECT_EQ(Scaled(image, 3, 2, EScaleFilter::Nearest, kMirrorBoth), (std::vector<uint32_t>{6, 5, 4, 3, 2, 1}));
  EXPECT_EQ(Scaled(image, 6, 1, EScaleFilter::Nearest), (std::vector<uint32_t>{1, 1, 2, 2, 3, 3}));
}

TEST(Scale, BilinearWeightsAndTheClampedNeighbour) {
  // 2 → 4 columns: step 0.5; the last two columns have no right neighbour but the edge.
  const CPixelSurface row = SurfaceOf(2, 1, {0xFF000000, 0xFF0000FF});
  EXPECT_EQ(Scaled(row, 4, 1, EScaleFilter::Bilinear),
            (std::vector<uint32_t>{0xFF000000, 0xFF00007F, 0xFF0000FF, 0xFF0000FF}));
  // 2 → 3 rows: step 43690; row 1 weighs the lower row 170, row 2 clamps to the last row.
  const CPixelSurface column = SurfaceOf(1, 2, {0xFF000000, 0xFF0000FF});
  EXPECT_EQ(Scaled(column, 1, 3, EScaleFilter::Bilinear),
            (std::vector<uint32_t>{0xFF000000, 0xFF0000A9, 0xFF0000FF}));
}

TEST(Scale, AreaAverageWeightsAtSpanBoundaries) {
  // 5 → 2: spans [0..2] weighing 256, 256, 128 and [2..4] weighing 128, 256, 256.
  const CPixelSurface five = SurfaceOf(5, 1, {0xFF000000, 0xFF000064, 0xFF0000C8, 0xFF000032, 0xFF0000FF});
  EXPECT_EQ(Scaled(five, 2, 1, EScaleFilter::AreaAverage), (std::vector<uint32_t>{0xFF000050, 0xFF0000A2}));
  // 4 → 2: a span ending exactly on a boundary takes that pixel with full weight.
  const CPixelSurface four = SurfaceOf(4, 1, {0xFF000000, 0xFF000000, 0xFF00005A, 0xFF0000FF});
  EXPECT_EQ(Scaled(four, 2, 1, EScaleFilter::AreaAverage), (std::vector<uint32_t>{0xFF00001E, 0xFF0000AC}));
}

TEST(Scale, OpacityTruncatesAndClearsPixelsThatLoseTheirAlpha) {
  const CPixelSurface image = SurfaceOf(3, 1, {0x01FFFFFF, 0xFF804020, 0x00000000});
  EXPECT_EQ(Scaled(image, 3, 1, EScaleFilter::Nearest, kMirrorNone, 0.5),
            (std::vector<uint32_t>{0x00000000, 0x7F402010, 0x00000000}));
}

TEST(Scale, WritesNothingForAnInvalidSource) {
  const CPixelSurface image = SurfaceOf(2, 2, {1, 2, 3, 4});
  std::vector<uint32_t> out(4, 7);
  ScaleReference({ViewOf(image), {1, 1, 2, 2}, 2, 2, EScaleFilter::Bilinear, 0, 1.0, {}}, out.data(), 2);
  EXPECT_EQ(out, std::vector<uint32_t>(4, 7u));
}

TEST(WorkSurfaces, HoldTheLargestCharacterAtTheLargestScale) {
  struct SCase {
    double maxScale;
    int outWidth, outHeight;
  } cases[] = {{1.0, 200, 100}, {2.0, 200, 100}, {2.5, 250, 125}, {3.0, 300, 150}};
  for (const SCase& c : cases) {
    CWorkSurfaces surfaces(100, 50, c.maxScale);
    EXPECT_EQ(surfaces.Layer().Width(), 100);
    EXPECT_EQ(surfaces.Layer().Height(), 50);
    EXPECT_EQ(surfaces.Output().Width(), c.outWidth) << c.maxScale;
    EXPECT_EQ(surfaces.Output().Height(), c.outHeight) << c.maxScale;
  }
}

}  // namespace
