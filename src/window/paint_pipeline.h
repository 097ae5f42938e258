#pragma once
// The paint of one character or balloon window: its current frame, optionally with its
// image layers merged in the layer surface, scaled into the output surface and handed to
// the layered window with a constant alpha (or with the opacity multiplied into the
// pixels). Runs on the frame thread; allocates nothing.
#include <span>

#include "platform/geometry.h"
#include "window/image_view.h"

class CWorkSurfaces;
class ILayeredWindow;

// One active image layer: its image, the rectangle it shows, where, and its mirroring.
struct SLayerPlacement {
  SImageView image;
  SPixelRect source;
  int dstX = 0;
  int dstY = 0;
  int mirror = kMirrorNone;
};

struct SPaintRequest {
  SImageView frameImage;  // the current frame's image
  SPixelRect frame;       // the frame's rectangle in it
  bool mergeLayers = false;
  std::span<const SLayerPlacement> layers;  // merged in order when mergeLayers is set
  SPoint position;        // where the window goes
  int width = 1;          // displayed size, each side at least 1
  int height = 1;
  double scale = 1.0;     // display scale, for the filter choice
  bool lowQuality = false;
  int mirror = kMirrorNone;  // the motion's mirroring of the whole frame
  double opacity = 1.0;      // 0.0 … 1.0
  bool opacityInPixels = false;
};

// Composes and presents `request`. The displayed size is limited to the output surface.
// False when the window refused the update (the caller destroys it then).
bool PaintLayered(CWorkSurfaces& surfaces, ILayeredWindow& window, const SPaintRequest& request);

// The constant alpha of the update: opaque when the opacity is in the pixels, else the
// opacity × 255 truncated.
uint8_t ConstantAlphaFor(double opacity, bool opacityInPixels);
