#pragma once
// CPositionExpression: a coordinate written around one screen-position keyword, such as
// 10 + LINE_LEFT - 5. The offsets around the keyword are in unscaled script units and
// are multiplied by the display scale; the keyword's value, a screen coordinate from
// the keyword map, is not.
#include <span>

#include "script/token.h"

class CScriptEvaluator;

// Binds keyword `kind` in `map` to `value`, truncated to an integer within int range;
// the token is made on first use and reused afterwards.
void SetPositionKeyword(CKeywordMap& map, int kind, double value);

class CPositionExpression {
 public:
  explicit CPositionExpression(CScriptEvaluator& evaluator) : evaluator_(evaluator) {}

  // lead × scale + keyword + tail × scale, each part evaluated separately with the
  // keywords of `map` substituted; an empty part, a part that begins with "=", and a
  // keyword missing from the map contribute 0. Throws EScriptError for an empty list,
  // two position keywords, or an operator beside the keyword other than "+" or "-".
  // Allocates nothing once the parts have held tokens of the same size.
  double Evaluate(const CTokenList& tokens, const CKeywordMap& map, double scale);

 private:
  // A part's tokens live in a list that only grows, so the tokens' text buffers are
  // reused from one evaluation to the next; `count` says how many are in use.
  struct SPart {
    CTokenList tokens;
    size_t count = 0;
    std::span<const CToken> InUse() const { return std::span<const CToken>(tokens).first(count); }
  };

  double PartValue(const SPart& part);

  CScriptEvaluator& evaluator_;
  SPart lead_;
  SPart keyword_;
  SPart tail_;
};
