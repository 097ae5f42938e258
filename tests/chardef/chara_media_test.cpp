// A character's media set and the media steps of loading it: the built-in transparent
// image, the about image with its two messages, and the cursors of config.ini.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "../media/cursor_builder.h"
#include "../media/image_tga_builder.h"
#include "application_folder_scope.h"
#include "temp_folder.h"
#include "chardef/chara_loader.h"
#include "chardef/chara_media.h"
#include "media/embedded_images.h"
#include "script/script_error.h"
#include "support/application_folder.h"

namespace {

// No audio device: channels load sounds but never open an output.
class CNoAudio final : public IAudio {
 public:
  std::unique_ptr<IAudioOutput> Open(const SPcmFormat&, AudioBufferDone) override { return nullptr; }
};

std::string TgaOfSize(int width, int height) {
  STgaFile tga;
  tga.width = static_cast<uint16_t>(width);
  tga.height = static_cast<uint16_t>(height);
  tga.pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height) * 4, 0xFF);
  const std::vector<uint8_t> bytes = tga.Bytes();
  return std::string(bytes.begin(), bytes.end());
}

std::string SmallCursor() {
  using namespace cursor_builder;
  const std::string dib = Dib(
      2, 2, 32, {}, [](int, int) { return 0xFF00FF00u; }, [](int, int) { return false; });
  return IconFile({{2, 2, 1, 1, dib}});
}

TEST(CharaMedia, HoldsTheHiddenImageUnderTheImagesFolder) {
  CNoAudio audio;
  CCharaMedia media(u"Characters\\A\\Images\\", u"Characters\\A\\Sounds\\", audio);
  const CImageLoad* hidden = media.Images().Find(u"Characters\\A\\Images\\|Resources|\\Images\\Hide.tga");
  ASSERT_NE(hidden, nullptr);
  EXPECT_EQ(hidden->Width(), 1);
  EXPECT_EQ(hidden->Height(), 1);
  EXPECT_EQ(hidden->Pixels()[0] >> 24, 0u);  // fully transparent
  // A register names it relative to the images folder; the cache never reads the disk.
  EXPECT_EQ(media.Images().Load(media.ImagesFolder() + std::u16string(kHideImageKey), u"no such file"), hidden);
  EXPECT_EQ(media.Images().Count(), 1u);
  EXPECT_NE(&media.Channel(SOUND_CHANNEL_FUNCTION_BGM), &media.Channel(SOUND_CHANNEL_BALLOON_ROW));
}

class CharaMediaLoadTest : public ::testing::Test {
 protected:

  void Write(const std::string& relative, std::string_view bytes) { app_.WriteBytes("Characters/" + relative, bytes); }

  // Loads config.ini and the media it names; returns the message of a failure or "".
  std::u16string Load(const std::u16string& name, CCharaInfo& info) {
    const CCharaLoader loader(name, numbering_);
    media_ = std::make_unique<CCharaMedia>(loader.Paths().imagesFolder, loader.Paths().soundsFolder, audio_);
    try {
      loader.LoadMetadata(info);
      loader.LoadMetadataMedia(info, *media_);
    } catch (const EScriptError& error) {
      return error.Message();
    }
    return {};
  }

  CTempFolder app_;
  CApplicationFolderScope appFolder_{app_.Engine() + u'\\'};
  SCharaNumbering numbering_;
  CNoAudio audio_;
  std::unique_ptr<CCharaMedia> media_;

};

constexpr SRect kMoveArea{0, 0, 1280, 720};

TEST_F(CharaMediaLoadTest, AboutImageSizes) {
  struct Case {
    int width;
    int height;
    bool accepted;
  };
  // Only an image beyond both limits is refused.
  const Case cases[] = {{400, 200, true}, {500, 100, true}, {100, 300, true}, {401, 201, false}};
  for (const Case& c : cases) {
    const std::string size = std::to_string(c.width) + "x" + std::to_string(c.height);
    SCOPED_TRACE(size);
    // A backslash is an escape in config.ini: a sub-folder is written with two.
    Write("Sized/config.ini", "DlgImageName=about\\\\" + size + ".tga\nDlgImagePosX=7\n");
    Write("Sized/Images/about/" + size + ".tga", TgaOfSize(c.width, c.height));
    CCharaInfo info(u"Sized", kMoveArea);
    const std::u16string message = Load(u"Sized", info);
    if (c.accepted) {
      EXPECT_EQ(message, u"");
      ASSERT_NE(info.aboutImage, nullptr);
      EXPECT_EQ(info.aboutImageWidth, c.width);
      EXPECT_EQ(info.aboutImageHeight, c.height);
      EXPECT_EQ(info.aboutImageX, 7);
    } else {
      EXPECT_EQ(message, u"Sizedのバージョン情報用の画像サイズが最大サイズを超えています。");
    }
  }
}

TEST_F(CharaMediaLoadTest, AboutImageThatDoesNotLoad) {
  Write("Missing/config.ini", "DlgImageName=Logo.png\n");
  Write("Broken/config.ini", "DlgImageName=Logo.tga\n");
  Write("Broken/Images/Logo.tga", "not an image");
  Write("None/config.ini", "CharaName=x\n");
  CCharaInfo missing(u"Missing", kMoveArea);
  EXPECT_EQ(Load(u"Missing", missing), u"MissingのLogo.pngを読み込めませんでした。");
  CCharaInfo broken(u"Broken", kMoveArea);
  EXPECT_EQ(Load(u"Broken", broken), u"BrokenのLogo.tgaを読み込めませんでした。");
  CCharaInfo none(u"None", kMoveArea);
  EXPECT_EQ(Load(u"None", none), u"");
  EXPECT_EQ(none.aboutImage, nullptr);
}

// A mono 8-bit PCM WAV of four samples.
std::string TinyWav() {
  const auto le = [](uint32_t v, int bytes) {
    std::string out;
    for (int i = 0; i < bytes; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
    return out;
  };
  return "RIFF" + le(40, 4) + "WAVEfmt " + le(16, 4) + le(1, 2) + le(1, 2) + le(8000, 4) + le(8000, 4) +
         le(1, 2) + le(8, 2) + "data" + le(4, 4) + std::string(4, '\x80');
}

TEST_F(CharaMediaLoadTest, ButtonSoundsAreReadWithTheMetadata) {
  Write("Clicker/config.ini", "SoundNameLButton=click.WAV\nSoundNameRButton=missing.wav\n");
  Write("Clicker/Sounds/click.WAV", TinyWav());
  CCharaInfo info(u"Clicker", kMoveArea);
  ASSERT_EQ(Load(u"Clicker", info), u"");  // a missing button sound is no error
  // Loaded during the load: the channel still has it after the file is gone.
  std::filesystem::remove(app_.Native() / "Characters/Clicker/Sounds/click.WAV");
  const std::u16string sounds = u"Characters\\Clicker\\Sounds\\";
  EXPECT_NE(media_->Channel(SOUND_CHANNEL_L_BUTTON).Load(sounds + u"click.WAV"), nullptr);
  EXPECT_EQ(media_->Channel(SOUND_CHANNEL_R_BUTTON).Load(sounds + u"missing.wav"), nullptr);
}

TEST_F(CharaMediaLoadTest, CursorStep) {
  Write("Pointer/config.ini", "NormalCursor=normal.cur\nDragCursor=missing.cur\n");
  Write("Pointer/Cursors/normal.cur", SmallCursor());
  CCharaInfo info(u"Pointer", kMoveArea);
  ASSERT_EQ(Load(u"Pointer", info), u"");
  const CCharaLoader::SCursors cursors = CCharaLoader(u"Pointer", numbering_).LoadCursors(info, *media_);
  ASSERT_NE(cursors.normal, nullptr);
  EXPECT_EQ(cursors.normal->frames.at(0).hotspotX, 1);
  EXPECT_EQ(cursors.drag, nullptr);
  EXPECT_EQ(cursors.disabled, nullptr);
  // Loaded through the cache: the same name gives the same cursor, the failure is kept.
  EXPECT_EQ(media_->Cursors().Count(), 2);
  EXPECT_EQ(CCharaLoader(u"Pointer", numbering_).LoadCursors(info, *media_).normal, cursors.normal);
}

}  // namespace
