#include "script/text_commands.h"

#include <string>

#include "script/name_tables.h"
#include "script/script_error.h"
#include "script/script_evaluator.h"
#include "script/script_messages.h"
#include "script/text_layer_target.h"

namespace {

constexpr int kFullStep = 100;

bool NoArgument(const CScriptEvaluator& evaluator) { return evaluator.PeekToken().kind == SEP_CLOSE_PAREN; }

// The target with the command's kind recorded, or null when there is none.
ITextLayerTarget* Record(CScriptEvaluator& evaluator, int kind) {
  ITextLayerTarget* target = evaluator.TextLayerTarget();
  if (target) target->SetElement(kind, target->StatementIndex());
  return target;
}

// The text of one argument, in the pools' scratch buffer so a statement costs no
// allocation.
const std::u16string& ArgumentText(CScriptEvaluator& evaluator) {
  const CValue& argument = evaluator.EvaluateArgument();
  std::u16string& text = evaluator.Pools().Scratch();
  argument.AppendStrTo(text);
  return text;
}

// Open and Close: (), (a) or (a, b).
const CValue& RunResize(CScriptEvaluator& evaluator, int kind, int builtin) {
  ITextLayerTarget* target = Record(evaluator, kind);
  if (!target) return CValue::Empty();
  if (NoArgument(evaluator)) {
    target->SetResizeSteps(kFullStep, kFullStep);
    return CValue::Empty();
  }
  const int sizeStep = evaluator.EvaluateArgument().GetInt();
  if (NoArgument(evaluator)) {
    target->SetResizeSteps(sizeStep, kFullStep);
    return CValue::Empty();
  }
  if (evaluator.ReadToken().kind != SEP_COMMA) {
    throw EScriptError(MalformedCallMessage(NameOf(kBuiltinNames, builtin)));
  }
  const int opacityStep = evaluator.EvaluateArgument().GetInt();
  target->SetResizeSteps(sizeStep, opacityStep);
  return CValue::Empty();
}

}  // namespace

const CValue& RunOpenCommand(CScriptEvaluator& evaluator) {
  return RunResize(evaluator, TEXT_PARAM_OPEN, BUILTIN_OPEN);
}

const CValue& RunCloseCommand(CScriptEvaluator& evaluator) {
  return RunResize(evaluator, TEXT_PARAM_CLOSE, BUILTIN_CLOSE);
}

const CValue& RunClearCommand(CScriptEvaluator& evaluator) {
  Record(evaluator, TEXT_PARAM_CLEAR);
  return CValue::Empty();
}

const CValue& RunWaitCommand(CScriptEvaluator& evaluator) {
  ITextLayerTarget* target = Record(evaluator, TEXT_PARAM_WAIT);
  if (!target) return CValue::Empty();
  target->SetWaitFrames(NoArgument(evaluator) ? 0 : evaluator.EvaluateArgument().GetInt());
  return CValue::Empty();
}

const CValue& RunSetTextStyleCommand(CScriptEvaluator& evaluator) {
  ITextLayerTarget* target = Record(evaluator, TEXT_PARAM_SET_TEXT_STYLE);
  if (target && !NoArgument(evaluator)) target->SelectTextStyle(ArgumentText(evaluator));
  return CValue::Empty();
}

const CValue& RunSetFontCommand(CScriptEvaluator& evaluator) {
  ITextLayerTarget* target = Record(evaluator, TEXT_PARAM_SET_FONT);
  if (!target || NoArgument(evaluator)) return CValue::Empty();
  const std::u16string& face = ArgumentText(evaluator);
  if (!face.empty()) target->SetFontFace(face);
  return CValue::Empty();
}

const CValue& RunSetFontColorCommand(CScriptEvaluator& evaluator) {
  ITextLayerTarget* target = Record(evaluator, TEXT_PARAM_SET_FONT_COLOR);
  if (!target || NoArgument(evaluator)) return CValue::Empty();
  const std::u16string& colour = ArgumentText(evaluator);
  if (!colour.empty()) target->SetFontColor(colour);
  return CValue::Empty();
}

const CValue& RunSetFontSizeCommand(CScriptEvaluator& evaluator) {
  ITextLayerTarget* target = Record(evaluator, TEXT_PARAM_SET_FONT_SIZE);
  if (!target || NoArgument(evaluator)) return CValue::Empty();
  const int size = evaluator.EvaluateArgument().GetInt();
  if (size > 0) target->SetFontSize(size);
  return CValue::Empty();
}

const CValue& RunSetSpeedCommand(CScriptEvaluator& evaluator) {
  ITextLayerTarget* target = Record(evaluator, TEXT_PARAM_SET_SPEED);
  if (!target || NoArgument(evaluator)) return CValue::Empty();
  const int speed = evaluator.EvaluateArgument().GetInt();
  if (speed > 0) target->SetSpeed(speed);
  return CValue::Empty();
}
