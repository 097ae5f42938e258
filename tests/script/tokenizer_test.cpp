#include "script/tokenizer.h"

#include <gtest/gtest.h>

#include "script/script_error.h"
#include "script/script_messages.h"
#include "support/utf.h"

namespace {

// The token texts joined by single spaces; kinds are checked where the text is shared.
std::string Texts(const CTokenList& tokens) {
  std::string out;
  for (const CToken& token : tokens) {
    if (!out.empty()) out += ' ';
    out += ToUtf8(token.text);
  }
  return out;
}

std::string Tokenized(const std::u16string& text) {
  CTokenizer tokenizer;
  try {
    tokenizer.Tokenize(text);
  } catch (const EScriptError& error) {
    return "error " + ToUtf8(error.Message());
  }
  return Texts(tokenizer.Tokens());
}

TEST(Tokenizer, TableOfTexts) {
  struct SCase {
    const char16_t* text;
    const char* tokens;
  } const cases[] = {
      {u"", ""},
      {u"Width", "Width"},
      {u"my.Width+target.X", "my.Width + target.X"},
      {u"1 + 2 * 3", "1 + 2 * 3"},
      {u"+5", "UNARY_PLUS 5"},
      {u"--5", "UNARY_PLUS 5"},
      {u"-+5", "UNARY_MINUS 5"},
      {u"1+-2", "1 - 2"},
      {u"3 - -2", "3 + 2"},
      {u"-(-4)", "UNARY_MINUS ( UNARY_MINUS 4 )"},
      {u"2*-3", "2 * UNARY_MINUS 3"},
      {u"Width - - - 1", "Width - 1"},
      {u"(1)-2", "( 1 ) - 2"},
      {u"1.5", "1 . 5"},
      {u"a==b", "error で存在しない命令aが呼び出されています。"},
      {u"1==2!=3>=4>5<=6<7", "1 == 2 != 3 >= 4 > 5 <= 6 < 7"},
      {u"1&=2&&3&4|5||6^7~8", "1 &= 2 && 3 & 4 | 5 || 6 ^ 7 ~ 8"},
      {u"Rand(6)", "Rand ( 6 )"},
      {u"TRUE?1:2;", "TRUE ? 1 : 2 ;"},
      {u"\"a\\nb\"", "a\nb"},
      {u"\"a\\qb\\\\\"", "aqb\\"},
      {u"\t 7 \t", "7"},
  };
  for (const SCase& c : cases) {
    EXPECT_EQ(Tokenized(c.text), c.tokens) << ToUtf8(c.text);
  }
}

TEST(Tokenizer, KindsOfKeywordsSignsAndValues) {
  CTokenizer tokenizer;
  tokenizer.Tokenize(u"Width -X \"s\" 42 Rand(");
  const CTokenList& tokens = tokenizer.Tokens();
  ASSERT_EQ(tokens.size(), 7u);
  EXPECT_EQ(tokens[0].kind, KW_WIDTH);
  EXPECT_EQ(tokens[1].kind, OP_SUB);  // infix after a keyword
  EXPECT_EQ(tokens[2].kind, KW_X);
  EXPECT_EQ(tokens[3].kind, STRING);
  EXPECT_EQ(tokens[4].kind, INTEGER);
  EXPECT_EQ(tokens[4].value, 42);
  EXPECT_EQ(tokens[5].kind, IDENTIFIER);
  EXPECT_EQ(tokens[6].kind, SEP_OPEN_PAREN);
}

TEST(Tokenizer, IntegersWrapSilently) {
  CTokenizer tokenizer;
  tokenizer.Tokenize(u"4294967296 4294967295 2147483648");
  ASSERT_EQ(tokenizer.Tokens().size(), 3u);
  EXPECT_EQ(tokenizer.Tokens()[0].value, 0);
  EXPECT_EQ(tokenizer.Tokens()[1].value, -1);
  EXPECT_EQ(tokenizer.Tokens()[2].value, INT32_MIN);
  EXPECT_EQ(tokenizer.Tokens()[0].text, u"4294967296");
}

TEST(Tokenizer, KeywordsAreWholeWordsAndCaseSensitive) {
  EXPECT_EQ(Tokenized(u"WidthX"), "error で存在しない命令WidthXが呼び出されています。");
  EXPECT_EQ(Tokenized(u"True"), "error で存在しない命令Trueが呼び出されています。");
  EXPECT_EQ(Tokenized(u"Width_"), "error で存在しない命令Width_が呼び出されています。");
  EXPECT_EQ(Tokenized(u"X.Y"), "X . Y");
}

TEST(Tokenizer, BuiltinNamesMustBeFollowedByParenthesis) {
  EXPECT_EQ(Tokenized(u"Rand (6)"), "error で存在しない命令Randが呼び出されています。");
  EXPECT_EQ(Tokenized(u"NextPage()"), "error で存在しない命令NextPageが呼び出されています。");
  EXPECT_EQ(Tokenized(u"rand(1)"), "error で存在しない命令randが呼び出されています。");
}

TEST(Tokenizer, LexicalErrorsKeepTheTokensSoFar) {
  CTokenizer tokenizer;
  EXPECT_THROW(tokenizer.Tokenize(u"1 + \"abc"), EScriptError);
  EXPECT_EQ(Texts(tokenizer.Tokens()), "1 +");
  EXPECT_EQ(Tokenized(u"1 + \"abc"), "error に\"で閉じられていない文字列があります。");
  for (const char16_t* bad : {u"1\n2", u"[1]", u"{", u"#", u"'a'", u"$", u"1\u30002", u"@"}) {
    EXPECT_EQ(Tokenized(bad), "error に不正な値が設定されています。") << ToUtf8(bad);
  }
}

TEST(Tokenizer, AnExpressionOfTooManyTokensFailsWithTheCapacityError) {
  std::u16string sum;
  for (size_t i = 0; i < CTokenizer::kMaxTokens / 2; ++i) sum += u"1+";
  sum += u"1";  // one token past the limit
  EXPECT_EQ(Tokenized(sum), "error に許容量を超えた式があります。");
  sum.resize(sum.size() - 2);
  CTokenizer tokenizer;
  tokenizer.Tokenize(sum);
  EXPECT_EQ(tokenizer.Tokens().size(), CTokenizer::kMaxTokens - 1);
}

TEST(Tokenizer, NulEndsTheScan) {
  const std::u16string text(u"1\0\"", 3);
  EXPECT_EQ(Tokenized(text), "1");
}

TEST(Tokenizer, TokenizingReplacesThePreviousList) {
  CTokenizer tokenizer;
  tokenizer.Tokenize(u"1 2 3");
  tokenizer.Tokenize(u"4");
  EXPECT_EQ(Texts(tokenizer.Tokens()), "4");
}

}  // namespace
