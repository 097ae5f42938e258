#include "window/work_surfaces.h"

#include <algorithm>
#include <cmath>

namespace {
// The surfaces never go below the 200 % of the menu's largest entry.
constexpr double kSmallestMaxScale = 2.0;
}  // namespace

int CWorkSurfaces::ScaledSide(int side, double scale) {
  return static_cast<int>(std::ceil(static_cast<double>(side) * scale));
}

CWorkSurfaces::CWorkSurfaces(int maxWidth, int maxHeight, double maxScale)
    : layer_(maxWidth, maxHeight),
      output_(ScaledSide(maxWidth, std::max(maxScale, kSmallestMaxScale)),
              ScaledSide(maxHeight, std::max(maxScale, kSmallestMaxScale))),
      scaler_(output_.Width()) {}
