#include "script/script_evaluator.h"

#include <gtest/gtest.h>

#include <memory>

#include "script/shared_random.h"
#include "script_test_helpers.h"

namespace {

struct SCase {
  const char* expression;
  const char* expected;
};

class EvaluatorTest : public ::testing::Test {
 protected:
  void ExpectAll(std::initializer_list<SCase> cases) {
    for (const SCase& c : cases) EXPECT_EQ(Eval(*evaluator_, c.expression), c.expected) << c.expression;
  }
  std::unique_ptr<CScriptEvaluator> evaluator_ = std::make_unique<CScriptEvaluator>();
};

TEST_F(EvaluatorTest, PrecedenceAndAssociativity) {
  ExpectAll({
      {"1 + 2 * 3", "int 7"},
      {"(1 + 2) * 3", "int 9"},
      {"2 - 3 - 4", "int -5"},
      {"1 < 2 == TRUE", "bool TRUE"},
      {"7 % 4 * 2", "int 6"},
      {"1 | 6 & 3 ^ 1", "int 3"},  // & before ^ before |
      {"-2 * -3", "int 6"},
      {"!0 && 1 || 0", "bool TRUE"},
      {"~0", "int -1"},
      {"2 * (3 + (4 - 1))", "int 12"},
      {"1 + 2 == 3", "bool TRUE"},
  });
}

TEST_F(EvaluatorTest, ConditionalsAssociateToTheRight) {
  ExpectAll({
      {"TRUE ? 1 : 2", "int 1"},
      {"FALSE ? 1 : 2", "int 2"},
      {"FALSE ? 1 : TRUE ? 2 : 3", "int 2"},
      {"1 > 2 ? \"yes\" : \"no\"", "string no"},
  });
}

TEST_F(EvaluatorTest, MixedOperands) {
  ExpectAll({
      {"1 + \"a\"", "string 1a"},
      {"TRUE + \"a\"", "string 1a"},
      {"\"a\" + 1", "string a1"},
      {"\"a\" + TRUE", "string aTRUE"},
      {"TRUE == 5", "bool TRUE"},
      {"1 == TRUE", "bool TRUE"},
      {"5 == TRUE", "bool FALSE"},
      {"\"ab\" == \"ab\"", "bool TRUE"},
      {"\"ab\" != \"ab\"", "bool FALSE"},
      {"12 == \"12\"", "bool TRUE"},
      {"\"a\" < \"b\"", "error で不正な値が設定されています。"},
      {"!\"\"", "bool TRUE"},
      {"!\"0\"", "bool FALSE"},
      {"\"3\" * 2", "error で不正な値が設定されています。"},
      {"\"x\" && 1", "bool TRUE"},
  });
}

TEST_F(EvaluatorTest, EmptyValuesAndEndings) {
  ExpectAll({
      {"", "empty"},
      {"= 1 + 2", "none"},
      {"=", "none"},
      {"1 + 2) * 10", "int 3"},
      {"1; 2", "int 1"},
      {"1, 2, 3", "int 3"},
      {"Width + 1", "empty"},  // a keyword nobody substituted ends the expression
      {"* 3", "error で不正な演算が行われました。"},
      {"(1 + 2", "error で括弧が閉じられていません。"},
      {"((1)", "error で括弧が閉じられていません。"},
      {"7 / 0", "error で0除算がされています。"},
      {"7 % 0", "error で0除算がされています。"},
      {"1 = 2", "error で不正な値が設定されています。"},
      {"1 += 2", "error で不正な値が設定されています。"},
      {"\"a\" = \"b\"", "error で不正な値が設定されています。"},
      {"1 . 2", "error で不正な値が設定されています。"},
      {"(-2147483647 - 1) / -1", "int -2147483648"},
      {"(-2147483647 - 1) % -1", "int 0"},
  });
}

TEST_F(EvaluatorTest, BuiltinCalls) {
  ExpectAll({
      {"Rand()", "int 0"},
      {"Rand(0)", "int 0"},
      {"Year(5)", "error で呼び出された命令Yearが')'で閉じられていません。"},
      {"Rand(1, 2)", "error で呼び出された命令Randが')'で閉じられていません。"},
      {"Rand((1, 2))", "error で括弧が閉じられていません。"},
      {"Rand(Rand(Rand(0)))", "int 0"},
      {"Rand(", "error で呼び出された命令Randが')'で閉じられていません。"},
      {"Open()", "empty"},
      {"Wait(5)", "error で呼び出された命令Waitが')'で閉じられていません。"},
      {"\"text\" + Clear()", "string text"},
  });
}

TEST_F(EvaluatorTest, IdentifiersFromSubstitutionAreCheckedWhenCalled) {
  CKeywordMap map;
  map.Add(KW_WIDTH, new CToken{IDENTIFIER, 0, u"Nothing"});
  map.Add(KW_HEIGHT, new CToken{IDENTIFIER, 0, u"Rand"});
  EXPECT_EQ(Eval(*evaluator_, "Width(1)", &map), "error で存在しない命令Nothingが呼び出されています。");
  EXPECT_EQ(Eval(*evaluator_, "Height 1", &map), "int 1");  // a name without "(" is skipped
}

TEST_F(EvaluatorTest, KeywordSubstitution) {
  CKeywordMap map;
  MapInt(map, KW_WIDTH, 120);
  MapInt(map, KW_LINE_LEFT, 30);
  map.Add(KW_MY_HEIGHT, new CToken{STRING, 0, u"tall"});
  EXPECT_EQ(Eval(*evaluator_, "Width * 2 - LINE_LEFT", &map), "int 210");
  EXPECT_EQ(Eval(*evaluator_, "my.Height + \"!\"", &map), "string tall!");
  EXPECT_EQ(Eval(*evaluator_, "Rand(6) * Width - LINE_LEFT >= -30", &map), "bool TRUE");
}

TEST_F(EvaluatorTest, CapacityBoundsOneEvaluation) {
  std::string sequence = "1";
  for (int i = 2; i <= 300; ++i) sequence += ", " + std::to_string(i);
  EXPECT_EQ(Eval(*evaluator_, sequence), "int 300");
  EXPECT_EQ(Eval(*evaluator_, sequence + ", 301"), "error に許容量を超えた式があります。");
  // Operators that produce integers draw from the same pool.
  std::string sums = "0";
  for (int i = 0; i < 150; ++i) sums += " + 1";
  EXPECT_EQ(Eval(*evaluator_, sums), "error に許容量を超えた式があります。");
  // Deep nesting fails cleanly instead of exhausting the stacks.
  EXPECT_EQ(Eval(*evaluator_, std::string(5000, '(') + "1"), "error に許容量を超えた式があります。");
  EXPECT_EQ(Eval(*evaluator_, std::string(5000, '~') + "1"), "error に許容量を超えた式があります。");
  std::string calls;
  for (int i = 0; i < 100; ++i) calls += "Rand(";
  EXPECT_EQ(Eval(*evaluator_, calls + "1"), "error に許容量を超えた式があります。");
  std::string clears;
  for (int i = 0; i < 2000; ++i) clears += "Clear()";
  EXPECT_EQ(Eval(*evaluator_, clears), "error に許容量を超えた式があります。");
  // A failed evaluation leaves nothing behind for the next.
  EXPECT_EQ(Eval(*evaluator_, "1 + 2 * 3"), "int 7");
}

TEST_F(EvaluatorTest, ResultsStayValidUntilTheNextEvaluation) {
  CTokenizer tokenizer;
  tokenizer.Tokenize(u"\"a\" + \"b\"");
  const CValue* result = evaluator_->Evaluate(tokenizer.Tokens());
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(result->GetStr(), u"ab");
  EXPECT_EQ(Eval(*evaluator_, "\"long text that needs more room than a slot reserves\""),
            "string long text that needs more room than a slot reserves");
}

TEST_F(EvaluatorTest, TooFewOperandsIsAnInvalidValue) {
  // "?" needs three values; with only the empty value and one more it fails.
  EXPECT_EQ(Eval(*evaluator_, "? 1"), "error に不正な値が設定されています。");
}

}  // namespace
