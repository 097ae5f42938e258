#pragma once
// CScriptEvaluator: computes the value of a token list with an operator-precedence
// (two-stack) algorithm and calls the built-in functions on the way. One per
// character; not safe for concurrent use. After construction an evaluation allocates
// nothing: values come from fixed pools, the stacks from fixed arrays.
#include <array>
#include <span>

#include "script/token.h"
#include "script/value.h"
#include "script/value_pools.h"

// The balloon text layer a text command acts upon; defined with the text layers.
class ITextLayerTarget;

class CScriptEvaluator {
 public:
  // Entries of both stacks shared by all nested evaluations of one top-level call.
  static constexpr int kStackCapacity = 1024;
  // Built-in calls nested inside each other's arguments.
  static constexpr int kMaxCallDepth = 64;

  CScriptEvaluator() = default;
  CScriptEvaluator(const CScriptEvaluator&) = delete;
  CScriptEvaluator& operator=(const CScriptEvaluator&) = delete;

  // Evaluates `tokens` from the start and returns the value, valid until the next
  // evaluation on this evaluator begins. A list that begins with "=" is evaluated from
  // its second token and gives null (no value). Throws EScriptError.
  const CValue* Evaluate(std::span<const CToken> tokens, ITextLayerTarget* target = nullptr);

  // For built-in handlers: evaluates one argument from the read position; "," or an
  // unmatched ")" ends it and stays to be read next.
  const CValue& EvaluateArgument();
  // Returns the token at the read position and advances; past the end, the end token.
  const CToken& ReadToken();
  const CToken& PeekToken() const;

  CValuePools& Pools() { return pools_; }
  ITextLayerTarget* TextLayerTarget() const { return target_; }

  // Overwrites every token whose kind is a key of `map` with a copy of the mapped token.
  // In place: tokenize again before substituting other values.
  static void SubstituteKeywords(CTokenList& tokens, const CKeywordMap& map);

 private:
  const CValue& EvaluateFrom(bool argumentMode);
  const CValue& CallBuiltin();
  void ApplyTopOperator(int valueBase);
  void PushValue(const CValue& value);
  void PushOperator(int kind);
  const CValue& PopValue() { return *values_[static_cast<size_t>(--valueTop_)]; }

  CValuePools pools_;
  std::span<const CToken> tokens_;
  size_t readPos_ = 0;
  ITextLayerTarget* target_ = nullptr;
  std::array<const CValue*, kStackCapacity> values_{};
  std::array<int, kStackCapacity> operators_{};
  int valueTop_ = 0;
  int operatorTop_ = 0;
  int callDepth_ = 0;
};
