// The kept balloon picture: composing only where glyphs were added gives exactly the
// picture a whole composition gives, at every filter; anything else composes it whole.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "balloon/balloon_picture.h"

namespace {

CPixelSurface RandomSurface(std::mt19937& random, int width, int height, bool opaque) {
  CPixelSurface surface(width, height);
  for (int i = 0; i < width * height; ++i) {
    const uint32_t alpha = opaque ? 255 : (random() % 3 == 0 ? 0 : random() % 256);
    uint32_t pixel = alpha << 24;
    for (int shift = 0; shift < 24; shift += 8) pixel |= (alpha == 0 ? 0 : random() % (alpha + 1)) << shift;
    surface.Pixels()[i] = pixel;
  }
  return surface;
}

bool SamePixels(const CBalloonPicture& a, const CBalloonPicture& b, int width, int height) {
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (a.Pixels()[y * a.Stride() + x] != b.Pixels()[y * b.Stride() + x]) return false;
    }
  }
  return true;
}

TEST(BalloonPicture, AddedGlyphsComposeToTheSamePictureAsAWholeComposition) {
  std::mt19937 random(4);
  const CPixelSurface frameImage = RandomSurface(random, 90, 50, true);
  const CPixelSurface atlas = RandomSurface(random, 60, 40, false);
  const std::pair<EScaleFilter, double> filters[] = {
      {EScaleFilter::Nearest, 1.0}, {EScaleFilter::Bilinear, 2.0}, {EScaleFilter::Bilinear, 1.25},
      {EScaleFilter::AreaAverage, 0.5}, {EScaleFilter::AreaAverage, 0.75}};
  for (auto [filter, scale] : filters) {
    SBalloonFrame frame;
    frame.frameImage = ViewOf(frameImage);
    frame.frame = {0, 0, 90, 50};
    frame.width = static_cast<int>(90 * scale);
    frame.height = static_cast<int>(50 * scale);
    frame.filter = filter;
    frame.opacity = 0.5;
    frame.opacityInPixels = true;
    frame.imageLayers.push_back({ViewOf(atlas), {0, 0, 30, 20}, 50, 25, kMirrorNone});
    frame.runEnds = {0};
    frame.generations = {1};
    CBalloonPicture kept(90, 50);
    EXPECT_TRUE(kept.Compose(frame));
    EXPECT_EQ(kept.LastWork(), CBalloonPicture::ELastWork::Whole);
    for (int step = 0; step < 12; ++step) {
      const int x = static_cast<int>(random() % 85);
      const int y = static_cast<int>(random() % 45);
      frame.glyphs.push_back({ViewOf(atlas), {static_cast<int>(random() % 50), static_cast<int>(random() % 30), 9, 12}, x, y,
                              kMirrorNone});
      frame.runEnds = {frame.glyphs.size()};
      const std::vector<uint32_t> before(kept.Pixels(), kept.Pixels() + kept.Stride() * frame.height);
      EXPECT_TRUE(kept.Compose(frame));
      EXPECT_EQ(kept.LastWork(), CBalloonPicture::ELastWork::Part);
      CBalloonPicture whole(90, 50);
      whole.Compose(frame);
      ASSERT_TRUE(SamePixels(kept, whole, frame.width, frame.height)) << "scale " << scale << " step " << step;
      // The windows take only the changed part: no pixel outside it may differ.
      const SRect changed = kept.Changed();
      ASSERT_GT(changed.Width(), 0);
      ASSERT_GT(changed.Height(), 0);
      for (int py = 0; py < frame.height; ++py) {
        for (int px = 0; px < frame.width; ++px) {
          const bool inside = px >= changed.left && px < changed.right && py >= changed.top && py < changed.bottom;
          const size_t at = static_cast<size_t>(py * kept.Stride() + px);
          if (!inside) {
            ASSERT_EQ(kept.Pixels()[at], before[at]) << "scale " << scale << " at " << px << "," << py;
          }
        }
      }
    }
    EXPECT_FALSE(kept.Compose(frame));  // nothing new
    EXPECT_EQ(kept.LastWork(), CBalloonPicture::ELastWork::None);
  }
}

TEST(BalloonPicture, AnythingButAddedGlyphsComposesTheWholePicture) {
  std::mt19937 random(8);
  const CPixelSurface frameImage = RandomSurface(random, 40, 30, true);
  const CPixelSurface atlas = RandomSurface(random, 20, 20, false);
  SBalloonFrame frame;
  frame.frameImage = ViewOf(frameImage);
  frame.frame = {0, 0, 40, 30};
  frame.width = 40;
  frame.height = 30;
  frame.glyphs.push_back({ViewOf(atlas), {0, 0, 8, 10}, 2, 2, kMirrorNone});
  frame.runEnds = {1};
  frame.generations = {1};
  CBalloonPicture picture(40, 30);
  picture.Compose(frame);

  frame.generations = {2};  // the layer was cleared (and typed one glyph again)
  picture.Compose(frame);
  EXPECT_EQ(picture.LastWork(), CBalloonPicture::ELastWork::Whole);
  frame.width = 60;  // growing
  frame.height = 45;
  picture.Compose(frame);
  EXPECT_EQ(picture.LastWork(), CBalloonPicture::ELastWork::Whole);
  frame.mirror = kMirrorLeftRight;  // mirrored pictures are always composed whole
  picture.Compose(frame);
  EXPECT_EQ(picture.LastWork(), CBalloonPicture::ELastWork::Whole);
  picture.Compose(frame);
  EXPECT_EQ(picture.LastWork(), CBalloonPicture::ELastWork::Whole);
  frame.mirror = kMirrorNone;
  picture.Compose(frame);
  frame.opacityInPixels = true;
  frame.opacity = 0.4;
  picture.Compose(frame);
  EXPECT_EQ(picture.LastWork(), CBalloonPicture::ELastWork::Whole);
  frame.glyphs.clear();  // fewer glyphs than before
  frame.runEnds = {0};
  picture.Compose(frame);
  EXPECT_EQ(picture.LastWork(), CBalloonPicture::ELastWork::Whole);
}

}  // namespace
