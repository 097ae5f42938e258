#pragma once
// CStrokeParam: the counters of a STROKE_CURSOR hit event. The event fires when the
// cursor takes enough distinct positions over its area within a window of frames.
class CStrokeParam {
 public:
  static constexpr int kRequiredMoves = 15;
  static constexpr int kWindowFrames = 30;

  int lastCursorX = 0;
  int lastCursorY = 0;
  int moveCount = 0;
  int frameCount = 0;
  int requiredMoves = kRequiredMoves;
  int windowFrames = kWindowFrames;
};
