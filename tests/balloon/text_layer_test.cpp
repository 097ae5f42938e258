// The text-layer engine on its own: typing speed, line feeds and breaks, text that does
// not fit, clearing, waiting, opening and closing, and the style commands — against a
// balloon stand-in and glyphs of a fixed 10 x 16 cell.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "balloon/glyph_cache.h"
#include "balloon/text_layer_status.h"
#include "chardef/func_info_map.h"
#include "chardef/text_layer_config.h"
#include "fake_font.h"
#include "script/script_evaluator.h"
#include "script/value.h"
#include "support/utf.h"

namespace {

class CFakeBalloon final : public ITextLayerOwner {
 public:
  CScriptEvaluator& Evaluator() override { return evaluator; }
  double EvaluateArea(const CFuncExpression& expression) override {
    return evaluator.Evaluate(expression.Tokens())->GetInt();
  }
  int OpenState() const override { return openState; }
  void RequestOpen(double sizeStep, double opacityStep) override { opens.push_back({sizeStep, opacityStep}); }
  void RequestClose(double sizeStep, double opacityStep) override { closes.push_back({sizeStep, opacityStep}); }
  const CCreateFuncInfoMap& Registers() const override { return registers; }
  IText& Text() override { return text; }
  CGlyphCache& Glyphs() override { return glyphs; }
  void ReportScriptError(const std::u16string& message) override { errors.push_back(message); }
  void TextStarted(int, const std::u16string& shown) override { started.push_back(shown); }

  CScriptEvaluator evaluator;
  int openState = BALLOON_OPEN;
  std::vector<std::pair<double, double>> opens;
  std::vector<std::pair<double, double>> closes;
  CCreateFuncInfoMap registers;
  CFakeText text;
  CGlyphCache glyphs;
  std::vector<std::u16string> errors;
  std::vector<std::u16string> started;
};

class TextLayer : public ::testing::Test {
 protected:
  // A layer whose area is `width` x `height` at (x, y), running `lines`.
  CTextLayerStatus& Run(std::vector<std::u16string> lines, int width = 100, int height = 48, int x = 0, int y = 0) {
    config_.areaWidth.Compile(FromUtf8(std::to_string(x + width)));
    config_.areaHeight.Compile(FromUtf8(std::to_string(y + height)));
    config_.areaX.Compile(FromUtf8(std::to_string(x)));
    config_.areaY.Compile(FromUtf8(std::to_string(y)));
    config_.text.clear();
    for (const std::u16string& line : lines) {
      config_.text.emplace_back();
      config_.text.back().Compile(line);
    }
    layer_.Start(config_);
    return layer_;
  }
  void Frames(int count) {
    for (int i = 0; i < count; ++i) layer_.Step();
  }

  CFakeBalloon balloon_;
  CTextLayerConfig config_{u"layer"};
  CTextLayerStatus layer_{balloon_, 0, 256, 256};
};

TEST_F(TextLayer, SpeedIsCharactersPerSecondAtThirtyFrames) {
  Run({u"\"0123456789\""});
  Frames(14);
  EXPECT_LT(layer_.Shown(), 10);
  EXPECT_FALSE(layer_.Finished());
  Frames(1);  // speed 20: the tenth character after half a second
  EXPECT_EQ(layer_.Shown(), 10);
  EXPECT_EQ(layer_.Glyphs().size(), 10u);
  EXPECT_EQ(balloon_.started, std::vector<std::u16string>{u"0123456789"});

  Run({u"SetSpeed(30)", u"\"0123456789\""});
  Frames(3);
  EXPECT_EQ(layer_.Shown(), 3);  // one a frame; the speed line took no frame of its own
  Run({u"SetSpeed(60)", u"\"0123456789\""});
  Frames(3);
  EXPECT_EQ(layer_.Shown(), 6);
  Frames(2);
  EXPECT_EQ(layer_.Shown(), 10);
  Frames(1);
  EXPECT_TRUE(layer_.Finished());
}

TEST_F(TextLayer, LineFeedsKeepTheLineHeightAndLongLinesBreak) {
  Run({u"SetSpeed(600)", u"\"ab\n\ncd\""});
  Frames(1);
  ASSERT_EQ(layer_.Glyphs().size(), 4u);
  EXPECT_EQ(layer_.Glyphs()[1].x, 10);
  // Two line feeds in a row: the empty line is as high as the one before it.
  EXPECT_EQ(layer_.Glyphs()[2].x, 0);
  EXPECT_EQ(layer_.Glyphs()[2].y, 32);

  Run({u"SetSpeed(600)", u"\"abcdefghijkl\""}, 100, 48, 5, 4);
  Frames(1);
  ASSERT_EQ(layer_.Glyphs().size(), 12u);
  EXPECT_EQ(layer_.Glyphs()[0].x, 5);
  EXPECT_EQ(layer_.Glyphs()[0].y, 4);
  EXPECT_EQ(layer_.Glyphs()[9].x, 95);
  EXPECT_EQ(layer_.Glyphs()[10].x, 5);  // the area's right edge is 105
  EXPECT_EQ(layer_.Glyphs()[10].y, 20);
}

TEST_F(TextLayer, TextBelowTheAreaIsDroppedAndClearStartsAgainAtTheTop) {
  Run({u"SetSpeed(900)", u"\"abcdefghijklmnopqrstuvwxyz\"", u"Clear()", u"\"z\""}, 100, 32);
  Frames(1);
  EXPECT_EQ(layer_.Shown(), 26);  // every character counts as shown
  EXPECT_EQ(layer_.Glyphs().size(), 20u);  // two lines of ten fit
  Frames(2);
  ASSERT_EQ(layer_.Glyphs().size(), 1u);
  EXPECT_EQ(layer_.Glyphs()[0].x, 0);
  EXPECT_EQ(layer_.Glyphs()[0].y, 0);
}

TEST_F(TextLayer, AWaitAtTheEndKeepsTheLayerBusyUntilItHasRunDown) {
  Run({u"SetSpeed(30)", u"\"ab\"", u"Wait(5)"});
  Frames(2);  // both characters shown
  Frames(5);  // the wait counts down
  EXPECT_FALSE(layer_.Finished());
  EXPECT_EQ(layer_.WaitFrames(), 0);
  Frames(1);
  EXPECT_TRUE(layer_.Finished());
}

TEST_F(TextLayer, OpenAndCloseWaitForTheBalloonUnlessItIsThereAlready) {
  balloon_.openState = BALLOON_CLOSED;
  Run({u"Open(10)", u"\"a\""});
  Frames(1);
  ASSERT_EQ(balloon_.opens.size(), 1u);
  EXPECT_DOUBLE_EQ(balloon_.opens[0].first, 0.1);
  EXPECT_DOUBLE_EQ(balloon_.opens[0].second, 1.0);
  balloon_.openState = BALLOON_OPENING;
  Frames(3);
  EXPECT_TRUE(balloon_.started.empty());  // the text waits for the balloon
  balloon_.openState = BALLOON_OPEN;
  Frames(1);
  Frames(1);
  EXPECT_EQ(balloon_.started.size(), 1u);

  // Opening an open balloon and closing a closed one pass at once.
  balloon_.opens.clear();
  Run({u"Open()", u"SetSpeed(600)", u"\"a\""});
  Frames(2);
  EXPECT_TRUE(balloon_.opens.empty());
  EXPECT_EQ(layer_.Shown(), 1);
  balloon_.openState = BALLOON_CLOSED;
  Run({u"Close()", u"SetSpeed(600)", u"\"a\""});
  Frames(2);
  EXPECT_TRUE(balloon_.closes.empty());
  EXPECT_EQ(layer_.Shown(), 1);
}

TEST_F(TextLayer, StyleCommandsChangeTheLayersOwnStyle) {
  Run({u"SetFontSize(20)", u"SetFontColor(\"red\")", u"SetFont(\"IPAGothic\")", u"\"a\""});
  Frames(1);
  EXPECT_EQ(layer_.Style().fontSize, 20);
  EXPECT_EQ(layer_.Style().colour, 0xFFFF0000u);
  ASSERT_NE(balloon_.text.last, nullptr);
  EXPECT_EQ(balloon_.text.last->Description().height, -27);
  EXPECT_EQ(balloon_.text.last->Description().face, u"IPAGothic");
  // A new start takes the layer's style from its register again, and its font with it.
  Run({u"\"a\""});
  EXPECT_EQ(layer_.Style().fontSize, 14);
  EXPECT_EQ(balloon_.text.last->Description().height, -19);
  EXPECT_EQ(balloon_.text.last->Description().face, u"");
}

// A layer started again with the style it already has (a chained or repeating balloon)
// keeps its font; one started with another style gets a new one.
TEST_F(TextLayer, AStartWithTheSameStyleKeepsTheFont) {
  Run({u"\"a\""});
  const int made = balloon_.text.made;
  Run({u"\"b\""});
  EXPECT_EQ(balloon_.text.made, made);
  Run({u"SetFontSize(20)", u"\"c\""});
  Frames(1);
  EXPECT_EQ(balloon_.text.made, made + 1);
  EXPECT_EQ(layer_.Style().font.get(), balloon_.text.last);
  EXPECT_EQ(balloon_.text.last->Description().height, -27);  // made anew for the new size
}

TEST_F(TextLayer, LinesThatShowNothingArePassedOver) {
  Run({u"\"\"", u"5", u"SetSpeed(600)", u"\"x\""});
  Frames(4);
  EXPECT_EQ(layer_.Shown(), 1);
  Run({});
  EXPECT_TRUE(layer_.Finished());  // nothing to type
}

}  // namespace
