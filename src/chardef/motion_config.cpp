#include "chardef/motion_config.h"

#include <climits>
#include <memory>
#include <optional>

#include "chardef/func_info.h"
#include "chardef/func_list.h"
#include "chardef/register_build_context.h"
#include "chardef/register_messages.h"
#include "support/number.h"

namespace {

// A given cell size: a strict integer whose sign says whether to mirror. The most
// negative integer has no positive counterpart and is rejected like any bad number.
int ReadCellSize(std::u16string_view text, bool& flip) {
  const int value = ToSigned(text);
  if (value == INT_MIN) throw EConvertError{};
  if (value < 0) flip = true;
  return value < 0 ? -value : value;
}

void ApplyFlip(std::u16string_view flip, CImageStripConfig& config) {
  if (flip == u"H" || flip == u"HV") config.flipHorizontal = true;
  if (flip == u"V" || flip == u"HV") config.flipVertical = true;
}

}  // namespace

void ReadImageStrip(CRegisterBuildContext& context, const CScriptParam& block, CImageStripConfig& config) {
  config.imageName = block.ValueOf(u"ImageName");
  const std::u16string width = block.ValueOf(u"Width");
  const std::u16string height = block.ValueOf(u"Height");
  if (width.empty() || height.empty()) {
    const std::optional<SImageSize> size = context.ImageSize(config.imageName);
    if (!size) {
      const std::u16string& folder = context.FolderName();
      throw ERegisterBlockFailure{
          RegisterMessage(folder, config.name, RegisterMessage(folder, config.imageName, kMsgCannotLoad))};
    }
    if (width.empty()) config.width = size->width;
    if (height.empty()) config.height = size->height;
  }
  if (!width.empty()) config.width = ReadCellSize(width, config.flipHorizontal);
  if (!height.empty()) config.height = ReadCellSize(height, config.flipVertical);
  ApplyFlip(block.ValueOf(u"Flip"), config);
}

void ReadImageStripRows(const CScriptParam& block, CCreateFuncInfo& entry) {
  const int width = entry.Config().width;
  const int height = entry.Config().height;
  for (const ScriptRow& fields : block.Rows()) {
    auto row = std::make_unique<CFuncParam>();
    for (size_t column = 0; column < CFuncParam::kExpressionCount; ++column) {
      const std::u16string_view text = column < fields.size() ? std::u16string_view(fields[column]) : u"";
      row->expressions[column].CompileWithSize(text, width, height);
    }
    // Column 6 is read after column 5, so it wins when both name the same kind.
    for (size_t column = CFuncParam::kExpressionCount; column < CFuncParam::kExpressionCount + 2; ++column) {
      if (column >= fields.size()) break;
      if (IsImageName(fields[column])) row->imageName = fields[column];
      if (IsSoundName(fields[column])) row->soundName = fields[column];
    }
    entry.Rows().push_back(std::move(row));
  }
}

void BuildMotionBlock(CRegisterBuildContext& context, const CScriptParam& block, SCRIPT_TYPE registerType) {
  BuildBlock(context, block, [&] {
    auto config = std::make_unique<CMotionConfig>(registerType, block.FuncName());
    context.RequireFreeName(config->name);
    ReadImageStrip(context, block, *config);
    auto entry = std::make_unique<CCreateFuncInfo>(std::move(config));
    ReadImageStripRows(block, *entry);
    context.Definition().Register(std::move(entry));
  });
}
