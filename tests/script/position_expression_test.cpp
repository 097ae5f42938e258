#include "script/position_expression.h"

#include <gtest/gtest.h>

#include <memory>

#include "script/script_messages.h"
#include "script_test_helpers.h"

namespace {

class PositionExpressionTest : public ::testing::Test {
 protected:
  PositionExpressionTest() {
    MapInt(map_, KW_LINE_LEFT, 100);
    MapInt(map_, KW_X, 40);
    MapInt(map_, KW_WIDTH, 8);
  }

  double At(const char16_t* text, double scale) {
    tokenizer_.Tokenize(text);
    return position_.Evaluate(tokenizer_.Tokens(), map_, scale);
  }

  std::u16string ErrorOf(const char16_t* text) {
    try {
      At(text, 1.0);
    } catch (const EScriptError& error) {
      return error.Message();
    }
    return u"no error";
  }

  CKeywordMap map_;
  CTokenizer tokenizer_;
  std::unique_ptr<CScriptEvaluator> evaluator_ = std::make_unique<CScriptEvaluator>();
  CPositionExpression position_{*evaluator_};
};

TEST_F(PositionExpressionTest, OffsetsAreScaledAndTheKeywordIsNot) {
  struct SCase {
    const char16_t* text;
    double scale;
    double expected;
  } const cases[] = {
      {u"10 + LINE_LEFT - 5", 2.0, 110.0},
      {u"LINE_LEFT", 2.0, 100.0},
      {u"LINE_LEFT + 3 * 2", 0.5, 103.0},
      {u"X - 2 - 3", 1.0, 35.0},  // the tail is -2 - 3
      {u"10 - X", 1.5, -25.0},
      {u"Width * 2", 2.0, 32.0},  // no position keyword: all lead, substituted
      {u"7", 0.25, 1.75},
      {u"(1 + 2) * 3 + X", 1.0, 49.0},
  };
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(At(c.text, c.scale), c.expected) << ToUtf8(c.text);
}

TEST_F(PositionExpressionTest, UnmappedKeywordsAndDiscardedPartsContributeZero) {
  EXPECT_DOUBLE_EQ(At(u"5 + LINE_TOP", 2.0), 10.0);
  EXPECT_DOUBLE_EQ(At(u"5 - LINE_TOP", 2.0), 10.0);
  EXPECT_DOUBLE_EQ(At(u"LINE_TOP - 3", 1.0), -3.0);
  EXPECT_DOUBLE_EQ(At(u"= 5 + X + 1", 1.0), 41.0);
  EXPECT_DOUBLE_EQ(At(u"= 5", 1.0), 0.0);
}

TEST_F(PositionExpressionTest, Errors) {
  EXPECT_EQ(ErrorOf(u""), kMsgNoValue);
  EXPECT_EQ(ErrorOf(u"X + LINE_LEFT"), kMsgInvalidValue);
  EXPECT_EQ(ErrorOf(u"2 * X"), kMsgInvalidOperator);
  EXPECT_EQ(ErrorOf(u"X * 2"), kMsgInvalidOperator);
  EXPECT_EQ(ErrorOf(u"-X"), kMsgInvalidOperator);  // the sign is unary there
  EXPECT_EQ(ErrorOf(u"X + \"a\" - 1"), kMsgInvalidSetting);
}

TEST_F(PositionExpressionTest, RepeatedEvaluationGivesTheSameValue) {
  tokenizer_.Tokenize(u"10 + LINE_LEFT - 5");
  for (int i = 0; i < 3; ++i) EXPECT_DOUBLE_EQ(position_.Evaluate(tokenizer_.Tokens(), map_, 2.0), 110.0);
  tokenizer_.Tokenize(u"1 + X");
  EXPECT_DOUBLE_EQ(position_.Evaluate(tokenizer_.Tokens(), map_, 2.0), 42.0);
}

}  // namespace
