#pragma once
// Tokenize-and-evaluate in one call, with the result written the way zelvotta-tool eval
// prints it, so expectations read as "int 7" or "error <message>".
#include <string>

#include "script/script_error.h"
#include "script/script_evaluator.h"
#include "script/tokenizer.h"
#include "support/utf.h"

inline std::string Describe(const CValue* value) {
  if (!value) return "none";
  switch (value->GetType()) {
    case VALUE_INT: return "int " + std::to_string(value->GetInt());
    case VALUE_STR: return "string " + ToUtf8(value->GetStr());
    case VALUE_BOOL: return value->GetBool() ? "bool TRUE" : "bool FALSE";
    default: return "empty";
  }
}

// Tokenizes `text`, substitutes `map` when given, evaluates, and describes the result.
inline std::string Eval(CScriptEvaluator& evaluator, const std::string& text, const CKeywordMap* map = nullptr) {
  try {
    CTokenizer tokenizer;
    tokenizer.Tokenize(FromUtf8(text));
    if (map) CScriptEvaluator::SubstituteKeywords(tokenizer.Tokens(), *map);
    return Describe(evaluator.Evaluate(tokenizer.Tokens()));
  } catch (const EScriptError& error) {
    return "error " + ToUtf8(error.Message());
  }
}

// A keyword map entry giving `kind` the integer `value`.
inline void MapInt(CKeywordMap& map, int kind, int value) {
  map.Add(kind, new CToken{INTEGER, value, FromUtf8(std::to_string(value))});
}
