#include "app/desktop_area_layout.h"

#include <algorithm>
#include <string>

#include "support/utf.h"

namespace {

std::u16string Decimal(int value) { return FromUtf8(std::to_string(value)); }

// Shifts `low`..`high` so it lies within `min`..`max` when it fits there.
void ShiftInside(int& low, int& high, int min, int max) {
  if (high - low > max - min) return;
  if (low < min) {
    high += min - low;
    low = min;
  } else if (high > max) {
    low -= high - max;
    high = max;
  }
}

// One axis of a border drag.
void ClampSizingAxis(int& low, int& high, int lastLow, int lastHigh, int min, int max) {
  low = std::max(low, min);
  high = std::min(high, max);
  if (high - low <= kAreaMinimumSide) {
    if (low != lastLow) {
      low = high - kAreaMinimumSide;
    } else if (high != lastHigh) {
      high = low + kAreaMinimumSide;
    }
  }
  ShiftInside(low, high, min, max);
}

// One axis of a move.
void ClampMoveAxis(int& low, int& high, int min, int max) {
  if (low <= min) {
    high += min - low;
    low = min;
  }
  if (high >= max) {
    low -= high - max;
    high = max;
  }
}

}  // namespace

SRect ClampAreaSizing(const SRect& proposed, const SRect& last, const SRect& desktop) {
  SRect rect = proposed;
  ClampSizingAxis(rect.left, rect.right, last.left, last.right, desktop.left, desktop.right);
  ClampSizingAxis(rect.top, rect.bottom, last.top, last.bottom, desktop.top, desktop.bottom);
  return rect;
}

SRect ClampAreaMove(const SRect& proposed, const SRect& desktop) {
  SRect rect = proposed;
  ClampMoveAxis(rect.left, rect.right, desktop.left, desktop.right);
  ClampMoveAxis(rect.top, rect.bottom, desktop.top, desktop.bottom);
  return rect;
}

SRect SmallestArea(const SRect& rect) {
  const int half = kAreaMinimumSide / 2;
  const int x = rect.right - rect.Width() / 2 - half;
  const int y = rect.bottom - rect.Height() / 2 - half;
  return {x, y, x + kAreaMinimumSide, y + kAreaMinimumSide};
}

std::u16string AreaPositionText(const SRect& rect) {
  return u"X座標 : " + Decimal(rect.left) + u"  Y座標 : " + Decimal(rect.top);
}

std::u16string AreaSizeText(const SRect& rect) {
  return u"幅 : " + Decimal(rect.Width()) + u"  高さ : " + Decimal(rect.Height());
}

int AreaPositionTextTop(int clientHeight) { return clientHeight / 2 - 145; }
int AreaSizeTextTop(int clientHeight) { return clientHeight / 2 - 120; }

std::u16string AreaButtonText(int button) {
  switch (button) {
    case AREA_BUTTON_CONFIRM: return u"決定";
    case AREA_BUTTON_CANCEL: return u"キャンセル";
    case AREA_BUTTON_LARGEST: return u"最大領域";
    case AREA_BUTTON_SMALLEST: return u"最小領域";
    default: return {};
  }
}

SRect AreaButtonBounds(int button, int clientWidth, int clientHeight) {
  const int x = clientWidth / 2 - kAreaButtonWidth / 2;
  const int y = clientHeight / 2 - 95 + 50 * button;
  return {x, y, x + kAreaButtonWidth, y + kAreaButtonHeight};
}
