#pragma once
// CDefinitionValidator: the last step of loading a character's scripts. Once every
// register is built without error, it turns the names entries mention into ids and
// pointers, loads every image, sound and cursor they name, and checks cell sizes
// against the images. Unlike the register build it stops at the first fault.
#include <memory>
#include <optional>
#include <string>

#include "chardef/chara_media.h"
#include "chardef/chara_paths.h"
#include "chardef/func_info_map.h"
#include "chardef/func_list.h"

#include "script/script_error.h"

class COrderConfig;
class CMotionConfig;
class CImageStripConfig;
class CScriptEvaluator;

// The runtime's hit test builds each function's hit areas and hit events
// (ListHitArea, ListHitEvent) against the function's motion; the validator hands it
// every function once that function's names are resolved.
class IFunctionHitTestSetUp {
 public:
  virtual ~IFunctionHitTestSetUp() = default;
  virtual void SetUpFunctionHitTest(COrderConfig& function, const CMotionConfig& motion) = 0;
};

// A failed check, with the entry that was being checked so tools can say where the
// entry was written. The message is the program's own.
class EDefinitionCheckError : public EScriptError {
 public:
  EDefinitionCheckError(std::u16string message, SCRIPT_TYPE entryType, std::u16string entryName)
      : EScriptError(std::move(message)), entryType_(entryType), entryName_(std::move(entryName)) {}
  SCRIPT_TYPE EntryType() const { return entryType_; }
  const std::u16string& EntryName() const { return entryName_; }

 private:
  SCRIPT_TYPE entryType_;
  std::u16string entryName_;
};

// Resolves a weighted name list into `out` (entry id -> weight, first weight of a name
// kept): names are looked up among every entry of `definition`, of any register type.
// Empty names are skipped. Returns the first name that matches no entry, stopping
// there; no value when every name resolved.
std::optional<std::u16string> ResolveWeightedList(const CCreateFuncInfoMap& definition, const CNameList& names,
                                                  CWeightMap& out);

class CDefinitionValidator {
 public:
  // `hitTest` may be null while no runtime is attached (tools, tests).
  CDefinitionValidator(CCreateFuncInfoMap& definition, CCharaMedia& media, std::u16string folderName,
                       IFunctionHitTestSetUp* hitTest = nullptr);
  ~CDefinitionValidator();
  CDefinitionValidator(const CDefinitionValidator&) = delete;
  CDefinitionValidator& operator=(const CDefinitionValidator&) = delete;

  // Runs the whole pass: condition events, hit events, image layers, motions, text
  // layers, balloon image layers, balloon motions, balloons, functions. Throws
  // EDefinitionCheckError with the first failure's message; nothing after it runs. Returns how
  // many image-layer players the character needs: the most image layers any function
  // shows at once.
  int Validate();

 private:
  void ResolveConditionEvents();
  void ResolveHitEvents();
  void CheckImageEntries(SCRIPT_TYPE type, ECharaSoundChannel rowChannel);
  void ResolveTextLayers();
  void ResolveBalloons();
  int ResolveFunctions();

  // Loads the entry's image and each row's own image, checks every row's cell against
  // its image, and loads each row's sound into `rowChannel`.
  void CheckImageEntry(const CCreateFuncInfo& entry, ECharaSoundChannel rowChannel);
  void CheckCellInImage(const CImageStripConfig& strip, const CFuncParam& row, int imageWidth, int imageHeight);
  int EvaluateCell(const CImageStripConfig& strip, const CFuncExpression& expression);

  // Resolves `list` into `out` and drops the names; an unknown name raises
  // folder + "の" + owner + "の" + key + "に存在しない関数" + name + "が指定されています。".
  void ResolveList(COptionalNameList& list, CWeightMap& out, const std::u16string& owner, std::u16string_view key);
  // The motion of `motionType` named `motionName`, whose id is stored in `motionId`;
  // without a match, the motion `motionId` already names. Throws the FuncNameMotion
  // failure for `owner` when there is neither.
  const CCreateFuncInfo& ResolveMotion(SCRIPT_TYPE motionType, const std::u16string& owner,
                                       const std::u16string& motionName, int& motionId) const;
  // The entry of `type` named `name`, or null.
  CCreateFuncInfo* EntryOfType(SCRIPT_TYPE type, const std::u16string& name) const;
  // Each name that is an entry of `type` gives that entry's id; others are skipped.
  std::vector<int> IdsOfType(SCRIPT_TYPE type, const CNameList& names) const;
  // Throws when a layer's cell is wider or higher than the motion's.
  void CheckLayersFitMotion(const CRootConfig& owner, const CRootConfig& motion, const std::vector<int>& layerIds,
                            SCRIPT_TYPE layerType) const;

  void LoadSound(ECharaSoundChannel channel, const std::u16string& name);
  const SCursorImage* LoadCursor(const std::u16string& name);
  [[noreturn]] void Fail(std::u16string_view name, std::u16string_view tail) const;

  CCreateFuncInfoMap& definition_;
  CCharaMedia& media_;
  std::u16string folderName_;
  SCharaPaths paths_;
  IFunctionHitTestSetUp* hitTest_;
  const CRootConfig* checking_ = nullptr;  // the entry a failure is reported against
  std::unique_ptr<CScriptEvaluator> evaluator_;
};
