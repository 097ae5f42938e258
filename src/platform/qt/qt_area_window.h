#pragma once
// The move-range window on Qt Widgets: a frameless, semi-transparent tool window that
// stays on top, paints a light background with a dark 1-pixel border and the view's
// text lines, and has a push button per view button. Dragging its background moves it
// and dragging within a few pixels of its edges resizes it; every step goes through the
// handler, whose answer is where the window goes. Main (GUI) thread only; a QApplication
// must exist while it is used, and the object must go before it.
#include "platform/dialog_model.h"
#include "platform/geometry.h"

class QWidget;
class CQtAreaWidget;

class CQtAreaWindow final : public IAreaWindow {
 public:
  // Creates the window, hidden.
  explicit CQtAreaWindow(IAreaWindowHandler& handler);
  ~CQtAreaWindow() override;
  CQtAreaWindow(const CQtAreaWindow&) = delete;
  CQtAreaWindow& operator=(const CQtAreaWindow&) = delete;

  void Show(const SAreaView& view) override;
  void Hide() override;
  void Destroy() override;

  // For tests: the window, null once destroyed; its buttons carry their ids in the
  // dynamic property "buttonId".
  QWidget* Widget() const;
  bool Alive() const { return widget_ != nullptr; }

 private:
  CQtAreaWidget* widget_ = nullptr;
};

// How far from an edge a press resizes instead of moving, in pixels.
constexpr int kAreaSizingBorder = 6;

// Which edges a press at `x`, `y` of a `width` × `height` window drags: the bits of
// EAreaEdge, 0 to move the whole window.
enum EAreaEdge : unsigned { kAreaEdgeLeft = 1, kAreaEdgeTop = 2, kAreaEdgeRight = 4, kAreaEdgeBottom = 8 };
unsigned AreaEdgesAt(int x, int y, int width, int height);

// The rectangle a drag by `dx`, `dy` proposes for a window that was at `start` when the
// drag began: moved, when `edges` is 0, else with the dragged edges moved.
SRect AreaDragProposal(const SRect& start, unsigned edges, int dx, int dy);
