#include "script/position_expression.h"

#include <algorithm>

#include "script/name_tables.h"
#include "script/script_error.h"
#include "script/script_evaluator.h"
#include "script/script_messages.h"

namespace {

CToken& Slot(CTokenList& tokens, size_t index) {
  if (tokens.size() <= index) tokens.resize(index + 1);
  return tokens[index];
}

// Appends tokens[first, last) to the part, substituting mapped keywords.
template <class Part>
void AppendTokens(const CTokenList& tokens, size_t first, size_t last, const CKeywordMap& map, Part& part) {
  for (size_t i = first; i < last; ++i) {
    const CToken* replacement = map.Find(tokens[i].kind);
    Slot(part.tokens, part.count++) = replacement ? *replacement : tokens[i];
  }
}

// The operator beside the keyword must be "+" or "-"; a "-" starts the part with
// UNARY_MINUS.
template <class Part>
void AppendSign(const CToken& op, Part& part) {
  if (op.kind != OP_ADD && op.kind != OP_SUB) throw EScriptError(kMsgInvalidOperator);
  if (op.kind == OP_ADD) return;
  CToken& minus = Slot(part.tokens, part.count++);
  minus.kind = UNARY_MINUS;
  minus.value = 0;
  minus.text.assign(NameOf(kTokenNames, UNARY_MINUS));
}

}  // namespace

double CPositionExpression::PartValue(const SPart& part) {
  if (part.count == 0) return 0.0;
  const CValue* value = evaluator_.Evaluate(part.InUse());
  return value ? static_cast<double>(value->GetInt()) : 0.0;
}

double CPositionExpression::Evaluate(const CTokenList& tokens, const CKeywordMap& map, double scale) {
  if (tokens.empty()) throw EScriptError(kMsgNoValue);
  const size_t none = tokens.size();
  size_t keywordAt = none;
  for (size_t i = 0; i < tokens.size(); ++i) {
    if (!IsPositionKeywordKind(tokens[i].kind)) continue;
    if (keywordAt != none) throw EScriptError(kMsgInvalidValue);
    keywordAt = i;
  }
  lead_.count = keyword_.count = tail_.count = 0;

  if (keywordAt == none) {
    AppendTokens(tokens, 0, tokens.size(), map, lead_);
    return PartValue(lead_) * scale;
  }

  size_t leadEnd = 0;
  if (keywordAt > 0) {
    leadEnd = keywordAt - 1;
    AppendSign(tokens[leadEnd], keyword_);
  }
  AppendTokens(tokens, 0, leadEnd, map, lead_);
  // A keyword the caller did not map has no value to contribute.
  const bool mapped = map.IndexOf(tokens[keywordAt].kind) >= 0;
  AppendTokens(tokens, keywordAt, keywordAt + 1, map, keyword_);
  if (keywordAt + 1 < tokens.size()) {
    AppendSign(tokens[keywordAt + 1], tail_);
    AppendTokens(tokens, keywordAt + 2, tokens.size(), map, tail_);
  }
  const double keywordValue = mapped ? PartValue(keyword_) : 0.0;
  return PartValue(lead_) * scale + keywordValue + PartValue(tail_) * scale;
}

void SetPositionKeyword(CKeywordMap& map, int kind, double value) {
  const auto number = static_cast<int32_t>(std::clamp(value, -2147483648.0, 2147483647.0));
  if (CToken* token = map.Find(kind)) {
    token->value = number;
  } else {
    map.Add(kind, new CToken{INTEGER, number, {}});
  }
}
