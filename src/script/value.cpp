#include "script/value.h"

#include <climits>

#include "script/script_error.h"
#include "script/script_messages.h"
#include "script/value_pools.h"
#include "script/vocabulary.h"
#include "support/number.h"

namespace {

[[noreturn]] void FailInvalidOperation() { throw EScriptError(kMsgInvalidOperation); }
[[noreturn]] void FailInvalidSetting() { throw EScriptError(kMsgInvalidSetting); }
[[noreturn]] void FailDivisionByZero() { throw EScriptError(kMsgDivisionByZero); }

// Two's-complement arithmetic that wraps instead of overflowing.
int32_t Wrap(uint32_t value) { return static_cast<int32_t>(value); }
uint32_t Bits(int32_t value) { return static_cast<uint32_t>(value); }

// The one overflowing division, INT_MIN / -1, wraps to INT_MIN with remainder 0
// instead of trapping.
int32_t Quotient(int32_t left, int32_t right) {
  if (left == INT_MIN && right == -1) return INT_MIN;
  return left / right;
}
int32_t Remainder(int32_t left, int32_t right) {
  if (right == -1) return 0;
  return left % right;
}

// The logical operators are shared by every type; both operands are already evaluated.
const CValue* LogicalResult(CValuePools& pools, int op, const CValue& left, const CValue& right) {
  if (op == OP_LOGICAL_AND) return &pools.MakeBool(left.GetBool() && right.GetBool());
  if (op == OP_LOGICAL_OR) return &pools.MakeBool(left.GetBool() || right.GetBool());
  return nullptr;
}

}  // namespace

void AppendDecimal(std::u16string& out, int32_t value) {
  char16_t digits[11];
  int count = 0;
  uint32_t magnitude = value < 0 ? 0u - Bits(value) : Bits(value);
  do {
    digits[count++] = static_cast<char16_t>(u'0' + magnitude % 10u);
    magnitude /= 10u;
  } while (magnitude != 0);
  if (value < 0) out += u'-';
  while (count > 0) out += digits[--count];
}

// The empty value.

const CValue& CValue::Operate(CValuePools&, int, const CValue&) const { FailInvalidOperation(); }
const CValue& CValue::OperateUnary(CValuePools&, int) const { FailInvalidOperation(); }
void CValue::Assign(const CValue&) { FailInvalidOperation(); }
void CValue::AppendStrTo(std::u16string&) const {}

const CValue& CValue::Empty() {
  static const CValue empty;
  return empty;
}

// Integers.

std::u16string CIntValue::GetStr() const {
  std::u16string text;
  AppendDecimal(text, value_);
  return text;
}

void CIntValue::AppendStrTo(std::u16string& out) const { AppendDecimal(out, value_); }

const CValue& CIntValue::Operate(CValuePools& pools, int op, const CValue& right) const {
  if (const CValue* logical = LogicalResult(pools, op, *this, right)) return *logical;
  switch (op) {
    case OP_EQUAL: return pools.MakeBool(value_ == right.GetInt());
    case OP_NOT_EQUAL: return pools.MakeBool(value_ != right.GetInt());
    case OP_GREATER_EQUAL: return pools.MakeBool(value_ >= right.GetInt());
    case OP_GREATER: return pools.MakeBool(value_ > right.GetInt());
    case OP_LESS_EQUAL: return pools.MakeBool(value_ <= right.GetInt());
    case OP_LESS: return pools.MakeBool(value_ < right.GetInt());
    case OP_ADD: return pools.MakeInt(Wrap(Bits(value_) + Bits(right.GetInt())));
    case OP_SUB: return pools.MakeInt(Wrap(Bits(value_) - Bits(right.GetInt())));
    case OP_MUL: return pools.MakeInt(Wrap(Bits(value_) * Bits(right.GetInt())));
    case OP_DIV:
      if (right.GetInt() == 0) FailDivisionByZero();
      return pools.MakeInt(Quotient(value_, right.GetInt()));
    case OP_MOD:
      if (right.GetInt() == 0) FailDivisionByZero();
      return pools.MakeInt(Remainder(value_, right.GetInt()));
    case OP_BIT_AND: return pools.MakeInt(value_ & right.GetInt());
    case OP_BIT_OR: return pools.MakeInt(value_ | right.GetInt());
    case OP_BIT_XOR: return pools.MakeInt(value_ ^ right.GetInt());
    default:
      // Assignments included: every operand comes from a pool and is read-only.
      FailInvalidSetting();
  }
}

const CValue& CIntValue::OperateUnary(CValuePools& pools, int op) const {
  switch (op) {
    case OP_NOT: return pools.MakeBool(value_ == 0);
    case OP_BIT_NOT: return pools.MakeInt(~value_);
    case UNARY_PLUS: return pools.MakeInt(value_);
    case UNARY_MINUS: return pools.MakeInt(Wrap(0u - Bits(value_)));
    default: FailInvalidSetting();
  }
}

void CIntValue::Assign(const CValue& other) {
  if (readOnly_) FailInvalidSetting();
  value_ = other.GetInt();
}

// Strings.

int32_t CStrValue::GetInt() const {
  try {
    return ToSigned(text_);
  } catch (const EConvertError&) {
    FailInvalidSetting();
  }
}

const CValue& CStrValue::Operate(CValuePools& pools, int op, const CValue& right) const {
  if (const CValue* logical = LogicalResult(pools, op, *this, right)) return *logical;
  if (op == OP_EQUAL || op == OP_NOT_EQUAL) {
    std::u16string& rightText = pools.Scratch();
    right.AppendStrTo(rightText);
    const bool equal = text_ == rightText;
    return pools.MakeBool(op == OP_EQUAL ? equal : !equal);
  }
  if (op == OP_ADD) {
    CStrValue& sum = pools.MakeEmptyStr();
    sum.text_ += text_;
    right.AppendStrTo(sum.text_);
    return sum;
  }
  FailInvalidSetting();
}

const CValue& CStrValue::OperateUnary(CValuePools& pools, int op) const {
  if (op == OP_NOT) return pools.MakeBool(text_.empty());
  FailInvalidSetting();
}

void CStrValue::Assign(const CValue& other) {
  if (readOnly_) FailInvalidSetting();
  text_ = other.GetStr();
}

// Booleans.

const CValue& CBoolValue::Operate(CValuePools& pools, int op, const CValue& right) const {
  if (const CValue* logical = LogicalResult(pools, op, *this, right)) return *logical;
  if (op == OP_EQUAL) return pools.MakeBool(value_ == right.GetBool());
  if (op == OP_NOT_EQUAL) return pools.MakeBool(value_ != right.GetBool());
  FailInvalidSetting();
}

const CValue& CBoolValue::OperateUnary(CValuePools& pools, int op) const {
  if (op == OP_NOT) return pools.MakeBool(!value_);
  FailInvalidSetting();
}

void CBoolValue::Assign(const CValue& other) {
  if (readOnly_) FailInvalidSetting();
  value_ = other.GetBool();
}
