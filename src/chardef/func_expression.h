#pragma once
// CFuncExpression: an expression of a register entry, kept as written and as the tokens
// it was compiled into when the definition was built. Runtime callers that substitute
// position keywords in place compile the source again first.
#include <string>
#include <string_view>

#include "script/token.h"

class CFuncExpression {
 public:
  CFuncExpression() = default;

  // Replaces source and tokens. Throws EScriptError when the text does not tokenize;
  // the expression is then left empty.
  void Compile(std::u16string_view text);
  // As Compile, with the identifiers Width and Height replaced by the integers given:
  // the cell size of the entry a row belongs to.
  void CompileWithSize(std::u16string_view text, int width, int height);

  const std::u16string& Source() const { return source_; }
  const CTokenList& Tokens() const { return tokens_; }
  bool Empty() const { return tokens_.empty(); }

 private:
  std::u16string source_;
  CTokenList tokens_;
};
