#pragma once
// Script values: the empty value, integers, strings and booleans. Operators never
// allocate: they return read-only values taken from the evaluator's pools.
#include <cstdint>
#include <string>
#include <string_view>

class CValuePools;

enum EValueType : int { VALUE_EMPTY = 0, VALUE_INT = 1, VALUE_STR = 2, VALUE_BOOL = 3 };

// The empty value: integer 0, empty text, false; every operator on it fails (error A).
class CValue {
 public:
  CValue() = default;
  CValue(const CValue&) = delete;
  CValue& operator=(const CValue&) = delete;
  virtual ~CValue() = default;

  virtual int GetType() const { return VALUE_EMPTY; }
  virtual int32_t GetInt() const { return 0; }
  virtual std::u16string GetStr() const { return {}; }
  virtual bool GetBool() const { return false; }
  // L op R for the operator kind `op` (a TOKEN value), as a fresh pool value.
  virtual const CValue& Operate(CValuePools& pools, int op, const CValue& right) const;
  virtual const CValue& OperateUnary(CValuePools& pools, int op) const;
  virtual void Assign(const CValue& other);

  // Appends GetStr() to `out` without a temporary string.
  virtual void AppendStrTo(std::u16string& out) const;

  // The one shared empty value.
  static const CValue& Empty();
};

class CIntValue final : public CValue {
 public:
  CIntValue() = default;
  explicit CIntValue(int32_t value) : value_(value) {}

  int GetType() const override { return VALUE_INT; }
  int32_t GetInt() const override { return value_; }
  std::u16string GetStr() const override;
  bool GetBool() const override { return value_ != 0; }
  const CValue& Operate(CValuePools& pools, int op, const CValue& right) const override;
  const CValue& OperateUnary(CValuePools& pools, int op) const override;
  void Assign(const CValue& other) override;
  void AppendStrTo(std::u16string& out) const override;

  // Used by the pools when they hand the value out.
  void SetReadOnly(int32_t value) {
    readOnly_ = true;
    value_ = value;
  }
  bool ReadOnly() const { return readOnly_; }

 private:
  bool readOnly_ = false;
  int32_t value_ = 0;
};

class CStrValue final : public CValue {
 public:
  CStrValue() = default;
  explicit CStrValue(std::u16string text) : text_(std::move(text)) {}

  int GetType() const override { return VALUE_STR; }
  // The strict text-to-integer conversion; a text that is no number is error B.
  int32_t GetInt() const override;
  std::u16string GetStr() const override { return text_; }
  bool GetBool() const override { return !text_.empty(); }
  const CValue& Operate(CValuePools& pools, int op, const CValue& right) const override;
  const CValue& OperateUnary(CValuePools& pools, int op) const override;
  void Assign(const CValue& other) override;
  void AppendStrTo(std::u16string& out) const override { out += text_; }

  std::u16string_view Text() const { return text_; }
  // Used by the pools: marks the value read-only and empties its text, which keeps its
  // capacity from earlier evaluations.
  void SetReadOnlyEmpty() {
    readOnly_ = true;
    text_.clear();
  }
  // The text of a fresh pool value, for whoever fills it.
  std::u16string& Buffer() { return text_; }
  void Reserve(size_t capacity) { text_.reserve(capacity); }
  bool ReadOnly() const { return readOnly_; }

 private:
  bool readOnly_ = false;
  std::u16string text_;
};

class CBoolValue final : public CValue {
 public:
  CBoolValue() = default;
  explicit CBoolValue(bool value) : value_(value) {}

  int GetType() const override { return VALUE_BOOL; }
  int32_t GetInt() const override { return value_ ? 1 : 0; }
  std::u16string GetStr() const override { return value_ ? u"TRUE" : u"FALSE"; }
  bool GetBool() const override { return value_; }
  const CValue& Operate(CValuePools& pools, int op, const CValue& right) const override;
  const CValue& OperateUnary(CValuePools& pools, int op) const override;
  void Assign(const CValue& other) override;
  void AppendStrTo(std::u16string& out) const override { out += value_ ? u"TRUE" : u"FALSE"; }

  void SetReadOnly(bool value) {
    readOnly_ = true;
    value_ = value;
  }
  bool ReadOnly() const { return readOnly_; }

 private:
  bool readOnly_ = false;
  bool value_ = false;
};

// Decimal text of `value` appended to `out`, "-" for negatives, no leading zeros.
void AppendDecimal(std::u16string& out, int32_t value);
