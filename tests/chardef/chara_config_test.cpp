// config.ini: value rules of the metadata keys and the process-wide numbering.
#include <gtest/gtest.h>

#include <string>

#include "chardef/chara_config.h"

namespace {

constexpr SRect kMoveArea{0, 40, 1920, 1040};  // 1000 pixels high

CStringList LinesOf(std::initializer_list<std::u16string> lines) {
  CStringList list;
  for (const std::u16string& line : lines) list.Push(line);
  return list;
}

TEST(CharaConfig, LineHeight) {
  struct Case {
    std::u16string value;
    int height;
    bool automatic;
  };
  const Case cases[] = {
      {u"", 1000, true},      {u"N", 1000, true},    {u"n", 10, false},      {u"5", 10, false},
      {u"10", 10, false},     {u"160", 160, false},  {u"1000", 1000, false}, {u"1001", 1000, false},
      {u"abc", 10, false},    {u"-5", 10, false},    {u"12px", 10, false},   {u"\t300 ", 300, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.value.begin(), c.value.end()));
    const SLineHeight result = ParseLineHeight(c.value, kMoveArea.Height());
    EXPECT_EQ(result.height, c.height);
    EXPECT_EQ(result.automatic, c.automatic);
  }
}

TEST(CharaConfig, LenientIntegersAndSoundNames) {
  EXPECT_EQ(LenientInteger(u"25"), 25);
  EXPECT_EQ(LenientInteger(u"-25"), -25);
  EXPECT_EQ(LenientInteger(u" \t7 "), 7);
  EXPECT_EQ(LenientInteger(u""), 0);
  EXPECT_EQ(LenientInteger(u"7a"), 0);
  EXPECT_EQ(LenientInteger(u"+7"), 0);
  EXPECT_EQ(LenientInteger(u"--7"), 0);

  EXPECT_TRUE(IsWavName(u"click.wav"));
  EXPECT_TRUE(IsWavName(u"voice\\CLICK.WAV"));
  EXPECT_FALSE(IsWavName(u"click.mp3"));
  EXPECT_FALSE(IsWavName(u"click.wav.mp3"));
  EXPECT_FALSE(IsWavName(u"sounds.wav\\click"));  // the extension belongs to the file name
  EXPECT_FALSE(IsWavName(u""));
}

TEST(CharaConfig, KeysAndDefaults) {
  SCharaNumbering numbering;
  CCharaInfo defaults(u"Folder", kMoveArea);
  ApplyCharaConfig(CStringList(), defaults, numbering);
  EXPECT_EQ(defaults.displayName, u"Folder");
  EXPECT_EQ(defaults.groupNumber, -1);
  EXPECT_EQ(defaults.charaNumber, -1);
  EXPECT_EQ(defaults.lineHeight, 1000);
  EXPECT_TRUE(defaults.autoLineHeight);
  EXPECT_EQ(numbering.groups.Count(), 0);

  CCharaInfo info(u"Folder", kMoveArea);
  ApplyCharaConfig(LinesOf({u"CharaName=Hana", u"CharaName=Other", u"AppName=App", u"Version=1.2", u"Copyright=(c)",
                            u"Url=https://example.org/?a=b", u"DlgImageName=about.png", u"DlgImagePosX=12",
                            u"DlgImagePosY=x", u"LineHeight=200", u"NormalCursor=n.cur", u"DragCursor=d.ani",
                            u"DisabledCursor=x.cur", u"SoundNameLButton=l.WAV", u"SoundNameRButton=r.mp3",
                            u"charaname=lower", u"=no key"}),
                   info, numbering);
  EXPECT_EQ(info.displayName, u"Hana");
  EXPECT_EQ(info.appName, u"App");
  EXPECT_EQ(info.version, u"1.2");
  EXPECT_EQ(info.copyright, u"(c)");
  EXPECT_EQ(info.url, u"https://example.org/?a=b");
  EXPECT_EQ(info.aboutImageName, u"about.png");
  EXPECT_EQ(info.aboutImageX, 12);
  EXPECT_EQ(info.aboutImageY, 0);
  EXPECT_EQ(info.lineHeight, 200);
  EXPECT_FALSE(info.autoLineHeight);
  EXPECT_EQ(info.normalCursorName, u"n.cur");
  EXPECT_EQ(info.dragCursorName, u"d.ani");
  EXPECT_EQ(info.disabledCursorName, u"x.cur");
  EXPECT_EQ(info.lButtonSoundName, u"l.WAV");
  EXPECT_EQ(info.rButtonSoundName, u"");

  // The about image's position is read only with an about image.
  CCharaInfo noImage(u"Folder", kMoveArea);
  ApplyCharaConfig(LinesOf({u"DlgImagePosX=12", u"DlgImagePosY=13"}), noImage, numbering);
  EXPECT_EQ(noImage.aboutImageX, 0);
  EXPECT_EQ(noImage.aboutImageY, 0);
}

TEST(CharaConfig, GroupAndCharacterNumbersFollowLoadOrder) {
  SCharaNumbering numbering;
  const auto load = [&](std::initializer_list<std::u16string> lines) {
    CCharaInfo info(u"Folder", kMoveArea);
    ApplyCharaConfig(LinesOf(lines), info, numbering);
    return std::pair{info.groupNumber, info.charaNumber};
  };
  EXPECT_EQ(load({u"GroupID=cats", u"CharaID=tama"}), std::pair(100, 100));
  EXPECT_EQ(load({u"GroupID=dogs", u"CharaID=pochi"}), std::pair(101, 101));
  EXPECT_EQ(load({u"GroupID=cats", u"CharaID=mike"}), std::pair(100, 102));
  EXPECT_EQ(load({u"CharaID=tama"}), std::pair(-1, 100));
  EXPECT_EQ(load({u"GroupID=Cats"}), std::pair(102, -1));  // texts compare case-sensitively
  EXPECT_EQ(numbering.groups.Find(u"dogs"), 101);
  EXPECT_EQ(numbering.characters.Find(u"nobody"), -1);

  // A number stored by hand is found and does not move the counter.
  EXPECT_TRUE(numbering.groups.Insert(u"birds", 7));
  EXPECT_FALSE(numbering.groups.Insert(u"birds", 8));
  EXPECT_EQ(load({u"GroupID=birds"}).first, 7);
  EXPECT_EQ(load({u"GroupID=fish"}).first, 103);
}

}  // namespace
