// The .cur and .ani readers and the per-character cursor map.
#include <gtest/gtest.h>

#include <filesystem>

#include "temp_folder.h"
#include "cursor_builder.h"
#include "media/cursor_map.h"
#include "media/cursor_reader.h"
#include "media/png_writer.h"
#include "support/file_system.h"

namespace {

using namespace cursor_builder;

// A 3 × 2 image: the top-left pixel is masked, the others show their colour.
std::string SmallDib(int bits) {
  const std::vector<uint32_t> palette =
      bits <= 8 ? std::vector<uint32_t>{0x000000, 0xFF0000, 0x00FF00, 0x0000FF} : std::vector<uint32_t>{};
  const uint32_t truecolour[] = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
  return Dib(3, 2, bits, palette, [&](int x, int y) { return bits <= 8 ? uint32_t(x + y) % (bits == 1 ? 2 : 4) : truecolour[(x + y) % 4]; },
             [](int x, int y) { return x == 0 && y == 0; });
}

TEST(CurReader, DecodesEveryBitDepthWithItsMask) {
  for (int bits : {1, 4, 8, 24, 32}) {
    SCOPED_TRACE(bits);
    const auto frame = ReadCurFile(IconFile({{3, 2, 2, 1, SmallDib(bits)}}));
    ASSERT_TRUE(frame);
    ASSERT_EQ(frame->image.Width(), 3);
    ASSERT_EQ(frame->image.Height(), 2);
    EXPECT_EQ(frame->hotspotX, 2);
    EXPECT_EQ(frame->hotspotY, 1);
    EXPECT_EQ(frame->image.At(0, 0), 0u);                       // masked
    EXPECT_EQ(frame->image.At(1, 0), 0xFFFF0000u);              // value 1: red
    EXPECT_EQ(frame->image.At(0, 1), 0xFFFF0000u);              // top-down order
    if (bits != 1) {
      EXPECT_EQ(frame->image.At(2, 1), 0xFF0000FFu);  // value 3: blue
    }
  }
}

TEST(CurReader, UsesAlphaOfThirtyTwoBitImagesAndPremultiplies) {
  const std::string dib = Dib(2, 1, 32, {}, [](int x, int) { return x == 0 ? 0x80FF0000u : 0x00000000u; },
                              [](int, int) { return true; });
  const auto frame = ReadCurFile(IconFile({{2, 1, 0, 0, dib}}));
  ASSERT_TRUE(frame);
  // Alpha wins over the mask, which marks every pixel.
  EXPECT_EQ(frame->image.At(0, 0), 0x80800000u);
  EXPECT_EQ(frame->image.At(1, 0), 0u);
}

TEST(CurReader, TakesTheImageClosestToTheStandardSize) {
  const std::string small = Dib(16, 16, 24, {}, [](int, int) { return 0u; }, [](int, int) { return false; });
  const std::string standard = Dib(32, 32, 24, {}, [](int, int) { return 0u; }, [](int, int) { return false; });
  const std::string large = Dib(48, 48, 24, {}, [](int, int) { return 0u; }, [](int, int) { return false; });
  const auto frame = ReadCurFile(IconFile({{16, 16, 1, 1, small}, {48, 48, 3, 3, large}, {32, 32, 2, 2, standard}}));
  ASSERT_TRUE(frame);
  EXPECT_EQ(frame->image.Width(), 32);
  EXPECT_EQ(frame->hotspotX, 2);
}

TEST(CurReader, ReadsPngImages) {
  CTempFolder folder;
  CPixelSurface surface(2, 2);
  surface.At(1, 1) = 0xFF00FF00;
  ASSERT_TRUE(WritePng(folder.Engine(u"p.png"), surface));
  const auto frame = ReadCurFile(IconFile({{2, 2, 1, 0, folder.ReadBytes("p.png")}}));
  ASSERT_TRUE(frame);
  EXPECT_EQ(frame->image.At(1, 1), 0xFF00FF00u);
  EXPECT_EQ(frame->image.At(0, 0), 0u);
}

TEST(CurReader, RefusesMalformedFiles) {
  const std::string good = IconFile({{3, 2, 0, 0, SmallDib(8)}});
  std::string icon = good;
  icon[2] = 1;  // an icon, not a cursor
  std::string noImages = good.substr(0, 6);
  noImages[4] = 0;
  std::string compressed = good;
  compressed[6 + 16 + 16] = 1;  // BI_RLE8
  for (const std::string& file : {icon, noImages, compressed, std::string()}) EXPECT_FALSE(ReadCurFile(file));
  // Every truncation fails cleanly instead of reading past the end.
  for (size_t length = 0; length < good.size(); ++length) EXPECT_FALSE(ReadCurFile(good.substr(0, length))) << length;
}

TEST(AniReader, FollowsSequenceAndRates) {
  const std::string red = IconFile({{3, 2, 1, 1, SmallDib(24)}});
  const std::string blue = IconFile({{3, 2, 2, 0, SmallDib(4)}});
  const auto plain = ReadAniFile(AniFile({red, blue}, 2, 6, {}, {}));
  ASSERT_TRUE(plain);
  ASSERT_EQ(plain->frames.size(), 2u);
  ASSERT_EQ(plain->steps.size(), 2u);
  EXPECT_EQ(plain->steps[1].frame, 1);
  EXPECT_EQ(plain->steps[1].durationMs, 100u);  // 6 jiffies of 1/60 s
  EXPECT_EQ(plain->frames[1].hotspotX, 2);

  const auto sequenced = ReadAniFile(AniFile({red, blue}, 3, 6, {3, 30, 60}, {1, 0, 1}));
  ASSERT_TRUE(sequenced);
  ASSERT_EQ(sequenced->steps.size(), 3u);
  EXPECT_EQ(sequenced->steps[0].frame, 1);
  EXPECT_EQ(sequenced->steps[2].frame, 1);
  EXPECT_EQ(sequenced->steps[1].durationMs, 500u);
  EXPECT_EQ(sequenced->steps[2].durationMs, 1000u);
}

TEST(AniReader, RefusesInconsistentFiles) {
  const std::string frame = IconFile({{3, 2, 1, 1, SmallDib(24)}});
  const struct {
    const char* name;
    std::string file;
  } cases[] = {
      {"sequence index past the frames", AniFile({frame}, 2, 6, {}, {0, 1})},
      {"more steps than frames without a sequence", AniFile({frame}, 2, 6, {}, {})},
      {"rate table too short", AniFile({frame, frame}, 2, 6, {3}, {})},
      {"raw bitmap frames", AniFile({frame}, 1, 6, {}, {}, 0)},
      {"a frame that is not a cursor", AniFile({"garbage"}, 1, 6, {}, {})},
      {"no frames", AniFile({}, 0, 6, {}, {})},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_FALSE(ReadAniFile(c.file));
  }
  const std::string good = AniFile({frame, frame}, 2, 6, {3, 3}, {1, 0});
  ASSERT_TRUE(ReadCursorFile(good));
  for (size_t length = 0; length < good.size(); ++length) EXPECT_FALSE(ReadCursorFile(good.substr(0, length))) << length;
}

TEST(CursorMap, LoadsEachKeyOnceAndRemembersFailures) {
  CTempFolder folder;
  folder.WriteBytes("a.cur", IconFile({{3, 2, 1, 1, SmallDib(8)}}));
  const std::u16string present = folder.Engine(u"a.cur");
  const std::u16string missing = folder.Engine(u"b.cur");
  CCursorMap cursors;
  const SCursorImage* cursor = cursors.Load(present, present);
  ASSERT_NE(cursor, nullptr);
  EXPECT_EQ(cursor->steps.size(), 1u);
  std::filesystem::remove(folder.Native() / "a.cur");
  EXPECT_EQ(cursors.Load(present, present), cursor);

  EXPECT_EQ(cursors.Load(missing, missing), nullptr);
  folder.WriteBytes("b.cur", IconFile({{3, 2, 1, 1, SmallDib(8)}}));
  EXPECT_EQ(cursors.Load(missing, missing), nullptr);
  EXPECT_EQ(cursors.Count(), 2);
}

TEST(CursorFiles, ThirdPartyCorpora) {
  const std::filesystem::path root = std::filesystem::path(ZV_TEST_DATA_DIR) / "corpora";
  const auto read = [&](const char* name) { return ReadFileBytes(FromNativePath(root / name), EFileKind::kMedia).value_or(""); };

  const auto deerstalker = ReadCursorFile(read("pillow/Tests/images/deerstalker.cur"));
  ASSERT_TRUE(deerstalker);
  const CPixelSurface& image = deerstalker->frames[0].image;
  ASSERT_EQ(image.Width(), 32);
  EXPECT_EQ(image.At(10, 1), 0u);
  EXPECT_EQ(image.At(16, 16), 0xFF545756u);  // (84, 87, 86, 255)
  EXPECT_EQ(image.At(11, 1) >> 24, 1u);

  for (const char* name : {"pillow/Tests/images/mask_1.cur", "pillow/Tests/images/mask_L.cur"}) {
    SCOPED_TRACE(name);
    const auto mask = ReadCursorFile(read(name));
    ASSERT_TRUE(mask);
    const CPixelSurface& m = mask->frames[0].image;
    ASSERT_EQ(m.Height(), 4);
    EXPECT_EQ(m.At(0, 0), 0xFF000000u);
    EXPECT_EQ(m.At(0, 1), 0xFFFFFFFFu);
    EXPECT_EQ(m.At(0, 2), 0u);
    EXPECT_EQ(m.At(0, 3), 0u);
  }
  EXPECT_FALSE(ReadCursorFile(read("pillow/Tests/images/no_cursors.cur")));

  const auto sample = ReadCursorFile(read("sdl2-samples/sample.cur"));
  const CPixelSurface reference = DecodeIconImage(read("sdl2-samples/sample.png"));
  ASSERT_TRUE(sample);
  EXPECT_EQ(sample->frames[0].hotspotX, 1);
  EXPECT_EQ(sample->frames[0].hotspotY, 24);
  EXPECT_EQ(HashPixels(sample->frames[0].image), HashPixels(reference));

}

// The only animated cursor of the corpora is GPL test data kept outside the repository.
TEST(CursorFiles, SharedAnimatedCursor) {
  const std::filesystem::path file = std::filesystem::path(ZV_SHARED_TESTDATA_DIR) / "gdk-pixbuf-tests/test-animation.ani";
  if (!std::filesystem::exists(file)) GTEST_SKIP() << "no shared test data";
  const auto animation = ReadCursorFile(ReadFileBytes(FromNativePath(file), EFileKind::kMedia).value_or(""));
  ASSERT_TRUE(animation);
  EXPECT_EQ(animation->frames.size(), 18u);
  ASSERT_EQ(animation->steps.size(), 18u);
  EXPECT_EQ(animation->steps[5].durationMs, 33u);  // 2/60 s
  EXPECT_EQ(animation->frames[0].image.Width(), 32);
  EXPECT_EQ(animation->frames[0].hotspotY, 8);
}

}  // namespace
