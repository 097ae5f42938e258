#include "script/name_tables.h"

#include <gtest/gtest.h>

namespace {

TEST(NameTables, TablesHaveTheirFixedSizes) {
  EXPECT_EQ(kScriptTypeNames.size(), 17u);
  EXPECT_EQ(kBuiltinNames.size(), 20u);
  EXPECT_EQ(kTokenNames.size(), 68u);
  EXPECT_EQ(kCpuVendorNames.size(), 3u);
  EXPECT_EQ(kStatusSelectorNames.size(), 19u);
  EXPECT_EQ(kFuncTypeNames.size(), 58u);
  EXPECT_EQ(kFuncListNames.size(), 15u);
  EXPECT_EQ(kListKeyNames.size(), 10u);
  EXPECT_EQ(kFreeFuncNames.size(), 7u);
  EXPECT_EQ(kIntervalTypeNames.size(), 7u);
  EXPECT_EQ(kTextParamTypeNames.size(), 13u);
  EXPECT_EQ(kQuotedCommandNames.size(), 2u);
}

// Code switches on these numbers; each pins an entry whose position is easy to break.
TEST(NameTables, NumberingContinuesAcrossSharedTables) {
  struct SCase {
    NameTable table;
    int value;
    const char16_t* name;
  };
  const SCase cases[] = {
      {kScriptTypeNames, 0, u"<FUNC_"},         {kScriptTypeNames, ORDER_REG, u"ORDER_REG"},
      {kScriptTypeNames, TEXT_STYLE_REG, u"TEXT_STYLE_REG"},
      {kBuiltinNames, BUILTIN_SECOND, u"Second"}, {kBuiltinNames, BUILTIN_SET_SPEED, u"SetSpeed"},
      {kTokenNames, KW_TRUE, u"TRUE"},          {kTokenNames, KW_TARGET_Y, u"target.Y"},
      {kTokenNames, OP_EQUAL, u"=="},           {kTokenNames, OP_ASSIGN, u"="},
      {kTokenNames, OP_LOGICAL_AND, u"&&"},     {kTokenNames, OP_BIT_XOR, u"^"},
      {kTokenNames, OP_QUESTION, u"?"},         {kTokenNames, UNARY_MINUS, u"UNARY_MINUS"},
      {kTokenNames, SEP_CLOSE_PAREN, u")"},     {kTokenNames, TOKEN_NONE, u"TOKEN_NONE"},
      {kStatusSelectorNames, CPU_STATUS_BEGIN, u"CPU_STATUS_BEGIN"},
      {kStatusSelectorNames, CPU_NUMBER_OF_CORE, u"NumberOfCore"},
      {kFuncTypeNames, REGION_EVENT, u"REGION_EVENT"}, {kFuncTypeNames, POSITION_Y, u"Y"},
      {kFuncTypeNames, FORCE, u"FORCE"},        {kFuncTypeNames, STROKE_CURSOR, u"STROKE_CURSOR"},
      {kFuncTypeNames, OUT_RECT, u"OUT_RECT"},  {kFuncTypeNames, LIMIT_CMP_NONE, u""},
      {kFuncTypeNames, SCRIPT_NONE, u"SCRIPT_NONE"},
      {kListKeyNames, LIST_MY_HIT_AREA, u"MyHitArea"},
      {kFreeFuncNames, DEFAULT_TEXT_STYLE_FUNC, u"|DEFAULT_TEXT_STYLE_FUNC|"},
      {kIntervalTypeNames, EVERY_HOUR, u"EVERY_HOUR"},
      {kTextParamTypeNames, TEXT_PARAM_TEXT, u"\""}, {kTextParamTypeNames, TEXT_PARAM_CLEAR, u"Clear("},
  };
  for (const SCase& c : cases) EXPECT_EQ(NameOf(c.table, c.value), c.name) << c.value;
  EXPECT_EQ(CPU_STATUS_BEGIN, 13);
  EXPECT_EQ(LIMIT_CMP_NONE, 55);
  EXPECT_EQ(NameOf(kTokenNames, 68), u"");
  EXPECT_EQ(NameOf(kTokenNames, -1), u"");
}

TEST(NameTables, LookupsSearchOnlyTheirFamily) {
  EXPECT_EQ(FindMemoryStatus(u"UsageRate"), MEMORY_USAGE_RATE);
  EXPECT_EQ(FindCpuStatus(u"UsageRate"), CPU_USAGE_RATE);
  EXPECT_EQ(FindCpuStatus(u"Total"), kNameNotFound);
  EXPECT_EQ(FindMemoryStatus(u"Vendor"), kNameNotFound);
  EXPECT_EQ(FindKeyword(u"LINE_LEFT"), KW_LINE_LEFT);
  EXPECT_EQ(FindPositionData(u"LINE_LEFT"), POSITION_LINE_LEFT);
  EXPECT_EQ(FindPositionData(u"target.X"), kNameNotFound);
  EXPECT_EQ(FindLimitCmp(u""), LIMIT_CMP_NONE);
  EXPECT_EQ(FindLimitCmp(u"=="), LIMIT_CMP_EQUAL);
  EXPECT_EQ(FindFuncList(u"FuncListEvent"), 0);
  EXPECT_EQ(FindFuncList(u"FUNC_LIST_END"), kNameNotFound);
  // Sentinels are never valid input.
  EXPECT_EQ(FindFuncType(u"FUNC_TYPE_BEGIN"), kNameNotFound);
  EXPECT_EQ(FindHitType(u"HIT_TYPE_END"), kNameNotFound);
  EXPECT_EQ(FindRegisterType(u"SCRIPT_TYPE_END"), kNameNotFound);
  EXPECT_EQ(FindKeyword(u"true"), kNameNotFound);
  EXPECT_EQ(FindBuiltin(u"NextPage"), kNameNotFound);
  EXPECT_EQ(FindFreeFuncNumber(u"|ORDER_OBJECT_HIDE|"), ORDER_OBJECT_HIDE);
  EXPECT_EQ(FindTextParamType(u"NextPage("), TEXT_PARAM_NEXT_PAGE);
  EXPECT_EQ(FindIntervalType(u"ONLY_ONCE"), ONLY_ONCE);
  EXPECT_EQ(FindBalloonCallType(u"WAIT"), WAIT);
  EXPECT_EQ(FindHitAreaType(u"RECT"), RECT);
  EXPECT_EQ(FindListOrder(u"ListHitEvent"), LIST_HIT_EVENT);
  EXPECT_EQ(FindListHitEvent(u"ListHitEvent"), kNameNotFound);
}

TEST(NameTables, RegisterTypePrefixTakesTheFirstMatchingName) {
  EXPECT_EQ(FindRegisterTypePrefix(u"ORDER_REGxyz"), ORDER_REG);
  EXPECT_EQ(FindRegisterTypePrefix(u"BALLOON_IMAGE_LAYER_REG"), BALLOON_IMAGE_LAYER_REG);
  EXPECT_EQ(FindRegisterTypePrefix(u"ORDER"), kNameNotFound);
  EXPECT_EQ(FindRegisterType(u"ORDER_REGxyz"), kNameNotFound);
}

TEST(NameTables, RangeTests) {
  EXPECT_TRUE(IsKeywordKind(5));
  EXPECT_TRUE(IsKeywordKind(24));
  EXPECT_FALSE(IsKeywordKind(25));
  EXPECT_TRUE(IsOperatorKind(27));
  EXPECT_TRUE(IsOperatorKind(58));
  EXPECT_FALSE(IsOperatorKind(59));
  EXPECT_TRUE(IsSeparatorKind(61));
  EXPECT_FALSE(IsSeparatorKind(66));
  EXPECT_TRUE(IsPositionKeywordKind(17));
  EXPECT_TRUE(IsPositionKeywordKind(24));
  EXPECT_FALSE(IsPositionKeywordKind(16));
}

}  // namespace
