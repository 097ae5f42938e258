// The decoders against third-party corpora: PngSuite, and TGA files from Pillow, tinytga
// and (when the shared test data is present) gdk-pixbuf, compared with their reference
// PNGs. Files our rules reject (no TGA 2.0 footer, 16-bit colour maps, corrupt PNGs)
// must fail cleanly.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "media/png_decoder.h"
#include "media/tga_decoder.h"

namespace fs = std::filesystem;

namespace {

const fs::path kImages = fs::path(ZV_TEST_DATA_DIR) / "images";
const fs::path kGdk = fs::path(ZV_SHARED_TESTDATA_DIR) / "gdk-pixbuf-tests" / "test-images";

std::optional<CPixelSurface> DecodeFile(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
  return path.extension() == ".png" ? DecodePng(data, bytes.size()) : DecodeTga(data, bytes.size());
}

std::vector<fs::path> FilesIn(const fs::path& folder, const std::string& extension) {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.path().extension() == extension) files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

bool SamePixels(const CPixelSurface& a, const CPixelSurface& b) {
  return a.Width() == b.Width() && a.Height() == b.Height() &&
         std::equal(a.Pixels(), a.Pixels() + a.Width() * a.Height(), b.Pixels());
}

// Decodes `image` and `reference` and expects identical premultiplied pixels.
void ExpectMatchesReference(const fs::path& image, const fs::path& reference) {
  const auto decoded = DecodeFile(image);
  const auto expected = DecodeFile(reference);
  ASSERT_TRUE(decoded.has_value()) << image;
  ASSERT_TRUE(expected.has_value()) << reference;
  EXPECT_TRUE(SamePixels(*decoded, *expected)) << image << " differs from " << reference;
}

TEST(PngSuite, CorruptFilesFailAndEveryOtherDecodesAtItsSize) {
  const std::vector<fs::path> files = FilesIn(kImages / "pngsuite", ".png");
  ASSERT_EQ(files.size(), 175u);
  int failed = 0;
  for (const fs::path& file : files) {
    const std::string name = file.filename().string();
    const auto surface = DecodeFile(file);
    if (name[0] == 'x') {
      EXPECT_FALSE(surface.has_value()) << name;
      ++failed;
      continue;
    }
    ASSERT_TRUE(surface.has_value()) << name;
    // sNN files are NN × NN, the pHYs files have their own sizes, the rest is 32 × 32.
    const bool sized = name[0] == 's' && std::isdigit(static_cast<unsigned char>(name[1]));
    const int side = sized ? std::stoi(name.substr(1, 2)) : 32;
    const std::map<std::string, std::pair<int, int>> odd = {
        {"cdfn2c08.png", {8, 32}}, {"cdhn2c08.png", {32, 8}}, {"cdsn2c08.png", {8, 8}}};
    const auto found = odd.find(name);
    EXPECT_EQ(surface->Width(), found != odd.end() ? found->second.first : side) << name;
    EXPECT_EQ(surface->Height(), found != odd.end() ? found->second.second : side) << name;
  }
  EXPECT_EQ(failed, 14);
}

TEST(PngSuite, InterlacedDecodesLikeNonInterlaced) {
  int pairs = 0;
  for (const fs::path& file : FilesIn(kImages / "pngsuite", ".png")) {
    std::string name = file.filename().string();
    const std::size_t flag = name.find_first_of("in", 3);
    if (name[0] == 'x' || name[0] == 'b' || flag != 3 || name[3] != 'i') continue;
    name[3] = 'n';
    if (!fs::exists(file.parent_path() / name)) continue;
    ExpectMatchesReference(file, file.parent_path() / name);
    ++pairs;
  }
  for (const char* depth : {"0g01", "0g02", "0g04", "0g08", "0g16", "2c08", "2c16", "3p01", "3p02", "3p04", "3p08",
                            "4a08", "4a16", "6a08", "6a16"}) {
    ExpectMatchesReference(kImages / "pngsuite" / ("basi" + std::string(depth) + ".png"),
                           kImages / "pngsuite" / ("basn" + std::string(depth) + ".png"));
    ++pairs;
  }
  EXPECT_GT(pairs, 30);
}

TEST(PngSuite, GreyBecomesOpaqueEqualChannels) {
  for (const char* name : {"basn0g01.png", "basn0g02.png", "basn0g04.png", "basn0g08.png", "basn0g16.png"}) {
    const auto surface = DecodeFile(kImages / "pngsuite" / name);
    ASSERT_TRUE(surface.has_value()) << name;
    for (int i = 0; i < surface->Width() * surface->Height(); ++i) {
      const uint32_t p = surface->Pixels()[i];
      ASSERT_EQ(p >> 24, 0xFFu) << name;
      ASSERT_EQ(p & 0xFF, (p >> 8) & 0xFF) << name;
      ASSERT_EQ(p & 0xFF, (p >> 16) & 0xFF) << name;
    }
  }
}

TEST(PngSuite, TransparencyChunkGivesAlpha) {
  for (const char* name : {"tbbn0g04.png", "tbbn3p08.png", "tbrn2c08.png", "tp1n3p08.png", "tm3n3p02.png"}) {
    const auto surface = DecodeFile(kImages / "pngsuite" / name);
    ASSERT_TRUE(surface.has_value()) << name;
    std::set<uint32_t> alphas;
    for (int i = 0; i < surface->Width() * surface->Height(); ++i) {
      const uint32_t p = surface->Pixels()[i];
      alphas.insert(p >> 24);
      // Premultiplied: no channel above alpha.
      ASSERT_LE(p & 0xFF, p >> 24) << name;
    }
    EXPECT_TRUE(alphas.count(0)) << name;
  }
  const auto opaque = DecodeFile(kImages / "pngsuite" / "tp0n3p08.png");
  ASSERT_TRUE(opaque.has_value());
  EXPECT_EQ(opaque->Pixels()[0] >> 24, 0xFFu);
}

TEST(PillowTga, EveryOrientationAndEncodingMatchesReference) {
  const fs::path common = kImages / "pillow" / "Tests" / "images" / "tga" / "common";
  int compared = 0;
  for (const fs::path& file : FilesIn(common, ".tga")) {
    const std::string name = file.filename().string();
    const std::string mode = name.substr(0, name.rfind('_', name.rfind('_') - 1));
    ExpectMatchesReference(file, common / (mode + ".png"));
    ++compared;
  }
  EXPECT_EQ(compared, 24);
  const fs::path images = kImages / "pillow" / "Tests" / "images";
  ExpectMatchesReference(images / "200x32_p_bl_raw_origin.tga", common / "200x32_p.png");
  ExpectMatchesReference(images / "cross_scan_line.tga", images / "cross_scan_line.png");
}

TEST(PillowTga, RightToLeftFilesAreMirrored) {
  const fs::path images = kImages / "pillow" / "Tests" / "images";
  const auto topRight = DecodeFile(images / "rgb32rle_top_right.tga");
  const auto bottomRight = DecodeFile(images / "rgb32rle_bottom_right.tga");
  ASSERT_TRUE(topRight && bottomRight);
  // Black, and full green (premultiplied: green equals alpha).
  EXPECT_EQ(topRight->At(90, 90) & 0xFFFFFFu, 0x000000u);
  const uint32_t green = bottomRight->At(90, 90);
  EXPECT_EQ(green & 0xFF00FFu, 0u);
  EXPECT_EQ((green >> 8) & 0xFF, green >> 24);
}

TEST(TgaCorpora, RejectedFilesFail) {
  const fs::path pillow = kImages / "pillow" / "Tests" / "images";
  const fs::path tiny = kImages / "tinytga" / "tests";
  std::vector<fs::path> rejected = {
      pillow / "p_8.tga", pillow / "cross_scan_line_truncated.tga",
      pillow / "p_16.tga",  // 16-bit colour-map entries
      tiny / "error_color_map.tga", tiny / "error_no_image_data.tga", tiny / "error_truncated_image_data.tga",
      tiny / "issue_216_uncompressed.tga", tiny / "image_id.tga"};  // no footer
  for (const fs::path& file : FilesIn(tiny, ".tga")) {
    if (file.filename().string().starts_with("type")) rejected.push_back(file);  // no footer
  }
  EXPECT_EQ(rejected.size(), 8u + 20u);
  for (const fs::path& file : rejected) EXPECT_FALSE(DecodeFile(file).has_value()) << file;
}

TEST(TgaCorpora, TinyTgaPairsDecodeAlike) {
  const fs::path tiny = kImages / "tinytga" / "tests";
  ExpectMatchesReference(tiny / "chessboard_uncompressed.tga", tiny / "chessboard_uncompressed.png");
  ExpectMatchesReference(tiny / "chessboard_rle.tga", tiny / "chessboard_uncompressed.png");
  ExpectMatchesReference(tiny / "chessboard_4px_rle.tga", tiny / "chessboard_raw.tga");
  ExpectMatchesReference(tiny / "chequerboard-rle-topleft.tga", tiny / "chequerboard-uncompressed-topleft.tga");
  for (const char* name : {"rust-rle-bw-bottomleft.tga", "rust-rle-bw-topleft.tga", "rust-uncompressed-bw-topleft.tga"}) {
    ExpectMatchesReference(tiny / name, tiny / "rust-uncompressed-bw-bottomleft.tga");
  }
  const auto chess = DecodeFile(tiny / "chessboard_raw.tga");
  ASSERT_TRUE(chess.has_value());
  // Rows WKWK / KRKG / WKBK / KWKW.
  EXPECT_EQ(chess->At(0, 0), 0xFFFFFFFFu);
  EXPECT_EQ(chess->At(1, 1), 0xFFFF0000u);
  EXPECT_EQ(chess->At(3, 1), 0xFF00FF00u);
  EXPECT_EQ(chess->At(2, 2), 0xFF0000FFu);
  EXPECT_EQ(chess->At(0, 3), 0xFF000000u);
}

TEST(GdkPixbufTga, ReferenceImagesMatch) {
  if (!fs::exists(kGdk)) GTEST_SKIP() << "shared test data not present";
  int compared = 0;
  for (const fs::path& file : FilesIn(kGdk / "reftests" / "tga", ".tga")) {
    const std::string name = file.filename().string();
    if (name.starts_with("gtk-logo-16bpp")) {
      EXPECT_FALSE(DecodeFile(file).has_value()) << name;  // no footer
      continue;
    }
    ExpectMatchesReference(file, file.string() + ".ref.png");
    ++compared;
  }
  EXPECT_EQ(compared, 40);
  ExpectMatchesReference(kGdk / "reftests" / "colormap-too-small.tga", kGdk / "reftests" / "colormap-too-small.tga.ref.png");
}

TEST(GdkPixbufTga, RejectedFilesFail) {
  if (!fs::exists(kGdk)) GTEST_SKIP() << "shared test data not present";
  for (const fs::path& file : FilesIn(kGdk / "fail", ".tga")) EXPECT_FALSE(DecodeFile(file).has_value()) << file;
  for (const char* name : {"rle-too-many-pixels.tga", "rle-too-many-pixels-2.tga"}) {
    EXPECT_FALSE(DecodeFile(kGdk / "reftests" / name).has_value()) << name;  // no footer
  }
}

}  // namespace
