#pragma once
// CMover: where a window is (its top-left corner in screen pixels), how large its
// picture is, and the scale and opacity it is drawn with. The displayed size is kept by
// the derived movers, because a balloon's also depends on its opening animation.
// The frame thread moves and sizes the window while the window thread's mouse handlers
// read where it is and how large (hit areas, the cursor), so the values are atomic.
#include <atomic>

class CMover {
 public:
  CMover() = default;
  virtual ~CMover() = default;
  CMover(const CMover& other) { *this = other; }
  CMover& operator=(const CMover& other);

  virtual double GetX() const { return x_; }
  virtual double GetY() const { return y_; }
  // The unscaled size of the picture (the motion's size).
  virtual int GetWidth() const { return width_; }
  virtual int GetHeight() const { return height_; }
  virtual double GetScale() const { return scale_; }
  virtual double GetOpacity() const { return opacity_; }
  virtual void SetPosition(double x, double y);
  virtual void SetSize(int width, int height);
  virtual void SetScale(double scale) { scale_ = scale; }
  // Clamped to 0 … 1.
  virtual void SetOpacity(double opacity);

  // The size as drawn.
  double DisplayedWidth() const { return displayedWidth_; }
  double DisplayedHeight() const { return displayedHeight_; }

 protected:
  void SetDisplayedSize(double width, double height);

  std::atomic<double> x_ = 0.0;
  std::atomic<double> y_ = 0.0;
  std::atomic<int> width_ = 1;
  std::atomic<int> height_ = 1;
  std::atomic<double> scale_ = 1.0;
  std::atomic<double> opacity_ = 1.0;
  std::atomic<double> displayedWidth_ = 1.0;
  std::atomic<double> displayedHeight_ = 1.0;
};
