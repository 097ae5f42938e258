#include "support/text.h"

#include <gtest/gtest.h>

#include "support/utf.h"

namespace {

TEST(Text, TrimCaseAndLineEnds) {
  EXPECT_EQ(TrimLeft(u" \t a b \t"), u"a b \t");
  EXPECT_EQ(TrimRight(u" \t a b \t"), u" \t a b");
  EXPECT_EQ(Trim(u"\u3000x\n"), u"\u3000x\n");  // only spaces and tabs count
  EXPECT_EQ(CutLineEnd(u"a\rb\r\n\n"), u"a\rb");
  EXPECT_EQ(ToUpper(u"abc-XYZ.png"), u"ABC-XYZ.PNG");
  EXPECT_EQ(ToLower(u"ABC-xyz.PNG"), u"abc-xyz.png");
}

TEST(Text, NormalizeScriptLineAndUnquote) {
  const struct {
    std::u16string input;
    std::u16string normalized;
  } lines[] = {
      {u"A = \"x y\"", u"A=\"x y\""},
      {u"a ## comment \"quoted\"", u"a"},
      {u"hello\\sworld", u"hello world"},
      {u"\t Key\t=\tValue  ", u"Key=Value"},
      {u"a#b", u"ab"},                      // a single # is dropped
      {u"\"a ## b\" ## c", u"\"a ## b\""},  // comments only outside quotes
      {u"\"a # \\s\"", u"\"a # \\s\""},     // no escapes inside quotes
      {u"\\\"x y\\\"", u"\"xy\""},          // escaped quotes do not open a string
      {u"\\#\\#", u"##"},                   // escaped signs are no comment
      {u"a\\\\b\\nc\\td", u"a\\b\nc\td"},
      {u"a\\ b\\x", u"abx"},                // unknown escape: backslash dropped,
      {u"a\\##", u"a#"},                    // the next character handled as usual
      {u"a\\", u"a"},
  };
  for (const auto& l : lines) EXPECT_EQ(NormalizeScriptLine(l.input), l.normalized) << ToUtf8(l.input);

  const struct {
    std::u16string input;
    std::u16string unquoted;
  } texts[] = {
      {u"a\"b c\"d\"", u"ab cd"},
      {u"\\\"q\\\"\\#\\\\\\n\\s\\t", u"\"q\"#\\\n \t"},
      {u"\\q\\ end\\", u"q end"},  // other escapes keep their character
  };
  for (const auto& t : texts) EXPECT_EQ(Unquote(t.input), t.unquoted) << ToUtf8(t.input);
}

}  // namespace
