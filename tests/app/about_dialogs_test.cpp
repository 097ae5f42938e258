// The about boxes: what the application's and a character's dialogs hold, where they
// open, that one application box is open at a time, and which links a click may open.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/about_dialogs.h"
#include "app/application.h"
#include "app/program_state.h"
#include "app/product_texts.h"
#include "app_fakes.h"
#include "chardef/chara_info.h"
#include "media/embedded_images.h"
#include "platform/headless/headless_ui.h"
#include "window/command_ids.h"

namespace {

std::vector<int> Edges(const SRect& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

const SDialogControl* ControlOf(const SDialogModel& dialog, int id) {
  for (const SDialogControl& control : dialog.controls) {
    if (control.id == id) return &control;
  }
  return nullptr;
}

TEST(AboutDialogs, TheApplicationsBoxHoldsTheProductTextsTheTermsAndTheLogo) {
  const std::vector<uint8_t> bytes(EmbeddedLogoTga().begin(), EmbeddedLogoTga().end());
  const CImageLoad logo(std::u16string(kLogoImageKey), bytes.data(), bytes.size());
  const SDialogModel dialog = ApplicationAboutDialog(&logo, {0, 0, 1920, 1080});
  EXPECT_EQ(dialog.resourceId, 103);
  EXPECT_EQ(dialog.title, u"Zelvotta について");
  EXPECT_EQ(dialog.fontFace, u"MS UI Gothic");
  // 210 × 240 dialog units at 6 / 4 and 12 / 8 pixels a unit, centred on the range.
  EXPECT_EQ(Edges(dialog.bounds), (std::vector<int>{802, 360, 1117, 720}));
  EXPECT_EQ(DialogTexts(dialog),
            (std::vector<std::u16string>{
                u"", u"Version:", u"1.61", u"Website:",
                u"<a href=\"https://github.com/zelvotta/zelvotta\">https://github.com/zelvotta/zelvotta</a>",
                u"Copyright (c) 2026 The Zelvotta authors",
                u"Using Zelvotta means accepting the licence terms below.", u"ライセンス", u"", u"OK"}));
  EXPECT_EQ(ControlOf(dialog, kAppAboutLinkId)->url, u"https://github.com/zelvotta/zelvotta");
  const SDialogControl& terms = *ControlOf(dialog, 1025);
  EXPECT_EQ(terms.kind, EDialogControl::List);
  EXPECT_EQ(terms.columnWidth, 650);
  const SDialogControl& picture = *ControlOf(dialog, 1038);
  EXPECT_EQ(Edges(picture.bounds), (std::vector<int>{92, 5, 277, 45}));
  EXPECT_EQ(picture.image.pixels, logo.Pixels());
  EXPECT_EQ(picture.image.width, 185);
  for (const SDialogControl& control : dialog.controls) {
    EXPECT_LE(control.bounds.right, dialog.bounds.Width());
    EXPECT_LE(control.bounds.bottom, dialog.bounds.Height());
  }

  // The terms are the licence the project is published under, line for line.
  std::ifstream licence(std::filesystem::path(ZV_TEST_DATA_DIR) / ".." / ".." / "LICENSE");
  std::vector<std::u16string> lines;
  for (std::string line; std::getline(licence, line);) lines.push_back(std::u16string(line.begin(), line.end()));
  EXPECT_EQ(terms.rows, lines);
  EXPECT_EQ(terms.rows.size(), 21u);
  EXPECT_EQ(ApplicationAboutDialog(nullptr, {0, 0, 800, 600}).controls[8].image.pixels, nullptr);
}

TEST(AboutDialogs, ACharactersBoxShowsItsTextsItsLinkAndItsImageWhereItsDataSays) {
  const std::vector<uint8_t> bytes(EmbeddedLogoTga().begin(), EmbeddedLogoTga().end());
  const CImageLoad image(u"about.tga", bytes.data(), bytes.size());
  CCharaInfo info(u"robin", {0, 0, 800, 600});
  info.displayName = u"ロビン";
  info.appName = u"Robin";
  info.version = u"2.0";
  info.copyright = u"(c) the Robin authors";
  info.url = u"https://example.org/robin";
  info.aboutImage = &image;
  info.aboutImageWidth = 185;
  info.aboutImageHeight = 40;
  info.aboutImageX = 4;
  info.aboutImageY = 6;
  // Centred on the right half of an 800 × 600 desktop: 315 × 180 pixels.
  const SDialogModel dialog = CharacterAboutDialog(info, {400, 0, 800, 600});
  EXPECT_EQ(dialog.resourceId, 157);
  EXPECT_EQ(dialog.title, u"ロビン について");
  EXPECT_EQ(Edges(dialog.bounds), (std::vector<int>{442, 210, 757, 390}));
  EXPECT_EQ(DialogTexts(dialog),
            (std::vector<std::u16string>{u"Robin", u"Version:", u"2.0", u"(c) the Robin authors", u"Website:",
                                         u"<a href=\"https://example.org/robin\">https://example.org/robin</a>", u"",
                                         u"OK"}));
  const SDialogControl& picture = *ControlOf(dialog, 1037);
  EXPECT_EQ(Edges(picture.bounds), (std::vector<int>{4, 6, 189, 46}));
  EXPECT_EQ(picture.image.pixels, image.Pixels());

  // Without an image the picture is empty; an empty address is an empty link.
  info.aboutImage = nullptr;
  info.url.clear();
  const SDialogModel plain = CharacterAboutDialog(info, {0, 0, 800, 600});
  EXPECT_EQ(ControlOf(plain, 1037)->image.pixels, nullptr);
  EXPECT_EQ(ControlOf(plain, kCharaAboutLinkId)->text, u"<a href=\"\"></a>");
}

TEST(AboutDialogs, OnlyWebAddressesAreHandedToTheSystem) {
  EXPECT_TRUE(IsOpenableWebAddress(u"https://example.org"));
  EXPECT_TRUE(IsOpenableWebAddress(u"HTTP://example.org/a?b"));
  EXPECT_FALSE(IsOpenableWebAddress(u""));
  EXPECT_FALSE(IsOpenableWebAddress(u"https://"));
  EXPECT_FALSE(IsOpenableWebAddress(u"C:\\Windows\\System32\\cmd.exe"));
  EXPECT_FALSE(IsOpenableWebAddress(u"file:///etc/passwd"));
  EXPECT_FALSE(IsOpenableWebAddress(u" https://example.org"));
}

struct AboutBoxFixture : ::testing::Test {
  FakeCharacterFolders folders;
  FakePlatform platform;
  FakeMainWindow window;
  SProgramState state;
  CHeadlessDialogs& dialogs = platform.Headless().HeadlessUi().Dialogs();

  size_t TraceCount(const std::string& part) {
    size_t count = 0;
    for (const std::string& line : platform.Headless().TraceLines()) count += line.find(part) != std::string::npos;
    return count;
  }
};

TEST_F(AboutBoxFixture, OneApplicationBoxAtATimeCentredOnTheMoveRange) {
  folders.Add("one");
  CApplication app(platform, window, state, SRect{0, 0, 800, 600}, {u"one"}, 1);
  app.Build();
  app.SetMoveRange({400, 0, 800, 600});
  EXPECT_TRUE(app.HandleCommand(kCmdAbout));
  // A character's menu asks the same; the open box comes forward instead.
  app.Characters().ValueAt(0)->ShowAppAbout();
  ASSERT_EQ(dialogs.OpenDialogs().size(), 1u);
  EXPECT_EQ(Edges(dialogs.OpenDialogs()[0]->Model().bounds), (std::vector<int>{442, 120, 757, 480}));
  EXPECT_EQ(TraceCount(R"("event":"dialog","id":103,"title":"Zelvotta について")"), 1u);

  EXPECT_EQ(dialogs.ClickLink(), nullptr);
  EXPECT_EQ(dialogs.OpenedUrls(), std::vector<std::u16string>{u"https://github.com/zelvotta/zelvotta"});
  EXPECT_EQ(dialogs.PressOk(), nullptr);
  EXPECT_TRUE(dialogs.OpenDialogs().empty());
  // Once ended, the command opens a new one.
  app.HandleCommand(kCmdAbout);
  EXPECT_EQ(dialogs.OpenDialogs().size(), 1u);
  EXPECT_EQ(TraceCount(R"("event":"dialog","id":103)"), 2u);
}

TEST_F(AboutBoxFixture, EachCharacterHasOneBoxAndAnEmptyLinkOpensNothing) {
  folders.Add("one");
  folders.Add("two");
  auto app = std::make_unique<CApplication>(platform, window, state, SRect{0, 0, 800, 600},
                                            std::vector<std::u16string>{u"one", u"two"}, 2);
  app->Build();
  CCharacter& one = *app->Characters().ValueAt(0);
  CCharacter& two = *app->Characters().ValueAt(1);
  EXPECT_TRUE(app->ShowCharacterAbout(one));
  EXPECT_TRUE(app->ShowCharacterAbout(two));
  EXPECT_TRUE(app->ShowCharacterAbout(one));  // brought forward
  const std::vector<const CHeadlessDialog*> open = dialogs.OpenDialogs();
  ASSERT_EQ(open.size(), 2u);
  EXPECT_EQ(open.back()->Model().title, u"one について");
  EXPECT_EQ(dialogs.ClickLink(), nullptr);
  EXPECT_TRUE(dialogs.OpenedUrls().empty());
  EXPECT_EQ(TraceCount(R"("event":"open-url")"), 0u);
  EXPECT_EQ(TraceCount(R"("event":"dialog","id":157,"title":"two について")"), 1u);
  EXPECT_EQ(dialogs.PressOk(), nullptr);
  EXPECT_EQ(dialogs.OpenDialogs().size(), 1u);
  // The boxes still open end with the application, before its characters go.
  app.reset();
  EXPECT_TRUE(dialogs.OpenDialogs().empty());
}

}  // namespace
