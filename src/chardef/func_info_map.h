#pragma once
// CCreateFuncInfoMap: every register entry of one character, by name (owning) and by
// register type and id, with the numbering of entries and the error latch the
// register builders report through. Built once when the character is created; read-only
// afterwards.
#include <array>
#include <memory>
#include <string>
#include <unordered_map>

#include "chardef/func_info.h"
#include "chardef/register_error_latch.h"
#include "script/vocabulary.h"
#include "support/vector_map.h"

class CCharacter;

// Entry id -> entry of one register type, in registration order; not owning.
using CFuncInfoIdMap = CVectorMap<int, CCreateFuncInfo*>;

class CCreateFuncInfoMap : public CVectorMap<std::u16string, CCreateFuncInfo*, true> {
 public:
  // The last id of the built-in entries' range; the character's own entries follow.
  static constexpr int kFirstUserIdMinusOne = 200;

  // Registers the built-in entries that need no balloon or text-style records:
  // |ORDER_OBJECT_HIDE| (1), |MOTION_OBJECT_HIDE| (2), |BALLOON_MOTION_OBJECT_HIDE| (4).
  // The balloon and text-style registers add ids 3 and 5 through RegisterReserved.
  explicit CCreateFuncInfoMap(CCharacter* owner = nullptr);

  CCharacter* Owner() const { return owner_; }

  // The entry of that name, of any register type; null when there is none. Constant
  // time: a character may declare thousands of entries, and every one is checked
  // against all names before it. Entries must be added through Register and
  // RegisterReserved for this to see them.
  CCreateFuncInfo* FindEntry(const std::u16string& name) const;
  // The entry of that register type and id; null when there is none.
  CCreateFuncInfo* FindEntry(SCRIPT_TYPE type, int id) const;
  // Every entry of a register type ORDER_REG..TEXT_STYLE_REG, in registration order.
  const CFuncInfoIdMap& EntriesOf(SCRIPT_TYPE type) const;
  bool HasName(const std::u16string& name) const { return byName_.contains(name); }

  // Gives the entry the next id and registers it under its name and under its id in
  // the map of its type. Returns false, and keeps nothing, when the name is taken or
  // the record's type is not a register type.
  bool Register(std::unique_ptr<CCreateFuncInfo> entry);
  // Registers a built-in entry with the id its record already carries (1..5).
  bool RegisterReserved(std::unique_ptr<CCreateFuncInfo> entry);
  // The last id given out; 200 until the first entry of the character's own.
  int LastId() const { return lastId_; }

  CRegisterErrorLatch& Latch() { return latch_; }
  const CRegisterErrorLatch& Latch() const { return latch_; }
  bool Ok() const { return latch_.Ok(); }
  const std::u16string& ErrorMessage() const { return latch_.Message(); }

 private:
  using Base = CVectorMap<std::u16string, CCreateFuncInfo*, true>;
  // Entries come and go only through Register and RegisterReserved, which keep the
  // name index and the per-type maps in step with the name map.
  using Base::Add;
  using Base::Clear;
  using Base::Insert;

  static constexpr int kTypeCount = TEXT_STYLE_REG - ORDER_REG + 1;
  bool Store(std::unique_ptr<CCreateFuncInfo>& entry);
  static bool IsRegisterType(int type) { return type >= ORDER_REG && type <= TEXT_STYLE_REG; }

  std::array<CFuncInfoIdMap, kTypeCount> byType_;
  std::unordered_map<std::u16string, CCreateFuncInfo*> byName_;
  int lastId_ = kFirstUserIdMinusOne;
  CRegisterErrorLatch latch_;
  CCharacter* owner_;
};
