#include "chardef/register_build_context.h"

#include "chardef/register_messages.h"
#include "script/script_error.h"
#include "script/script_evaluator.h"
#include "script/tokenizer.h"
#include "support/number.h"

CRegisterBuildContext::CRegisterBuildContext(CCreateFuncInfoMap& definition, std::u16string folderName,
                                             ImageSizeLookup imageSizes)
    : definition_(definition), folderName_(std::move(folderName)), imageSizes_(std::move(imageSizes)) {}

CRegisterBuildContext::~CRegisterBuildContext() = default;

std::optional<SImageSize> CRegisterBuildContext::ImageSize(const std::u16string& imageName) const {
  if (!imageSizes_) return std::nullopt;
  return imageSizes_(imageName);
}

int CRegisterBuildContext::EvaluateOnce(std::u16string_view text) {
  CTokenizer tokenizer;
  tokenizer.Tokenize(text);
  if (!evaluator_) evaluator_ = std::make_unique<CScriptEvaluator>();
  const CValue* value = evaluator_->Evaluate(tokenizer.Tokens());
  return value == nullptr ? 0 : value->GetInt();
}

void CRegisterBuildContext::RequireFreeName(const std::u16string& name) const {
  if (definition_.HasName(name)) throw ERegisterBlockFailure{RegisterMessage(folderName_, name, kMsgDuplicateName)};
}

void BuildBlock(CRegisterBuildContext& context, const CScriptParam& block, const std::function<void()>& build) {
  std::u16string message;
  try {
    build();
    return;
  } catch (const ERegisterBlockFailure& failure) {
    message = failure.message;
  } catch (const EConvertError&) {
    message = RegisterMessage(context.FolderName(), block.FuncName(), kMsgInvalidNumber);
  } catch (const EScriptError& error) {
    message = RegisterMessage(context.FolderName(), block.FuncName(), error.Message());
  }
  context.Definition().Latch().Report(block.Origin(), std::move(message));
}
