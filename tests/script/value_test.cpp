#include "script/value.h"

#include <gtest/gtest.h>

#include <climits>

#include "script/script_error.h"
#include "script/script_messages.h"
#include "script/value_pools.h"
#include "script/vocabulary.h"

namespace {

std::u16string ErrorOf(auto&& action) {
  try {
    action();
  } catch (const EScriptError& error) {
    return error.Message();
  }
  return u"no error";
}

TEST(Values, Conversions) {
  CValuePools pools;
  EXPECT_EQ(pools.MakeInt(-42).GetStr(), u"-42");
  EXPECT_EQ(pools.MakeInt(INT_MIN).GetStr(), u"-2147483648");
  EXPECT_EQ(pools.MakeInt(0).GetStr(), u"0");
  EXPECT_EQ(pools.MakeBool(true).GetStr(), u"TRUE");
  EXPECT_EQ(pools.MakeBool(false).GetInt(), 0);
  EXPECT_EQ(CValue::Empty().GetStr(), u"");
  EXPECT_FALSE(CValue::Empty().GetBool());
  EXPECT_TRUE(pools.MakeStr(u"0").GetBool());
  EXPECT_EQ(pools.MakeStr(u"0").GetInt(), 0);
  EXPECT_FALSE(pools.MakeStr(u"").GetBool());
}

TEST(Values, StrictStringToInteger) {
  CValuePools pools;
  struct SCase {
    const char16_t* text;
    int value;
  } const good[] = {{u" 12\t", 12}, {u"-7", -7}, {u"- 7", -7}, {u"4294967297", 1}, {u"-2147483648", INT_MIN}};
  for (const SCase& c : good) EXPECT_EQ(pools.MakeStr(c.text).GetInt(), c.value);
  for (const char16_t* bad : {u"", u" -7", u"+7", u"1e3", u"1.5", u"0x10", u"-", u"  ", u"7-"}) {
    EXPECT_EQ(ErrorOf([&] { pools.MakeStr(bad).GetInt(); }), kMsgInvalidSetting);
  }
}

TEST(Values, PoolValuesAreReadOnly) {
  CValuePools pools;
  const CIntValue& pooled = pools.MakeInt(3);
  EXPECT_TRUE(pooled.ReadOnly());
  EXPECT_EQ(ErrorOf([&] { const_cast<CIntValue&>(pooled).Assign(pools.MakeInt(4)); }), kMsgInvalidSetting);
  EXPECT_EQ(ErrorOf([] { const_cast<CValue&>(CValue::Empty()).Assign(CValue::Empty()); }), kMsgInvalidOperation);
  // A value of one's own is writable and takes the other's reading of its type.
  CIntValue number;
  number.Assign(pools.MakeStr(u"15"));
  EXPECT_EQ(number.GetInt(), 15);
  CStrValue text;
  text.Assign(pools.MakeBool(true));
  EXPECT_EQ(text.GetStr(), u"TRUE");
  CBoolValue flag;
  flag.Assign(pools.MakeStr(u"x"));
  EXPECT_TRUE(flag.GetBool());
}

TEST(Values, DivisionEdges) {
  CValuePools pools;
  const CValue& minusSeven = pools.MakeInt(-7);
  EXPECT_EQ(minusSeven.Operate(pools, OP_DIV, pools.MakeInt(2)).GetInt(), -3);
  EXPECT_EQ(minusSeven.Operate(pools, OP_MOD, pools.MakeInt(2)).GetInt(), -1);
  EXPECT_EQ(ErrorOf([&] { minusSeven.Operate(pools, OP_DIV, pools.MakeInt(0)); }), kMsgDivisionByZero);
  EXPECT_EQ(ErrorOf([&] { minusSeven.Operate(pools, OP_MOD, pools.MakeBool(false)); }), kMsgDivisionByZero);
  // The overflowing division wraps instead of trapping.
  const CValue& smallest = pools.MakeInt(INT_MIN);
  EXPECT_EQ(smallest.Operate(pools, OP_DIV, pools.MakeInt(-1)).GetInt(), INT_MIN);
  EXPECT_EQ(smallest.Operate(pools, OP_MOD, pools.MakeInt(-1)).GetInt(), 0);
  EXPECT_EQ(smallest.OperateUnary(pools, UNARY_MINUS).GetInt(), INT_MIN);
  EXPECT_EQ(pools.MakeInt(INT_MAX).Operate(pools, OP_ADD, pools.MakeInt(1)).GetInt(), INT_MIN);
}

TEST(Values, OperatorsTheTypesLackFailWithErrorB) {
  CValuePools pools;
  const CValue& text = pools.MakeStr(u"a");
  const CValue& flag = pools.MakeBool(true);
  const CValue& number = pools.MakeInt(1);
  for (int op : {OP_LESS, OP_SUB, OP_MUL, OP_DIV, OP_BIT_AND, OP_DOT, OP_QUESTION, SEP_COMMA}) {
    EXPECT_EQ(ErrorOf([&] { text.Operate(pools, op, text); }), kMsgInvalidSetting) << op;
    EXPECT_EQ(ErrorOf([&] { flag.Operate(pools, op, flag); }), kMsgInvalidSetting) << op;
  }
  for (int op = OP_ADD_ASSIGN; op <= OP_ASSIGN; ++op) {
    EXPECT_EQ(ErrorOf([&] { number.Operate(pools, op, number); }), kMsgInvalidSetting) << op;
    EXPECT_EQ(ErrorOf([&] { text.Operate(pools, op, number); }), kMsgInvalidSetting) << op;
    EXPECT_EQ(ErrorOf([&] { flag.Operate(pools, op, number); }), kMsgInvalidSetting) << op;
  }
  for (int op : {OP_BIT_NOT, UNARY_PLUS, UNARY_MINUS}) {
    EXPECT_EQ(ErrorOf([&] { text.OperateUnary(pools, op); }), kMsgInvalidSetting);
    EXPECT_EQ(ErrorOf([&] { flag.OperateUnary(pools, op); }), kMsgInvalidSetting);
  }
  EXPECT_EQ(ErrorOf([&] { number.OperateUnary(pools, OP_ADD); }), kMsgInvalidSetting);
  EXPECT_EQ(ErrorOf([&] { CValue::Empty().Operate(pools, OP_ADD, number); }), kMsgInvalidOperation);
  EXPECT_EQ(ErrorOf([&] { CValue::Empty().OperateUnary(pools, OP_NOT); }), kMsgInvalidOperation);
}

TEST(Values, PoolsHoldThreeHundredOfEachPerEvaluation) {
  CValuePools pools;
  for (int i = 0; i < CValuePools::kCapacity; ++i) pools.MakeInt(i);
  EXPECT_EQ(ErrorOf([&] { pools.MakeInt(0); }), kMsgCapacityExceeded);
  pools.MakeBool(true);  // the other pools are separate
  pools.MakeStr(u"x");
  pools.Reset();
  EXPECT_EQ(pools.MakeInt(5).GetInt(), 5);
}

}  // namespace
