#pragma once
// CTokenizer: turns one expression's text into tokens, once, when a character's
// definition is built. This is the only place that decides the surface syntax.
#include <cstddef>
#include <string>
#include <string_view>

#include "script/token.h"

class CTokenizer {
 public:
  // No expression that the evaluator's stacks and pools can hold has nearly this many
  // tokens; a longer one (a 10 MB line of "1+1+…") fails with the capacity error
  // instead of taking gigabytes for its token list.
  static constexpr size_t kMaxTokens = 65536;

  // Replaces the token list with the tokens of `text`. On a lexical error, or past
  // kMaxTokens tokens, throws EScriptError and keeps the tokens produced so far. Linear in the text's length
  // times the number of keywords and operators tried at each position.
  void Tokenize(std::u16string_view text);

  const CTokenList& Tokens() const { return tokens_; }
  CTokenList& Tokens() { return tokens_; }

 private:
  bool TryKeyword();
  bool TryBuiltinName();
  bool TryInteger();
  bool TryOperator();
  bool TrySeparator();
  bool TryString();
  bool TryBlank();
  void AppendSign(int kind);
  bool StartsWithHere(std::u16string_view word) const;

  CTokenList tokens_;
  std::u16string text_;  // the input with two NULs appended, so text_[pos_ + 1] is defined
  size_t pos_ = 0;
};
