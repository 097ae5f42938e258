#pragma once
// CFuncParam: one row of a motion or image layer — one animation step. The five
// expressions are, in order: the cell's x and y in the image, the movement in x and y
// per frame, and the number of frames the step shows.
#include <array>
#include <string>

#include "chardef/func_expression.h"
#include "chardef/root_config.h"

class CFuncParam : public CRootParam {
 public:
  static constexpr int kExpressionCount = 5;
  enum Column : int { kCellX = 0, kCellY, kMoveX, kMoveY, kFrames };

  std::array<CFuncExpression, kExpressionCount> expressions;
  std::u16string imageName;  // replaces the entry's image for this step when set
  std::u16string soundName;  // played when the step begins
};
