#include "chardef/definition_validator.h"

#include <algorithm>
#include <cstdint>

#include "chardef/balloon_config.h"
#include "chardef/chara_file_access.h"
#include "chardef/condition_event_config.h"
#include "chardef/func_param.h"
#include "chardef/hit_event_config.h"
#include "chardef/image_layer_config.h"
#include "chardef/motion_config.h"
#include "chardef/order_config.h"
#include "chardef/register_messages.h"
#include "chardef/text_layer_config.h"
#include "chardef/text_style_config.h"
#include "script/name_tables.h"
#include "script/script_error.h"
#include "script/script_evaluator.h"

namespace {

// Each follows the folder name, "の" and the entry's (or file's) name.
constexpr std::u16string_view kMsgCellOutsideImage = u"に画像サイズを超えるパラメータ指定が有ります。";
constexpr std::u16string_view kMsgNoMotion = u"に有効なFuncNameMotionが設定されていません。";
constexpr std::u16string_view kMsgLayerLargerThanMotion =
    u"のFuncNameImageLayerにこの関数の画像サイズを超える値が設定がされています。";
// Between the list's key and the unknown name, and after the name.
constexpr std::u16string_view kMsgUnknownFunction = u"に存在しない関数";
constexpr std::u16string_view kMsgUnknownFunctionEnd = u"が指定されています。";

}  // namespace

std::optional<std::u16string> ResolveWeightedList(const CCreateFuncInfoMap& definition, const CNameList& names,
                                                  CWeightMap& out) {
  for (const std::u16string& item : names) {
    SWeightedItem parsed = ParseWeightedItem(item);
    const CCreateFuncInfo* entry = definition.FindEntry(parsed.name);
    if (entry != nullptr) {
      out.Insert(entry->Config().id, parsed.weight);
    } else if (!parsed.name.empty()) {
      return std::move(parsed.name);
    }
  }
  return std::nullopt;
}

CDefinitionValidator::CDefinitionValidator(CCreateFuncInfoMap& definition, CCharaMedia& media,
                                           std::u16string folderName, IFunctionHitTestSetUp* hitTest)
    : definition_(definition),
      media_(media),
      folderName_(std::move(folderName)),
      paths_(MakeCharaPaths(folderName_)),
      hitTest_(hitTest) {}

CDefinitionValidator::~CDefinitionValidator() = default;

int CDefinitionValidator::Validate() {
  ResolveConditionEvents();
  ResolveHitEvents();
  CheckImageEntries(IMAGE_LAYER_REG, SOUND_CHANNEL_ROW);
  CheckImageEntries(MOTION_REG, SOUND_CHANNEL_ROW);
  ResolveTextLayers();
  CheckImageEntries(BALLOON_IMAGE_LAYER_REG, SOUND_CHANNEL_BALLOON_ROW);
  CheckImageEntries(BALLOON_MOTION_REG, SOUND_CHANNEL_BALLOON_ROW);
  ResolveBalloons();
  return ResolveFunctions();
}

void CDefinitionValidator::ResolveConditionEvents() {
  for (CCreateFuncInfo* entry : definition_.EntriesOf(CONDITION_EVENT_REG).Values()) {
    auto* event = entry->ConfigAs<CConditionEventConfig>();
    if (event == nullptr) continue;
    checking_ = event;
    ResolveList(event->funcList, event->resolvedFuncList, event->name, u"FuncListCondition");
  }
}

void CDefinitionValidator::ResolveHitEvents() {
  for (CCreateFuncInfo* entry : definition_.EntriesOf(HIT_EVENT_REG).Values()) {
    auto* event = entry->ConfigAs<CHitEventConfig>();
    if (event == nullptr) continue;
    checking_ = event;
    event->cursor = LoadCursor(event->cursorName);
    ResolveList(event->funcList, event->resolvedFuncList, event->name, u"FuncListHit");
    LoadSound(SOUND_CHANNEL_HIT_EVENT, event->soundName);
  }
}

void CDefinitionValidator::CheckImageEntries(SCRIPT_TYPE type, ECharaSoundChannel rowChannel) {
  for (const CCreateFuncInfo* entry : definition_.EntriesOf(type).Values()) CheckImageEntry(*entry, rowChannel);
}

void CDefinitionValidator::CheckImageEntry(const CCreateFuncInfo& entry, ECharaSoundChannel rowChannel) {
  const auto* strip = entry.ConfigAs<CImageStripConfig>();
  if (strip == nullptr) return;
  checking_ = strip;
  const CImageLoad* image = CCharaFileAccess::LoadImageFile(media_.Images(), paths_.imagesFolder + strip->imageName);
  if (image == nullptr) Fail(strip->imageName, kMsgCannotLoad);
  for (const auto& row : entry.Rows()) {
    if (row->imageName.empty()) CheckCellInImage(*strip, *row, image->Width(), image->Height());
  }
  for (const auto& row : entry.Rows()) {
    if (row->imageName.empty()) continue;
    const CImageLoad* rowImage = CCharaFileAccess::LoadImageFile(media_.Images(), paths_.imagesFolder + row->imageName);
    if (rowImage == nullptr) Fail(row->imageName, kMsgCannotLoad);
    CheckCellInImage(*strip, *row, rowImage->Width(), rowImage->Height());
  }
  for (const auto& row : entry.Rows()) LoadSound(rowChannel, row->soundName);
}

void CDefinitionValidator::CheckCellInImage(const CImageStripConfig& strip, const CFuncParam& row, int imageWidth,
                                            int imageHeight) {
  // Cell positions come from the script; summed in 64 bits so a huge one cannot wrap
  // round to a position that passes.
  const int64_t right = int64_t{EvaluateCell(strip, row.expressions[CFuncParam::kCellX])} + strip.width;
  const int64_t bottom = int64_t{EvaluateCell(strip, row.expressions[CFuncParam::kCellY])} + strip.height;
  if (imageWidth < right || imageHeight < bottom) Fail(strip.name, kMsgCellOutsideImage);
}

int CDefinitionValidator::EvaluateCell(const CImageStripConfig& strip, const CFuncExpression& expression) {
  if (!evaluator_) evaluator_ = std::make_unique<CScriptEvaluator>();
  try {
    const CValue* value = evaluator_->Evaluate(expression.Tokens());
    return value == nullptr ? 0 : value->GetInt();
  } catch (const EScriptError& error) {
    // The evaluator's message says what went wrong, not where: name the entry.
    Fail(strip.name, error.Message());
  }
}

void CDefinitionValidator::ResolveTextLayers() {
  for (CCreateFuncInfo* entry : definition_.EntriesOf(TEXT_LAYER_REG).Values()) {
    auto* layer = entry->ConfigAs<CTextLayerConfig>();
    if (layer == nullptr || layer->textStyleName.empty()) continue;
    // A style that does not exist is no error: the layer keeps no style.
    const CCreateFuncInfo* style = EntryOfType(TEXT_STYLE_REG, layer->textStyleName);
    layer->textStyle = style == nullptr ? nullptr : style->ConfigAs<CTextStyleConfig>();
  }
}

void CDefinitionValidator::ResolveBalloons() {
  for (CCreateFuncInfo* entry : definition_.EntriesOf(BALLOON_ORDER_REG).Values()) {
    auto* balloon = entry->ConfigAs<CBalloonConfig>();
    if (balloon == nullptr) continue;
    checking_ = balloon;
    const CCreateFuncInfo& motion = ResolveMotion(BALLOON_MOTION_REG, balloon->name, balloon->motionName,
                                                  balloon->motionId);
    balloon->imageLayerIds = IdsOfType(BALLOON_IMAGE_LAYER_REG, balloon->imageLayerNames);
    CheckLayersFitMotion(*balloon, motion.Config(), balloon->imageLayerIds, BALLOON_IMAGE_LAYER_REG);
    balloon->textLayers.clear();
    for (const std::u16string& name : balloon->textLayerNames) {
      const CCreateFuncInfo* layer = EntryOfType(TEXT_LAYER_REG, name);
      if (layer != nullptr) balloon->textLayers.push_back(layer->ConfigAs<CTextLayerConfig>());
    }
    ResolveList(balloon->nextBalloonList, balloon->nextBalloons, balloon->name, u"NextBalloonList");
    LoadSound(SOUND_CHANNEL_BALLOON_BGM, balloon->bgmSoundName);
  }
}

int CDefinitionValidator::ResolveFunctions() {
  int mostImageLayers = 0;
  for (CCreateFuncInfo* entry : definition_.EntriesOf(ORDER_REG).Values()) {
    auto* function = entry->ConfigAs<COrderConfig>();
    if (function == nullptr) continue;
    checking_ = function;
    for (int list = 0; list < FUNC_LIST_END; ++list) {
      const size_t index = static_cast<size_t>(list);
      ResolveList(function->funcLists[index], function->resolvedFuncLists[index], function->name,
                  NameOf(kFuncListNames, list));
    }
    const CCreateFuncInfo& motion = ResolveMotion(MOTION_REG, function->name, function->motionName,
                                                  function->motionId);
    function->imageLayerIds = IdsOfType(IMAGE_LAYER_REG, function->imageLayerNames);
    mostImageLayers = std::max(mostImageLayers, static_cast<int>(function->imageLayerIds.size()));
    CheckLayersFitMotion(*function, motion.Config(), function->imageLayerIds, IMAGE_LAYER_REG);
    ResolveList(function->balloonList, function->resolvedBalloonList, function->name, u"CallBalloonList");
    LoadSound(SOUND_CHANNEL_FUNCTION_BGM, function->bgmSoundName);
    LoadSound(SOUND_CHANNEL_L_BUTTON, function->lButtonSoundName);
    LoadSound(SOUND_CHANNEL_R_BUTTON, function->rButtonSoundName);
    function->cursor = LoadCursor(function->cursorName);
    function->conditionEvents.clear();
    if (function->conditionEventList) {
      for (const std::u16string& name : *function->conditionEventList) {
        CCreateFuncInfo* event = EntryOfType(CONDITION_EVENT_REG, name);
        if (event != nullptr) function->conditionEvents.push_back(event->ConfigAs<CConditionEventConfig>());
      }
    }
    const auto* motionConfig = motion.ConfigAs<CMotionConfig>();
    if (hitTest_ != nullptr && motionConfig != nullptr) hitTest_->SetUpFunctionHitTest(*function, *motionConfig);
  }
  return mostImageLayers;
}

void CDefinitionValidator::ResolveList(COptionalNameList& list, CWeightMap& out, const std::u16string& owner,
                                       std::u16string_view key) {
  if (!list) return;
  if (std::optional<std::u16string> unknown = ResolveWeightedList(definition_, *list, out)) {
    std::u16string tail = u"の";
    tail += key;
    tail += kMsgUnknownFunction;
    tail += *unknown;
    tail += kMsgUnknownFunctionEnd;
    Fail(owner, tail);
  }
  list.reset();
}

const CCreateFuncInfo& CDefinitionValidator::ResolveMotion(SCRIPT_TYPE motionType, const std::u16string& owner,
                                                          const std::u16string& motionName, int& motionId) const {
  if (!motionName.empty()) {
    if (const CCreateFuncInfo* motion = EntryOfType(motionType, motionName)) {
      motionId = motion->Config().id;
      return *motion;
    }
  }
  // Built-in entries come with their motion id already set.
  const CCreateFuncInfo* motion = definition_.FindEntry(motionType, motionId);
  if (motion == nullptr) Fail(owner, kMsgNoMotion);
  return *motion;
}

CCreateFuncInfo* CDefinitionValidator::EntryOfType(SCRIPT_TYPE type, const std::u16string& name) const {
  CCreateFuncInfo* entry = definition_.FindEntry(name);
  return entry != nullptr && entry->Config().type == type ? entry : nullptr;
}

std::vector<int> CDefinitionValidator::IdsOfType(SCRIPT_TYPE type, const CNameList& names) const {
  std::vector<int> ids;
  for (const std::u16string& name : names) {
    if (const CCreateFuncInfo* entry = EntryOfType(type, name)) ids.push_back(entry->Config().id);
  }
  return ids;
}

void CDefinitionValidator::CheckLayersFitMotion(const CRootConfig& owner, const CRootConfig& motion,
                                                const std::vector<int>& layerIds, SCRIPT_TYPE layerType) const {
  for (int id : layerIds) {
    const CCreateFuncInfo* layer = definition_.FindEntry(layerType, id);
    if (layer == nullptr) continue;
    if (motion.width < layer->Config().width || motion.height < layer->Config().height) {
      Fail(owner.name, kMsgLayerLargerThanMotion);
    }
  }
}

void CDefinitionValidator::LoadSound(ECharaSoundChannel channel, const std::u16string& name) {
  if (name.empty()) return;
  if (CCharaFileAccess::LoadSoundFile(media_.Channel(channel), paths_.soundsFolder + name) == nullptr) {
    Fail(name, kMsgCannotLoad);
  }
}

const SCursorImage* CDefinitionValidator::LoadCursor(const std::u16string& name) {
  if (name.empty()) return nullptr;
  // A cursor that cannot be read leaves the default cursor in place.
  return CCharaFileAccess::LoadCursorFile(media_.Cursors(), paths_.cursorsFolder + name);
}

void CDefinitionValidator::Fail(std::u16string_view name, std::u16string_view tail) const {
  throw EDefinitionCheckError(RegisterMessage(folderName_, name, tail), checking_ ? checking_->type : SCRIPT_TYPE_NONE,
                              checking_ ? checking_->name : std::u16string());
}
