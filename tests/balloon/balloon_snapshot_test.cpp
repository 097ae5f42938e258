// What a balloon looks like: Japanese and English text in the face a style without a
// face name gets (IPAPGothic, proportional), typed out and composed over the balloon
// picture, compared with a reference image that was looked at when it was made.
// ZV_UPDATE_SNAPSHOTS=1 writes the reference anew.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "balloon_fixture.h"
#include "media/png_decoder.h"
#include "media/png_writer.h"
#include "platform/freetype/freetype_text.h"

namespace {

const std::filesystem::path kReference = std::filesystem::path(ZV_TEST_DATA_DIR) / "balloon" / "greeting.png";

std::optional<CPixelSurface> ReadPng(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return DecodePng(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

class BalloonSnapshot : public BalloonFixture {
 protected:
  // A 200 x 64 balloon: white with a dark blue two-pixel border.
  void WriteBalloonImage(const std::string& name) {
    CPixelSurface image(200, 64);
    for (int y = 0; y < 64; ++y) {
      for (int x = 0; x < 200; ++x) {
        const bool border = x < 2 || y < 2 || x >= 198 || y >= 62;
        image.At(x, y) = border ? 0xFF203060u : 0xFFFFFFFFu;
      }
    }
    const std::u16string path = ApplicationFolder() + u"Characters\\" + FromUtf8(name) + u"\\Images\\balloon.png";
    ASSERT_TRUE(WritePng(path, image));
  }
};

TEST_F(BalloonSnapshot, JapaneseAndEnglishTextInTheBalloon) {
  CFreeTypeText faces(96);
  std::error_code error;
  const auto face = std::filesystem::canonical(faces.FaceFileOf(u""), error);
  if (error || face.filename() != "ipagp.ttf") GTEST_SKIP() << "IPAPGothic (fonts-ipafont-gothic) is not installed";

  const std::string name = "Speaker";
  std::vector<STestBlock> balloons = {
      STestBlock{u"BALLOON_MOTION_REG",
                 {u"FuncName=card", u"ImageName=balloon.png", u"Width=200", u"Height=64"},
                 {u"0,0,0,0,1"}},
      STestBlock{u"TEXT_STYLE_REG", {u"FuncName=jp", u"FontSize=11", u"FontColor=navy"}},
      STestBlock{u"BALLOON_ORDER_REG",
                 {u"FuncName=greeting", u"FuncNameMotion=card", u"FuncNameTextStyle=jp", u"TextAreaPosX=10",
                  u"TextAreaPosY=8", u"TextAreaWidth=190", u"TextAreaHeight=58"},
                 {},
                 {u"Open()", u"SetSpeed(600)", u"\"こんにちは、Zelvotta です。\"", u"SetFontColor(maroon)",
                  u"\"\\nHello! 吹き出しの文字。\"", u"Wait(100)"}},
  };
  WriteWithBalloons(name, balloons, {u"CallBalloonList=greeting"});
  WriteBalloonImage(name);
  CCharacter& character = Start(name);
  Frames(character, 12);
  CBalloon& balloon = Main();
  ASSERT_TRUE(host.errors.empty()) << ToUtf8(host.errors.front());
  ASSERT_TRUE(balloon.WindowVisible());
  const CPixelSurface shown = Windows().Pixels(*balloon.Window());
  ASSERT_EQ(shown.Width(), 200);
  ASSERT_EQ(shown.Height(), 64);

  const std::filesystem::path actual = std::filesystem::temp_directory_path() / "zelvotta-greeting-actual.png";
  ASSERT_TRUE(WritePng(FromNativePath(actual), shown));
  if (std::getenv("ZV_UPDATE_SNAPSHOTS") != nullptr) {
    std::filesystem::create_directories(kReference.parent_path());
    std::filesystem::copy_file(actual, kReference, std::filesystem::copy_options::overwrite_existing);
  }
  const std::optional<CPixelSurface> expected = ReadPng(kReference);
  const std::optional<CPixelSurface> got = ReadPng(actual);
  ASSERT_TRUE(expected.has_value()) << kReference;
  ASSERT_TRUE(got.has_value());
  ASSERT_EQ(expected->Width(), got->Width());
  ASSERT_EQ(expected->Height(), got->Height());
  int different = 0;
  for (int y = 0; y < got->Height(); ++y) {
    for (int x = 0; x < got->Width(); ++x) different += got->At(x, y) != expected->At(x, y);
  }
  EXPECT_EQ(different, 0) << "the balloon differs from " << kReference << "; see " << actual;
}

}  // namespace
