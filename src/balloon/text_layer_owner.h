#pragma once
// What a text layer needs from the balloon it types into: the character's evaluator,
// the balloon's area expressions, its open state and the requests to open and close
// it, the registers its style names refer to, fonts, errors and the trace.
#include <string>

#include "platform/text.h"

class CCreateFuncInfoMap;
class CFuncExpression;
class CGlyphCache;
class CScriptEvaluator;

// The balloon's open state.
enum EBalloonOpenState : int {
  BALLOON_OPEN = 1,
  BALLOON_CLOSED = 2,
  BALLOON_OPENING = 3,
  BALLOON_CLOSING = 4,
};

class ITextLayerOwner {
 public:
  virtual ~ITextLayerOwner() = default;
  virtual CScriptEvaluator& Evaluator() = 0;
  // The value of a text-area expression with the balloon's size variables bound.
  // Throws EScriptError.
  virtual double EvaluateArea(const CFuncExpression& expression) = 0;
  virtual int OpenState() const = 0;
  // Opening or closing at `sizeStep` and `opacityStep` per frame (fractions of 1).
  virtual void RequestOpen(double sizeStep, double opacityStep) = 0;
  virtual void RequestClose(double sizeStep, double opacityStep) = 0;
  virtual const CCreateFuncInfoMap& Registers() const = 0;
  virtual IText& Text() = 0;
  virtual CGlyphCache& Glyphs() = 0;
  // A script error of the running balloon function: the character reports it as its
  // name, "の", the function's name and `message`.
  virtual void ReportScriptError(const std::u16string& message) = 0;
  // A text statement of layer `layer` starts showing `text`.
  virtual void TextStarted(int layer, const std::u16string& text) = 0;
};
