#include "chardef/func_expression.h"

#include <string>

#include "script/script_evaluator.h"
#include "script/tokenizer.h"

namespace {

CToken* IntegerToken(int value) {
  std::u16string digits;
  for (char c : std::to_string(value)) digits += static_cast<char16_t>(c);
  return new CToken{INTEGER, value, std::move(digits)};
}

}  // namespace

void CFuncExpression::Compile(std::u16string_view text) {
  source_.clear();
  tokens_.clear();
  CTokenizer tokenizer;
  tokenizer.Tokenize(text);
  source_ = std::u16string(text);
  tokens_ = std::move(tokenizer.Tokens());
}

void CFuncExpression::CompileWithSize(std::u16string_view text, int width, int height) {
  Compile(text);
  CKeywordMap sizes;
  sizes.Add(KW_WIDTH, IntegerToken(width));
  sizes.Add(KW_HEIGHT, IntegerToken(height));
  CScriptEvaluator::SubstituteKeywords(tokens_, sizes);
}
