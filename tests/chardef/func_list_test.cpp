// Splitting register lists and reading weighted items.
#include <gtest/gtest.h>

#include "chardef/func_list.h"

namespace {

TEST(FuncListTest, SplitKeepsEveryPiece) {
  EXPECT_EQ(SplitAtCommas(u""), CNameList{u""});
  EXPECT_EQ(SplitAtCommas(u"a"), CNameList{u"a"});
  EXPECT_EQ(SplitAtCommas(u",a,,b,"), (CNameList{u"", u"a", u"", u"b", u""}));
  EXPECT_FALSE(OptionalNameList(u"").has_value());
  EXPECT_EQ(OptionalNameList(u","), (CNameList{u"", u""}));
}

TEST(FuncListTest, WeightedItems) {
  struct Case {
    std::u16string item;
    std::u16string name;
    int weight;
  };
  const Case cases[] = {
      {u"walk", u"walk", 1},       {u"walk*5", u"walk", 5},      {u"walk*0", u"walk", 0},
      {u"walk*x", u"walk", 1},     {u"walk*", u"walk", 1},       {u"walk*-2", u"walk", 1},
      {u"walk* 7\t", u"walk", 7},  {u"a*2*3", u"a", 1},          {u"*4", u"", 4},
      {u"w*4294967295", u"w", 1},  {u"w*2147483647", u"w", 2147483647},
  };
  for (const Case& c : cases) {
    const SWeightedItem item = ParseWeightedItem(c.item);
    EXPECT_EQ(item.name, c.name);
    EXPECT_EQ(item.weight, c.weight) << std::string(c.item.begin(), c.item.end());
  }
}

}  // namespace
