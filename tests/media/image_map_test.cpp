// The image caches and the process-wide registry: a key is decoded once while any owner
// holds it, failures stay failed per map, and loads from files, memory and the embedded
// images pick their decoder by extension.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "application_folder_scope.h"
#include "temp_folder.h"
#include "image_tga_builder.h"
#include "media/embedded_images.h"
#include "media/image_map.h"
#include "media/image_registry.h"
#include "media/png_writer.h"
#include "support/application_folder.h"
#include "support/utf.h"

namespace {

std::string TgaBytes(uint32_t argb) {
  STgaFile file;
  file.depth = 32;
  file.descriptor = 0x28;
  for (int shift = 0; shift < 32; shift += 8) file.pixels.push_back(static_cast<uint8_t>(argb >> shift));
  const std::vector<uint8_t> bytes = file.Bytes();
  return std::string(bytes.begin(), bytes.end());
}

class ImageMapTest : public testing::Test {
 protected:
  // Writes a 1 × 1 opaque TGA and returns its engine path.
  std::u16string WriteTga(const std::string& name, uint32_t argb = 0xFF102030u) {
    folder_.WriteBytes(name, TgaBytes(argb));
    return folder_.Engine(FromUtf8(name));
  }

  CTempFolder folder_;
};

TEST_F(ImageMapTest, SameKeyTwiceInOneMapGivesSameEntry) {
  const std::u16string path = WriteTga("a.tga");
  CImageMap map;
  const CImageLoad* first = map.Load(path, path);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(map.Load(path, u"ignored.tga"), first);
  EXPECT_EQ(map.Find(path), first);
  EXPECT_EQ(map.Count(), 1u);
  EXPECT_EQ(first->Pixels()[0], 0xFF102030u);
}

TEST_F(ImageMapTest, FailedKeyStaysFailedInItsMapOnly) {
  const std::u16string path = folder_.Engine(u"late.tga");
  CImageMap map;
  EXPECT_EQ(map.Load(path, path), nullptr);
  WriteTga("late.tga");
  EXPECT_EQ(map.Load(path, path), nullptr);
  EXPECT_EQ(map.Find(path), nullptr);
  EXPECT_EQ(map.Count(), 1u);
  CImageMap other;
  EXPECT_NE(other.Load(path, path), nullptr);
}

TEST_F(ImageMapTest, FifteenOwnersDecodeOnceAndShareTheSurface) {
  const std::u16string path = WriteTga("shared.tga");
  std::vector<CImageMap> maps(15);
  const CImageLoad* first = maps[0].Load(path, path);
  ASSERT_NE(first, nullptr);
  EXPECT_FALSE(first->IsShared());
  // The file is gone: every later owner can only have the first decode.
  std::filesystem::remove(folder_.Native() / "shared.tga");
  for (std::size_t i = 1; i < maps.size(); ++i) {
    const CImageLoad* image = maps[i].Load(path, path);
    ASSERT_NE(image, nullptr) << i;
    EXPECT_TRUE(image->IsShared());
    EXPECT_EQ(image->Pixels(), first->Pixels());
  }
}

TEST_F(ImageMapTest, SharedSurfaceOutlivesTheOwnerThatDecodedIt) {
  const std::u16string path = WriteTga("outlive.tga", 0xFFABCDEFu);
  CImageMap decoder;
  CImageMap sharer;
  ASSERT_NE(decoder.Load(path, path), nullptr);
  const CImageLoad* shared = sharer.Load(path, path);
  ASSERT_NE(shared, nullptr);
  decoder.Clear();
  EXPECT_EQ(decoder.Count(), 0u);
  EXPECT_EQ(shared->Pixels()[0], 0xFFABCDEFu);
}

TEST_F(ImageMapTest, KeyIsDecodedAgainAfterEveryOwnerLetGo) {
  const std::u16string path = WriteTga("again.tga", 0xFF000001u);
  {
    CImageMap map;
    ASSERT_NE(map.Load(path, path), nullptr);
  }
  WriteTga("again.tga", 0xFF000002u);
  CImageMap later;
  const CImageLoad* image = later.Load(path, path);
  ASSERT_NE(image, nullptr);
  EXPECT_FALSE(image->IsShared());
  EXPECT_EQ(image->Pixels()[0], 0xFF000002u);
}

TEST_F(ImageMapTest, ConcurrentOwnersOfOneKeyShareOneDecode) {
  const std::u16string path = WriteTga("threads.tga");
  constexpr int kThreads = 8;
  std::vector<CImageMap> maps(kThreads);
  std::vector<const CImageLoad*> images(kThreads, nullptr);
  std::vector<std::thread> threads;
  for (int i = 0; i < kThreads; ++i) {
    threads.emplace_back([&, i] { images[i] = maps[i].Load(path, path); });
  }
  for (std::thread& thread : threads) thread.join();
  int decoded = 0;
  for (const CImageLoad* image : images) {
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->Pixels(), images[0]->Pixels());
    decoded += image->IsShared() ? 0 : 1;
  }
  EXPECT_EQ(decoded, 1);
}

TEST(ImageRegistry, EqualPixelsUnderAnotherKeyShareOneSurfaceAndNearCopiesDoNot) {
  CPixelSurface picture(64, 64);
  for (int i = 0; i < 64 * 64; ++i) picture.Pixels()[i] = 0xFF000000u | static_cast<uint32_t>(i * 2654435761u >> 8);
  CPixelSurface nearCopy = picture;
  nearCopy.Pixels()[1] ^= 1;  // between the pixels a fingerprint looks at
  CPixelSurface reshaped(32, 128);
  std::copy(picture.Pixels(), picture.Pixels() + 64 * 64, reshaped.Pixels());
  auto decodeTo = [](const CPixelSurface& surface) {
    return [&surface] { return std::optional<CPixelSurface>(surface); };
  };

  const SRegisteredImage first = FindOrDecodeImage(u"content/one.png", decodeTo(picture));
  const SRegisteredImage second = FindOrDecodeImage(u"content/two.png", decodeTo(picture));
  const SRegisteredImage third = FindOrDecodeImage(u"content/three.png", decodeTo(nearCopy));
  const SRegisteredImage fourth = FindOrDecodeImage(u"content/four.png", decodeTo(reshaped));
  EXPECT_EQ(second.surface, first.surface);
  EXPECT_FALSE(second.shared);
  EXPECT_NE(third.surface, first.surface);
  EXPECT_EQ(third.surface->Pixels()[1], nearCopy.Pixels()[1]);
  EXPECT_NE(fourth.surface, first.surface);
  EXPECT_EQ(fourth.surface->Width(), 32);
}

TEST_F(ImageMapTest, DecoderIsChosenByExtensionInAnyCase) {
  CPixelSurface surface(2, 1);
  surface.At(0, 0) = 0xFF00FF00u;
  ASSERT_TRUE(WritePng(folder_.Engine(u"upper.PNG"), surface));
  folder_.WriteBytes("png-as.tga", folder_.ReadBytes("upper.PNG"));
  folder_.WriteBytes("upper.bmp", folder_.ReadBytes("upper.PNG"));
  folder_.WriteBytes("noextension", folder_.ReadBytes("upper.PNG"));
  WriteTga("mixed.TgA");

  CImageMap map;
  const CImageLoad* png = map.Load(u"upper", folder_.Engine(u"upper.PNG"));
  ASSERT_NE(png, nullptr);
  EXPECT_EQ(png->Width(), 2);
  EXPECT_EQ(png->Pixels()[0], 0xFF00FF00u);
  EXPECT_NE(map.Load(u"mixed", folder_.Engine(u"mixed.TgA")), nullptr);
  EXPECT_EQ(map.Load(u"png-as", folder_.Engine(u"png-as.tga")), nullptr);
  EXPECT_EQ(map.Load(u"bmp", folder_.Engine(u"upper.bmp")), nullptr);
  EXPECT_EQ(map.Load(u"none", folder_.Engine(u"noextension")), nullptr);
}

TEST_F(ImageMapTest, RelativePathFallsBackToApplicationFolder) {
  WriteTga("Images/fallback.tga");
  const CApplicationFolderScope appFolder(folder_.Engine() + u"\\");
  CImageMap map;
  EXPECT_NE(map.Load(folder_.Engine(u"fallback-key"), u"Images\\fallback.tga"), nullptr);
}

TEST(ImageMapMemory, ExtensionComesFromTheKey) {
  const std::string bytes = TgaBytes(0xFF445566u);
  const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
  CImageMap map;
  EXPECT_NE(map.Load(u"memory|ExtensionComesFromTheKey.TGA", data, bytes.size()), nullptr);
  EXPECT_EQ(map.Load(u"memory|ExtensionComesFromTheKey.png", data, bytes.size()), nullptr);
}

TEST(EmbeddedImages, HideIsOneTransparentPixel) {
  const auto bytes = EmbeddedHideTga();
  EXPECT_EQ(bytes.size(), 48u);
  CImageMap map;
  const CImageLoad* image = map.Load(u"EmbeddedTest" + std::u16string(kHideImageKey), bytes.data(), bytes.size());
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->Width(), 1);
  EXPECT_EQ(image->Height(), 1);
  EXPECT_EQ(image->Pixels()[0], 0u);
}

TEST(EmbeddedImages, LogoIsRunLengthEncodedThirtyTwoBit) {
  const auto bytes = EmbeddedLogoTga();
  ASSERT_GT(bytes.size(), 18u);
  EXPECT_EQ(bytes[2], 10);   // run-length encoded true colour
  EXPECT_EQ(bytes[16], 32);  // bits per pixel
  CImageMap map;
  const CImageLoad* image = map.Load(std::u16string(kLogoImageKey), bytes.data(), bytes.size());
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->Width(), 185);
  EXPECT_EQ(image->Height(), 40);
  EXPECT_EQ(image->Pixels()[0] >> 24, 0u);                     // rounded corner
  EXPECT_GT(image->Pixels()[20 * 185 + 92] >> 24, 0x80u);      // the plate behind the name
}

}  // namespace
