#include "script/value_pools.h"

#include "script/script_error.h"
#include "script/script_messages.h"

namespace {

[[noreturn]] void FailCapacity() { throw EScriptError(kMsgCapacityExceeded); }

}  // namespace

CValuePools::CValuePools() {
  for (CStrValue& value : strs_) value.Reserve(kStringReserve);
  scratch_.reserve(kStringReserve);
}

const CIntValue& CValuePools::MakeInt(int32_t value) {
  if (intCount_ >= kCapacity) FailCapacity();
  CIntValue& slot = ints_[static_cast<size_t>(intCount_++)];
  slot.SetReadOnly(value);
  return slot;
}

const CBoolValue& CValuePools::MakeBool(bool value) {
  if (boolCount_ >= kCapacity) FailCapacity();
  CBoolValue& slot = bools_[static_cast<size_t>(boolCount_++)];
  slot.SetReadOnly(value);
  return slot;
}

CStrValue& CValuePools::MakeEmptyStr() {
  if (strCount_ >= kCapacity) FailCapacity();
  CStrValue& slot = strs_[static_cast<size_t>(strCount_++)];
  slot.SetReadOnlyEmpty();
  return slot;
}

const CStrValue& CValuePools::MakeStr(std::u16string_view text) {
  CStrValue& slot = MakeEmptyStr();
  slot.Buffer().assign(text);
  return slot;
}
