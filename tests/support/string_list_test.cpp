#include "support/string_list.h"

#include <gtest/gtest.h>

#include <vector>

#include "script/mrand.h"
#include "support/scrambled_text.h"
#include "temp_folder.h"

namespace {

using Items = std::vector<std::u16string>;

TEST(StringList, SplitAndJoin) {
  const struct {
    std::u16string text;
    Items items;
  } cases[] = {{u"a,b,c", {u"a", u"b"}}, {u"a,b,c,", {u"a", u"b", u"c"}}, {u",,x,", {u"", u"", u"x"}}, {u"x", {}}};
  CStringList list;
  for (const auto& c : cases) {
    list.Push(u"stale");
    list.Split(c.text);
    EXPECT_EQ(list.Lines(), c.items);
  }
  EXPECT_EQ(list.Join(), u"");
  for (const char16_t* item : {u"a", u"", u"c"}) list.Push(item);
  EXPECT_EQ(list.Join(), u"a,c,");
  EXPECT_EQ(list.IndexOf(u"c"), 2);
  EXPECT_EQ(list.IndexOf(u"A"), -1);
}

TEST(StringList, KeyValueLines) {
  CStringList list;
  for (const char16_t* line : {u"Scale=150", u"no separator", u"Path=a=b", u"Scale=99"}) list.Push(line);
  EXPECT_EQ(list.KeyAt(2), u"Path");
  EXPECT_EQ(list.ValueAt(2), u"a=b");
  EXPECT_EQ(list.KeyAt(1), u"");
  EXPECT_EQ(list.ValueAt(1), u"");
  EXPECT_EQ(list.KeyAt(4), u"");
  EXPECT_EQ(list.ValueAt(-1), u"");
  EXPECT_EQ(list.FindKey(u"Scale"), 0);  // the first occurrence wins
  EXPECT_EQ(list.FindKey(u"scale"), -1);
  EXPECT_EQ(list.FindKey(u"no separator"), -1);
  EXPECT_EQ(list.ValueOf(u"Missing"), u"");

  list.Set(u"Path", u"c");
  list.SetNumber(u"Alpha", -40);
  EXPECT_EQ(list.Lines(), (Items{u"Scale=150", u"no separator", u"Path=c", u"Scale=99", u"Alpha=-40"}));
  EXPECT_EQ(list.BeforeSeparator(1, u"::"), u"no separator");
  EXPECT_EQ(list.AfterSeparator(1, u"::"), u"");
  EXPECT_EQ(list.AfterSeparator(0, u"=1"), u"50");
  EXPECT_EQ(list.BeforeSeparator(9, u"="), u"");
}

TEST(StringList, TextFiles) {
  CTempFolder folder;
  folder.WriteBytes("in.txt", "\xEF\xBB\xBFKey=\xE5\x80\xA4\r\n\ncr\rin\xFF\nlast\xC3");
  CStringList list;
  ASSERT_TRUE(list.ReadTextLines(folder.Engine(u"in.txt")));
  EXPECT_EQ(list.Lines(), (Items{u"Key=\u5024\n", u"\n", u"cr\rin\uFFFD\n", u"last\uFFFD"}));
  EXPECT_FALSE(list.ReadTextLines(folder.Engine(u"missing.txt")));
  EXPECT_EQ(list.Count(), 4);  // a failed read leaves the list alone

  ASSERT_TRUE(list.WriteTextLines(folder.Engine(u"out.cfg")));
  EXPECT_EQ(folder.ReadBytes("out.cfg"), "\xEF\xBB\xBFKey=\xE5\x80\xA4\n\n\n\ncr\rin\xEF\xBF\xBD\n\nlast\xEF\xBF\xBD\n");

  folder.WriteBytes("a.func", "Name = \"Walk Left\"\r\n   \r\n## comment\n  Frames=3 # note\r\n");
  ASSERT_TRUE(list.ReadNormalizedLines(folder.Engine(u"a.func")));
  EXPECT_EQ(list.Lines(), (Items{u"Name=\"Walk Left\"", u"Frames=3note"}));
}

TEST(StringList, ScrambledListRoundTripsAndEachFileStartsTheStream) {
  CTempFolder folder;
  CStringList list;
  for (const char16_t* item : {u"120", u"", u"\u30ad\u30e9"}) list.Push(item);
  ASSERT_TRUE(list.WriteScrambledList(folder.Engine(u"a.param")));
  ASSERT_TRUE(list.WriteScrambledList(folder.Engine(u"b.param")));
  const std::string bytes = folder.ReadBytes("a.param");
  EXPECT_EQ(bytes, folder.ReadBytes("b.param"));

  // Each unit, little-endian, XORed with floor(r / 2^32 * 255) of a fresh stream.
  const std::u16string plain(u"120,\u30ad\u30e9,\0", 8);
  ASSERT_EQ(bytes.size(), plain.size() * 2);
  CMRand rand;
  rand.Seed(51738264);
  for (size_t i = 0; i < plain.size(); ++i) {
    const auto key = static_cast<unsigned>(static_cast<double>(rand.Next()) / 4294967296.0 * 255.0);
    const unsigned stored = static_cast<unsigned char>(bytes[2 * i]) | static_cast<unsigned char>(bytes[2 * i + 1]) << 8;
    EXPECT_EQ(stored, plain[i] ^ key) << "unit " << i;
  }

  CStringList read;
  ASSERT_TRUE(read.ReadScrambledList(folder.Engine(u"b.param")));
  EXPECT_EQ(read.Lines(), (Items{u"120", u"\u30ad\u30e9"}));
  EXPECT_FALSE(read.ReadScrambledList(folder.Engine(u"none.param")));
}

TEST(StringList, DamagedScrambledBytesAreRejected) {
  const std::string whole = EncodeScrambledText(u"a,b,");
  const struct {
    std::string bytes;
    bool accepted;
    Items items;
  } cases[] = {
      {whole, true, {u"a", u"b"}},
      {whole + "\x12\x34", true, {u"a", u"b"}},        // units after the zero are ignored
      {whole.substr(0, whole.size() - 1), false, {}},  // odd byte count
      {whole.substr(0, whole.size() - 2), false, {}},  // terminating zero missing
      {"", false, {}},
  };
  for (const auto& c : cases) {
    CStringList list;
    list.Push(u"stale");
    EXPECT_EQ(list.ParseScrambledList(c.bytes), c.accepted) << c.bytes.size();
    EXPECT_EQ(list.Lines(), c.items) << c.bytes.size();
  }
}

}  // namespace
