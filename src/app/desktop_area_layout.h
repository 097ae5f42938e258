#pragma once
// The rules of the move-range window, as pure functions of its rectangle (desktop
// pixels): how far a drag may move or size it, the two lines of text it shows, where its
// four buttons sit, and the rectangles its largest- and smallest-area buttons choose.
#include <string>

#include "platform/geometry.h"

// The window is never made narrower or lower than this by dragging its borders.
inline constexpr int kAreaMinimumSide = 320;
inline constexpr int kAreaButtonWidth = 120;
inline constexpr int kAreaButtonHeight = 40;

enum EAreaButton : int {
  AREA_BUTTON_CONFIRM = 0,   // "決定": the rectangle becomes the move range
  AREA_BUTTON_CANCEL = 1,    // "キャンセル"
  AREA_BUTTON_LARGEST = 2,   // "最大領域": the whole desktop
  AREA_BUTTON_SMALLEST = 3,  // "最小領域": 320 × 320 around the centre
  AREA_BUTTON_COUNT = 4,
};

// A border drag to `proposed`, where the window was `last`: each edge stays on the
// desktop, and a side that would be 320 or less becomes 320 again by putting back the
// edge that moved. Only a proposal that moved both opposite edges can leave the desktop
// then; it is shifted back inside.
SRect ClampAreaSizing(const SRect& proposed, const SRect& last, const SRect& desktop);
// A drag of the whole window to `proposed`: an edge beyond the desktop's shifts the
// window back so it lies on that edge; the size is kept.
SRect ClampAreaMove(const SRect& proposed, const SRect& desktop);
// 320 × 320 around the centre of `rect`.
SRect SmallestArea(const SRect& rect);

// "X座標 : LEFT  Y座標 : TOP" and "幅 : WIDTH  高さ : HEIGHT".
std::u16string AreaPositionText(const SRect& rect);
std::u16string AreaSizeText(const SRect& rect);
// The tops of those two lines in client pixels (each line is centred across).
int AreaPositionTextTop(int clientHeight);
int AreaSizeTextTop(int clientHeight);

// The text and the client rectangle of button `button` in a window of the given size.
std::u16string AreaButtonText(int button);
SRect AreaButtonBounds(int button, int clientWidth, int clientHeight);
