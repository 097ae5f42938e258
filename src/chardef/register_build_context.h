#pragma once
// What a register builder works with: the definition it fills, the character's folder
// name for messages, the image sizes of the character's media set, and an evaluator
// for the values computed once while building. BuildBlock turns a block's failure into
// its message on the error latch.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "chardef/func_info_map.h"
#include "script/script_param.h"

class CScriptEvaluator;

struct SImageSize {
  int width = 0;
  int height = 0;
};

// The size of an image named relative to the images folder, loaded through the
// character's image cache; no value when it cannot be loaded.
using ImageSizeLookup = std::function<std::optional<SImageSize>(const std::u16string& imageName)>;

// A block that cannot be built, with its whole message.
struct ERegisterBlockFailure {
  std::u16string message;
};

class CRegisterBuildContext {
 public:
  // Without `imageSizes`, every image reads as not loadable.
  CRegisterBuildContext(CCreateFuncInfoMap& definition, std::u16string folderName, ImageSizeLookup imageSizes = {});
  ~CRegisterBuildContext();
  CRegisterBuildContext(const CRegisterBuildContext&) = delete;
  CRegisterBuildContext& operator=(const CRegisterBuildContext&) = delete;

  CCreateFuncInfoMap& Definition() { return definition_; }
  const std::u16string& FolderName() const { return folderName_; }
  std::optional<SImageSize> ImageSize(const std::u16string& imageName) const;

  // The integer value of `text` as an expression, evaluated now; 0 for an expression
  // that gives no value (one that begins with "="). Throws EScriptError.
  int EvaluateOnce(std::u16string_view text);

  // Throws the duplicate-name failure when `name` is registered already.
  void RequireFreeName(const std::u16string& name) const;

 private:
  CCreateFuncInfoMap& definition_;
  std::u16string folderName_;
  ImageSizeLookup imageSizes_;
  std::unique_ptr<CScriptEvaluator> evaluator_;  // made on first use: it is large
};

// Runs `build` for `block`. A failure — ERegisterBlockFailure, EConvertError (the
// number message) or EScriptError (its text after the block's name) — goes to the
// definition's latch with the block's origin; whatever the block built is dropped.
void BuildBlock(CRegisterBuildContext& context, const CScriptParam& block, const std::function<void()>& build);
