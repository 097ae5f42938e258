// The balloon, text-layer and text-style registers: keys, defaults, the balloon's own
// text layer, names that clash, the messages on the latch, and colour parsing.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "chardef/balloon_config.h"
#include "chardef/colour_parse.h"
#include "chardef/register_build_context.h"
#include "chardef/text_layer_config.h"
#include "chardef/text_style_config.h"
#include "platform/headless/text_headless.h"
#include "register_test_blocks.h"
#include "script/script_file_reader.h"
#include "support/utf.h"

namespace {

struct SBlock {
  std::u16string tag;
  std::vector<std::u16string> settings;
  std::vector<std::u16string> text = {};    // a text section when not empty
  std::vector<std::u16string> params = {};  // a parameter section when not empty
};

// A definition for the folder "Chara", built from the blocks and one function.
class BalloonRegisterTest : public ::testing::Test {
 protected:
  void Build(const std::vector<SBlock>& blocks) {
    std::vector<STestBlock> all;
    for (const SBlock& block : blocks) all.push_back({block.tag, block.settings, block.params, block.text});
    all.push_back({u"ORDER_REG", {u"FuncName=start", u"FuncType=START_EVENT"}});
    RegisterReservedBalloonEntries(definition_, text_);
    SRegisterBuilders builders = DefaultRegisterBuilders();
    AddBalloonRegisterBuilders(builders, text_);
    CRegisterBuildContext context(definition_, u"Chara");
    ASSERT_TRUE(BuildRegisters(context, ReadTestBlocks(all), builders));
  }

  template <class T>
  T* Config(const std::u16string& name) {
    CCreateFuncInfo* entry = definition_.FindEntry(name);
    return entry ? entry->ConfigAs<T>() : nullptr;
  }
  std::string Message() const { return ToUtf8(definition_.ErrorMessage()); }

  CHeadlessText text_;
  CCreateFuncInfoMap definition_;
};

std::vector<std::u16string> Sources(const std::vector<CFuncExpression>& expressions) {
  std::vector<std::u16string> sources;
  for (const CFuncExpression& expression : expressions) sources.push_back(expression.Source());
  return sources;
}

TEST_F(BalloonRegisterTest, BalloonKeysAndDefaults) {
  Build({
      {u"BALLOON_ORDER_REG", {u"FuncName=plain"}},
      {u"BALLOON_ORDER_REG",
       {u"FuncName=full", u"CallType=WAIT", u"FuncNameMotion=m", u"FuncNameImageLayer=i1,i2",
        u"FuncNameTextLayer=t1,t2", u"SoundNameBgm=bgm.WAV", u"SoundLoop=2+1", u"CursorName=c.cur",
        u"PosX=X+10", u"PosY=Y", u"PopupPosX=5", u"NextBalloonList=a*2,b"}},
      {u"BALLOON_ORDER_REG", {u"FuncName=lower", u"CallType=wait", u"SoundNameBgm=bgm.mp3"}},
      {u"BALLOON_ORDER_REG", {u"FuncName=force", u"CallType=FORCE"}},
  });
  EXPECT_EQ(Message(), "");

  const CBalloonConfig* plain = Config<CBalloonConfig>(u"plain");
  ASSERT_NE(plain, nullptr);
  EXPECT_EQ(plain->callType, NORMAL);
  EXPECT_EQ(plain->imageLayerNames, CNameList{u""});
  EXPECT_EQ(plain->textLayerNames, (CNameList{u"plain-<SET_TEXT>", u""}));
  EXPECT_EQ(plain->popupPositionX.Source(), u"0");
  EXPECT_EQ(plain->popupPositionY.Source(), u"0");
  EXPECT_TRUE(plain->positionX.Empty());
  EXPECT_FALSE(plain->nextBalloonList.has_value());
  EXPECT_EQ(plain->bgmSoundLoop, 0);

  const CBalloonConfig* full = Config<CBalloonConfig>(u"full");
  ASSERT_NE(full, nullptr);
  EXPECT_EQ(full->callType, WAIT);
  EXPECT_EQ(full->motionName, u"m");
  EXPECT_EQ(full->imageLayerNames, (CNameList{u"i1", u"i2"}));
  EXPECT_EQ(full->textLayerNames, (CNameList{u"full-<SET_TEXT>", u"t1", u"t2"}));
  EXPECT_EQ(full->bgmSoundName, u"bgm.WAV");
  EXPECT_EQ(full->bgmSoundLoop, 3);
  EXPECT_EQ(full->cursorName, u"c.cur");
  EXPECT_EQ(full->positionX.Source(), u"X+10");
  EXPECT_EQ(full->popupPositionX.Source(), u"5");
  EXPECT_EQ(full->popupPositionY.Source(), u"0");
  EXPECT_EQ(full->nextBalloonList, (CNameList{u"a*2", u"b"}));

  EXPECT_EQ(Config<CBalloonConfig>(u"lower")->callType, NORMAL);
  EXPECT_EQ(Config<CBalloonConfig>(u"lower")->bgmSoundName, u"");
  EXPECT_EQ(Config<CBalloonConfig>(u"force")->callType, FORCE);
}

TEST_F(BalloonRegisterTest, TextLayersOwnAndListed) {
  Build({
      {u"BALLOON_ORDER_REG",
       {u"FuncName=talk", u"TextAreaWidth=200", u"TextAreaPosX=8", u"Width=999", u"FuncNameTextStyle=big"},
       {u"\"Hello\"", u"SetFontColor(red)", u"SetSpeed(30),SetTextStyle(big)", u"SetFontColor(\"blue\")"}},
      {u"TEXT_LAYER_REG", {u"FuncName=layer", u"Width=100", u"Height=50", u"PosX=1", u"PosY=2", u"TextAreaWidth=7"}},
  });
  EXPECT_EQ(Message(), "");

  const CTextLayerConfig* own = Config<CTextLayerConfig>(u"talk-<SET_TEXT>");
  ASSERT_NE(own, nullptr);
  EXPECT_EQ(own->textStyleName, u"big");
  EXPECT_EQ(own->areaWidth.Source(), u"200");
  EXPECT_EQ(own->areaX.Source(), u"8");
  EXPECT_TRUE(own->areaHeight.Empty());
  EXPECT_EQ(Sources(own->text), (std::vector<std::u16string>{u"\"Hello\"", u"SetFontColor(\"red\")",
                                                              u"SetSpeed(30),SetTextStyle(\"big\")",
                                                              u"SetFontColor(\"blue\")"}));
  EXPECT_FALSE(own->text[1].Empty());

  const CTextLayerConfig* layer = Config<CTextLayerConfig>(u"layer");
  ASSERT_NE(layer, nullptr);
  EXPECT_EQ(layer->textStyleName, u"|DEFAULT_TEXT_STYLE_FUNC|");
  EXPECT_EQ(layer->areaWidth.Source(), u"100");
  EXPECT_EQ(layer->areaHeight.Source(), u"50");
  EXPECT_EQ(layer->areaX.Source(), u"1");
  EXPECT_EQ(layer->areaY.Source(), u"2");
  EXPECT_TRUE(layer->text.empty());

  // Balloons come before text layers in the build order, text styles last.
  EXPECT_LT(Config<CBalloonConfig>(u"talk")->id, own->id);
  EXPECT_LT(own->id, layer->id);
}

TEST_F(BalloonRegisterTest, ParameterRowsAreNeverReadAsText) {
  Build({
      {u"TEXT_LAYER_REG", {u"FuncName=rowsOnly"}, {}, {u"1,2,3"}},
      {u"TEXT_LAYER_REG", {u"FuncName=both"}, {u"\"Hi\""}, {u"1,2,3"}},
  });
  EXPECT_EQ(Message(), "");
  ASSERT_NE(Config<CTextLayerConfig>(u"rowsOnly"), nullptr);
  EXPECT_TRUE(Config<CTextLayerConfig>(u"rowsOnly")->text.empty());
  EXPECT_EQ(Sources(Config<CTextLayerConfig>(u"both")->text), std::vector<std::u16string>{u"\"Hi\""});
}

TEST_F(BalloonRegisterTest, NamesThatClash) {
  Build({
      {u"BALLOON_ORDER_REG", {u"FuncName=b"}},
      {u"TEXT_LAYER_REG", {u"FuncName=b-<SET_TEXT>"}},
      {u"BALLOON_ORDER_REG", {u"FuncName=|BALLOON_ORDER_OBJECT_HIDE|"}},
      {u"TEXT_STYLE_REG", {u"FuncName=start"}},
  });
  const std::vector<SRegisterError>& errors = definition_.Latch().Errors();
  ASSERT_EQ(errors.size(), 3u);
  EXPECT_EQ(ToUtf8(errors[0].message), "Charaの|BALLOON_ORDER_OBJECT_HIDE|は名前が重複しています。");
  EXPECT_EQ(ToUtf8(errors[1].message), "Charaのb-<SET_TEXT>は名前が重複しています。");
  // The last error is the one the program shows.
  EXPECT_EQ(Message(), "Charaのstartは名前が重複しています。");
  EXPECT_NE(Config<CTextLayerConfig>(u"b-<SET_TEXT>"), nullptr);
}

TEST_F(BalloonRegisterTest, OwnTextLayerThatFails) {
  Build({{u"BALLOON_ORDER_REG", {u"FuncName=b", u"FuncNameTextLayer=other"}, {u"\"ok\"", u"\"open"}}});
  EXPECT_EQ(Message(), "Charaのb-<SET_TEXT>に\"で閉じられていない文字列があります。");
  const CBalloonConfig* balloon = Config<CBalloonConfig>(u"b");
  ASSERT_NE(balloon, nullptr);
  EXPECT_EQ(balloon->textLayerNames, CNameList{u"other"});
  EXPECT_EQ(Config<CTextLayerConfig>(u"b-<SET_TEXT>"), nullptr);
}

TEST_F(BalloonRegisterTest, BalloonExpressionErrors) {
  Build({
      {u"BALLOON_ORDER_REG", {u"FuncName=loop", u"SoundLoop=1/0"}},
      {u"TEXT_LAYER_REG", {u"FuncName=area", u"Width=\"10"}},
  });
  ASSERT_EQ(definition_.Latch().Errors().size(), 2u);
  EXPECT_EQ(ToUtf8(definition_.Latch().Errors()[0].message), "Charaのloopで0除算がされています。");
  EXPECT_EQ(Message(), "Charaのareaに\"で閉じられていない文字列があります。");
  EXPECT_EQ(Config<CBalloonConfig>(u"loop"), nullptr);
}

TEST_F(BalloonRegisterTest, ReservedEntries) {
  Build({});
  const CBalloonConfig* hidden = Config<CBalloonConfig>(u"|BALLOON_ORDER_OBJECT_HIDE|");
  ASSERT_NE(hidden, nullptr);
  EXPECT_EQ(hidden->id, 3);
  EXPECT_EQ(hidden->motionName, u"|BALLOON_MOTION_OBJECT_HIDE|");
  EXPECT_EQ(hidden->width, 1);
  EXPECT_EQ(hidden->positionX.Source(), u"0");
  EXPECT_EQ(hidden->popupPositionY.Source(), u"0");
  EXPECT_EQ(definition_.FindEntry(BALLOON_ORDER_REG, 3), definition_.FindEntry(u"|BALLOON_ORDER_OBJECT_HIDE|"));

  const CTextStyleConfig* style = Config<CTextStyleConfig>(u"|DEFAULT_TEXT_STYLE_FUNC|");
  ASSERT_NE(style, nullptr);
  EXPECT_EQ(style->id, 5);
  ASSERT_NE(style->font, nullptr);
  EXPECT_EQ(style->font->Description().height, -19);  // 14 points at 96 pixels per inch
}

TEST_F(BalloonRegisterTest, TextStyleKeys) {
  const std::u16string longName(40, u'F');
  Build({
      {u"TEXT_STYLE_REG", {u"FuncName=plain"}},
      {u"TEXT_STYLE_REG",
       {u"FuncName=full", u"FontName=Noto Sans", u"FontSize=9", u"FontQuality=LOW", u"Speed=\t35 ",
        u"FontColor=RED"}},
      {u"TEXT_STYLE_REG", {u"FuncName=long", u"FontName=" + longName, u"FontQuality=low", u"FontColor=#FF0000"}},
      {u"TEXT_STYLE_REG", {u"FuncName=badSpeed", u"Speed=-1"}},
      {u"TEXT_STYLE_REG", {u"FuncName=badSize", u"FontSize=big"}},
  });
  const CTextStyleConfig* plain = Config<CTextStyleConfig>(u"plain");
  ASSERT_NE(plain, nullptr);
  EXPECT_EQ(plain->colour, 0xFF000000u);
  EXPECT_EQ(plain->fontSize, 14);
  EXPECT_EQ(plain->glyphFormat, GLYPH_FORMAT_GRAY8);
  EXPECT_EQ(plain->speed, 20);
  EXPECT_EQ(plain->styleReserved, 1);
  ASSERT_NE(plain->font, nullptr);
  EXPECT_EQ(plain->font->Description().face, u"");
  EXPECT_EQ(plain->font->Description().weight, 400);

  const CTextStyleConfig* full = Config<CTextStyleConfig>(u"full");
  ASSERT_NE(full, nullptr);
  EXPECT_EQ(full->fontName, u"Noto Sans");
  EXPECT_EQ(full->fontSize, 9);
  EXPECT_EQ(full->font->Description().height, -12);
  EXPECT_EQ(full->font->Description().face, u"Noto Sans");
  EXPECT_EQ(full->glyphFormat, GLYPH_FORMAT_MONO);
  EXPECT_EQ(full->font->Description().glyphFormat, GLYPH_FORMAT_MONO);
  EXPECT_EQ(full->speed, 35);
  EXPECT_EQ(full->colour, 0xFFFF0000u);

  // A face longer than a font system takes is cut, never written past its end.
  const CTextStyleConfig* longFace = Config<CTextStyleConfig>(u"long");
  ASSERT_NE(longFace, nullptr);
  EXPECT_EQ(longFace->fontName, longName);
  EXPECT_EQ(longFace->font->Description().face, longName.substr(0, 31));
  EXPECT_EQ(longFace->glyphFormat, GLYPH_FORMAT_GRAY8);
  EXPECT_EQ(longFace->colour, 0xFF000000u);

  EXPECT_EQ(Config<CTextStyleConfig>(u"badSpeed"), nullptr);
  ASSERT_EQ(definition_.Latch().Errors().size(), 2u);
  EXPECT_EQ(ToUtf8(definition_.Latch().Errors()[0].message), "CharaのbadSpeedに不正な数値が設定されています。");
  EXPECT_EQ(Message(), "CharaのbadSizeに不正な数値が設定されています。");
}

TEST(FontDescription, FaceAndHeight) {
  SFontDescription description;
  // A surrogate pair that would be split at the limit is dropped whole.
  const std::u16string pairAtEnd = std::u16string(30, u'a') + u"\U0001F600";
  description.SetFace(pairAtEnd);
  EXPECT_EQ(description.face, std::u16string(30, u'a'));
  description.SetFace(std::u16string(31, u'b'));
  EXPECT_EQ(description.face.size(), 31u);

  EXPECT_EQ(FontHeightForPoints(3, 96), -4);
  EXPECT_EQ(FontHeightForPoints(-9, 96), 12);
  EXPECT_EQ(FontHeightForPoints(0x7FFFFFFF, 96), -0x7FFFFFFF);
}

TEST(ColourParse, NamesAndHexadecimal) {
  const std::pair<const char16_t*, uint32_t> cases[] = {
      {u"red", 0xFFFF0000u},      {u"RED", 0xFFFF0000u},      {u"Aqua", 0xFF00FFFFu},
      {u"gray", 0xFF808080u},     {u"FF8000", 0xFFFF8000u},   {u"ff8000", 0xFFFF8000u},
      {u"0x123456", 0xFF123456u}, {u"  12", 0xFF000012u},     {u"7FAABBCC", 0xFFAABBCCu},
      {u"80AABBCC", 0xFFFFFFFFu}, {u"FFFFFFFFFF", 0xFFFFFFFFu}, {u"#FF0000", 0xFF000000u},
      {u"12zz", 0xFF000012u},     {u"zz", 0xFF000000u},       {u"-1", 0xFFFFFFFFu},
      {u"-80000000", 0xFF000000u}, {u"-FFFFFFFFF", 0xFF000000u}, {u"0x", 0xFF000000u},
      {u"+0xA", 0xFF00000Au},     {u"grey", 0xFF000000u},
  };
  for (const auto& [text, colour] : cases) EXPECT_EQ(ParseColour(text), colour) << ToUtf8(text);
  ASSERT_EQ(ColourNames().Count(), 16);
  EXPECT_EQ(ColourNames().KeyAt(0), u"black");
  EXPECT_EQ(ColourNames().KeyAt(15), u"aqua");
}

}  // namespace
