#pragma once
// The entries that show an image strip: motions (MOTION_REG, BALLOON_MOTION_REG) and
// image layers (IMAGE_LAYER_REG, BALLOON_IMAGE_LAYER_REG). The base's width and height
// are the cell size, never negative; mirroring is kept in the flip flags.
#include <string>
#include <utility>

#include "chardef/func_expression.h"
#include "chardef/root_config.h"

class CImageStripConfig : public CRootConfig {
 public:
  using CRootConfig::CRootConfig;

  std::u16string imageName;  // relative to the images folder
  bool flipHorizontal = false;
  bool flipVertical = false;
};

class CMotionConfig : public CImageStripConfig {
 public:
  // `registerType` is MOTION_REG or BALLOON_MOTION_REG.
  CMotionConfig(SCRIPT_TYPE registerType, std::u16string entryName)
      : CImageStripConfig(registerType, std::move(entryName)) {}
};

class CCreateFuncInfo;
class CRegisterBuildContext;
class CScriptParam;

// Reads what motions and image layers share — image name, cell size with its
// mirroring, Flip — into `config`, and the block's rows into `entry`. Throws the
// block's failure (ERegisterBlockFailure, EConvertError, EScriptError).
void ReadImageStrip(CRegisterBuildContext& context, const CScriptParam& block, CImageStripConfig& config);
void ReadImageStripRows(const CScriptParam& block, CCreateFuncInfo& entry);

// Builds one MOTION_REG or BALLOON_MOTION_REG block (`registerType`) into the
// definition, or reports why it cannot.
void BuildMotionBlock(CRegisterBuildContext& context, const CScriptParam& block, SCRIPT_TYPE registerType);
