#pragma once
// CValuePools: the fixed stores of integer, string and boolean values one evaluation
// draws from. Built once; handing a value out costs a counter step and never allocates
// (string slots keep their buffers, so texts up to a slot's capacity cost no memory).
#include <array>
#include <string>
#include <string_view>

#include "script/value.h"

class CValuePools {
 public:
  static constexpr int kCapacity = 300;
  // Initial text capacity of every string slot, in UTF-16 units.
  static constexpr size_t kStringReserve = 32;

  CValuePools();
  CValuePools(const CValuePools&) = delete;
  CValuePools& operator=(const CValuePools&) = delete;

  // Starts a new evaluation: every value handed out before may be reused.
  void Reset() {
    intCount_ = 0;
    strCount_ = 0;
    boolCount_ = 0;
  }

  // Fresh read-only values; each throws the capacity error once its pool has handed
  // out kCapacity values since the last Reset.
  const CIntValue& MakeInt(int32_t value);
  const CBoolValue& MakeBool(bool value);
  const CStrValue& MakeStr(std::u16string_view text);
  // A fresh read-only string value with an empty buffer for the caller to fill.
  CStrValue& MakeEmptyStr();

  // A scratch buffer for rendering an operand as text during a comparison.
  std::u16string& Scratch() {
    scratch_.clear();
    return scratch_;
  }

 private:
  std::array<CIntValue, kCapacity> ints_;
  std::array<CStrValue, kCapacity> strs_;
  std::array<CBoolValue, kCapacity> bools_;
  int intCount_ = 0;
  int strCount_ = 0;
  int boolCount_ = 0;
  std::u16string scratch_;
};
