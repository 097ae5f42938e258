#pragma once
// CMover: where a window is (its top-left corner in screen pixels), how large its
// picture is, and the scale and opacity it is drawn with. The displayed size is kept by
// the derived movers, because a balloon's also depends on its opening animation.
class CMover {
 public:
  CMover() = default;
  virtual ~CMover() = default;

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

  double x_ = 0.0;
  double y_ = 0.0;
  int width_ = 1;
  int height_ = 1;
  double scale_ = 1.0;
  double opacity_ = 1.0;
  double displayedWidth_ = 1.0;
  double displayedHeight_ = 1.0;
};
