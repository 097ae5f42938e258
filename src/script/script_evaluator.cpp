#include "script/script_evaluator.h"

#include "script/builtins.h"
#include "script/name_tables.h"
#include "script/operator_priority.h"
#include "script/script_error.h"
#include "script/script_messages.h"

namespace {

[[noreturn]] void FailCapacity() { throw EScriptError(kMsgCapacityExceeded); }

// Keeps the nesting depth of built-in calls right when an evaluation returns.
class CCallDepthGuard {
 public:
  explicit CCallDepthGuard(int& depth) : depth_(depth) {
    if (depth_ >= CScriptEvaluator::kMaxCallDepth) FailCapacity();
    ++depth_;
  }
  ~CCallDepthGuard() { --depth_; }
  CCallDepthGuard(const CCallDepthGuard&) = delete;
  CCallDepthGuard& operator=(const CCallDepthGuard&) = delete;

 private:
  int& depth_;
};

}  // namespace

const CValue* CScriptEvaluator::Evaluate(std::span<const CToken> tokens, ITextLayerTarget* target) {
  pools_.Reset();
  tokens_ = tokens;
  target_ = target;
  readPos_ = 0;
  // A failed evaluation may have left its stacks and depth behind.
  valueTop_ = 0;
  operatorTop_ = 0;
  callDepth_ = 0;
  if (!tokens.empty() && tokens.front().kind == OP_ASSIGN) {
    readPos_ = 1;
    EvaluateFrom(false);
    return nullptr;
  }
  return &EvaluateFrom(false);
}

const CValue& CScriptEvaluator::EvaluateArgument() { return EvaluateFrom(true); }

const CToken& CScriptEvaluator::ReadToken() {
  const CToken& token = PeekToken();
  ++readPos_;
  return token;
}

const CToken& CScriptEvaluator::PeekToken() const {
  if (readPos_ >= tokens_.size()) return EndToken();
  return tokens_[readPos_];
}

void CScriptEvaluator::PushValue(const CValue& value) {
  if (valueTop_ >= kStackCapacity) FailCapacity();
  values_[static_cast<size_t>(valueTop_++)] = &value;
}

void CScriptEvaluator::PushOperator(int kind) {
  if (operatorTop_ >= kStackCapacity) FailCapacity();
  operators_[static_cast<size_t>(operatorTop_++)] = kind;
}

const CValue& CScriptEvaluator::EvaluateFrom(bool argumentMode) {
  CCallDepthGuard depth(callDepth_);
  // This (sub-)evaluation's stacks start above those of the evaluation that called it.
  const int valueBase = valueTop_;
  const int operatorBase = operatorTop_;
  PushValue(CValue::Empty());
  PushOperator(DUMMY_OPERATOR);

  for (;;) {
    const CToken& token = ReadToken();
    switch (token.kind) {
      case INTEGER: PushValue(pools_.MakeInt(token.value)); continue;
      case STRING: PushValue(pools_.MakeStr(token.text)); continue;
      case KW_TRUE: PushValue(pools_.MakeBool(true)); continue;
      case KW_FALSE: PushValue(pools_.MakeBool(false)); continue;
      case IDENTIFIER:
        if (PeekToken().kind == SEP_OPEN_PAREN) {
          --readPos_;
          PushValue(CallBuiltin());
        }
        continue;
      default: break;
    }

    const int incoming = (argumentMode && token.kind == SEP_COMMA) ? 0 : PriorityOf(token.kind).incoming;
    while (PriorityOf(operators_[static_cast<size_t>(operatorTop_ - 1)]).inStack > incoming) {
      ApplyTopOperator(valueBase);
    }
    const int top = operators_[static_cast<size_t>(operatorTop_ - 1)];
    if (PriorityOf(top).inStack < incoming) {
      PushOperator(token.kind);
      continue;
    }
    if (top == SEP_OPEN_PAREN) {
      if (token.kind != SEP_CLOSE_PAREN) throw EScriptError(kMsgUnclosedParenthesis);
      --operatorTop_;
      continue;
    }
    // The marker is on top: the terminating token is left for the caller to read.
    --readPos_;
    const CValue& result = *values_[static_cast<size_t>(valueTop_ - 1)];
    valueTop_ = valueBase;
    operatorTop_ = operatorBase;
    return result;
  }
}

void CScriptEvaluator::ApplyTopOperator(int valueBase) {
  const int op = operators_[static_cast<size_t>(--operatorTop_)];
  const SOperatorPriority priority = PriorityOf(op);
  // The empty value at the bottom counts as an operand; it fails when used.
  if (valueTop_ - valueBase < priority.arity) throw EScriptError(kMsgInvalidValue);
  switch (priority.arity) {
    case 1: {
      const CValue& operand = PopValue();
      PushValue(operand.OperateUnary(pools_, op));
      return;
    }
    case 2: {
      const CValue& right = PopValue();
      const CValue* left = &PopValue();
      if (op == SEP_COMMA) {
        PushValue(right);
        return;
      }
      // A string on the right turns the left operand into its decimal text.
      if (right.GetType() == VALUE_STR && left->GetType() != VALUE_STR) {
        CStrValue& text = pools_.MakeEmptyStr();
        AppendDecimal(text.Buffer(), left->GetInt());
        left = &text;
      }
      PushValue(left->Operate(pools_, op, right));
      return;
    }
    case 3: {
      const CValue& whenFalse = PopValue();
      const CValue& whenTrue = PopValue();
      const CValue& condition = PopValue();
      PushValue(condition.GetBool() ? whenTrue : whenFalse);
      return;
    }
    default:
      return;  // ":" only separates the branches of "?"
  }
}

const CValue& CScriptEvaluator::CallBuiltin() {
  const CToken& name = ReadToken();
  if (ReadToken().kind != SEP_OPEN_PAREN) throw EScriptError(MalformedCallMessage(name.text));
  const int index = FindBuiltin(name.text);
  if (index == kNameNotFound) throw EScriptError(NoSuchCommandMessage(name.text));
  const CValue& result = RunBuiltin(index, *this);
  if (ReadToken().kind != SEP_CLOSE_PAREN) throw EScriptError(UnclosedCallMessage(name.text));
  return result;
}

void CScriptEvaluator::SubstituteKeywords(CTokenList& tokens, const CKeywordMap& map) {
  for (CToken& token : tokens) {
    if (const CToken* replacement = map.Find(token.kind)) token = *replacement;
  }
}
