#include "chardef/func_info_map.h"

#include <string>

#include "chardef/motion_config.h"
#include "chardef/order_config.h"
#include "script/name_tables.h"

namespace {

// The 1 x 1 transparent image every character's media set holds under this name.
constexpr std::u16string_view kHiddenImageName = u"|Resources|\\Images\\Hide.tga";

std::u16string ReservedName(FREE_FUNC_NUMBER number) { return std::u16string(NameOf(kFreeFuncNames, number)); }

std::unique_ptr<CCreateFuncInfo> HiddenMotion(SCRIPT_TYPE type, FREE_FUNC_NUMBER number) {
  auto config = std::make_unique<CMotionConfig>(type, ReservedName(number));
  config->id = number;
  config->width = 1;
  config->height = 1;
  config->imageName = std::u16string(kHiddenImageName);
  auto entry = std::make_unique<CCreateFuncInfo>(std::move(config));
  auto row = std::make_unique<CFuncParam>();
  static constexpr std::u16string_view kRow[] = {u"0", u"0", u"0", u"0", u"1"};
  for (int column = 0; column < CFuncParam::kExpressionCount; ++column) {
    row->expressions[static_cast<size_t>(column)].Compile(kRow[column]);
  }
  entry->Rows().push_back(std::move(row));
  return entry;
}

std::unique_ptr<CCreateFuncInfo> HiddenFunction() {
  auto config = std::make_unique<COrderConfig>(ReservedName(ORDER_OBJECT_HIDE));
  config->id = ORDER_OBJECT_HIDE;
  config->width = 1;
  config->height = 1;
  config->funcType = kHideObjectFuncType;
  config->motionName = ReservedName(MOTION_OBJECT_HIDE);
  config->positionX.Compile(u"X");
  config->positionY.Compile(u"Y");
  config->addToList = false;
  return std::make_unique<CCreateFuncInfo>(std::move(config));
}

}  // namespace

CCreateFuncInfoMap::CCreateFuncInfoMap(CCharacter* owner) : owner_(owner) {
  RegisterReserved(HiddenFunction());
  RegisterReserved(HiddenMotion(MOTION_REG, MOTION_OBJECT_HIDE));
  RegisterReserved(HiddenMotion(BALLOON_MOTION_REG, BALLOON_MOTION_OBJECT_HIDE));
}

CCreateFuncInfo* CCreateFuncInfoMap::FindEntry(const std::u16string& name) const {
  const auto found = byName_.find(name);
  return found == byName_.end() ? nullptr : found->second;
}

CCreateFuncInfo* CCreateFuncInfoMap::FindEntry(SCRIPT_TYPE type, int id) const {
  if (!IsRegisterType(type)) return nullptr;
  return byType_[static_cast<size_t>(type - ORDER_REG)].Find(id);
}

const CFuncInfoIdMap& CCreateFuncInfoMap::EntriesOf(SCRIPT_TYPE type) const {
  return byType_.at(static_cast<size_t>(type - ORDER_REG));
}

bool CCreateFuncInfoMap::Register(std::unique_ptr<CCreateFuncInfo> entry) {
  if (!entry || !IsRegisterType(entry->Config().type) || HasName(entry->Config().name)) return false;
  entry->Config().id = lastId_ + 1;
  if (!Store(entry)) return false;
  ++lastId_;
  return true;
}

bool CCreateFuncInfoMap::RegisterReserved(std::unique_ptr<CCreateFuncInfo> entry) {
  if (!entry || !IsRegisterType(entry->Config().type)) return false;
  return Store(entry);
}

bool CCreateFuncInfoMap::Store(std::unique_ptr<CCreateFuncInfo>& entry) {
  CRootConfig& config = entry->Config();
  CFuncInfoIdMap& ids = byType_[static_cast<size_t>(config.type - ORDER_REG)];
  if (HasName(config.name) || ids.IndexOf(config.id) >= 0) return false;
  CCreateFuncInfo* stored = entry.release();
  Add(stored->Config().name, stored);
  byName_.emplace(stored->Config().name, stored);
  ids.Add(stored->Config().id, stored);
  return true;
}
