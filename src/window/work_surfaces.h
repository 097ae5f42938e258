#pragma once
// The two surfaces every character and balloon paints through, owned by the application
// and used by one window at a time on the frame thread: the layer surface (the largest
// character's size) and the output surface (that size at the largest scale in use). Both
// are sized once, cleared, and never reallocated, so painting allocates nothing.
#include "media/pixel_surface.h"
#include "window/scaler.h"

class CWorkSurfaces {
 public:
  // `maxWidth` × `maxHeight` is the largest character; `maxScale` the largest display
  // scale the settings can reach (at least 2.0, the largest in the menu).
  CWorkSurfaces(int maxWidth, int maxHeight, double maxScale);

  CPixelSurface& Layer() { return layer_; }
  CPixelSurface& Output() { return output_; }
  CScaler& Scaler() { return scaler_; }

  // The output size for a character of width × height at `scale`, as the surface holds it.
  static int ScaledSide(int side, double scale);

 private:
  CPixelSurface layer_;
  CPixelSurface output_;
  CScaler scaler_;
};
