#pragma once
// CToken: one lexical token of an expression, and the token list the evaluator reads.
#include <cstdint>
#include <string>
#include <vector>

#include "script/vocabulary.h"
#include "support/vector_map.h"

struct CToken {
  int32_t kind = TOKEN_NONE;  // a TOKEN value
  int32_t value = 0;          // the number of an INTEGER token, else 0
  std::u16string text;        // name, digits, string contents or operator text
};

using CTokenList = std::vector<CToken>;

// Keyword substitution: token kind -> the token that replaces it (owned by the map).
using CKeywordMap = CVectorMap<int, CToken*, true>;

// What reading past the end of a token list yields: TOKEN_NONE, 0, empty text.
const CToken& EndToken();
