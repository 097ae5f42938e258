#include "window/paint_pipeline.h"

#include <algorithm>

#include "platform/layered_window.h"
#include "window/layer_merge.h"
#include "window/work_surfaces.h"

uint8_t ConstantAlphaFor(double opacity, bool opacityInPixels) {
  if (opacityInPixels) return 255;
  return static_cast<uint8_t>(std::clamp(opacity, 0.0, 1.0) * 255.0);
}

bool PaintLayered(CWorkSurfaces& surfaces, ILayeredWindow& window, const SPaintRequest& request) {
  SScaleRequest scale;
  scale.image = request.frameImage;
  scale.source = request.frame;
  if (request.mergeLayers && !request.layers.empty()) {
    CPixelSurface& layer = surfaces.Layer();
    CopyFrame(request.frameImage, request.frame, layer);
    for (const SLayerPlacement& placement : request.layers) {
      MergeLayer(layer, request.frame.width, request.frame.height, placement.image, placement.source,
                 placement.dstX, placement.dstY, placement.mirror);
    }
    scale.image = ViewOf(layer);
    scale.source = {0, 0, std::min(request.frame.width, layer.Width()),
                    std::min(request.frame.height, layer.Height())};
  }

  CPixelSurface& output = surfaces.Output();
  scale.outWidth = std::clamp(request.width, 1, output.Width());
  scale.outHeight = std::clamp(request.height, 1, output.Height());
  scale.filter = ChooseFilter(request.scale, request.lowQuality);
  scale.mirror = request.mirror;
  scale.opacity = request.opacityInPixels ? request.opacity : 1.0;
  surfaces.Scaler().Scale(scale, output.Pixels(), output.Width());

  SLayeredFrame frame;
  frame.position = request.position;
  frame.width = scale.outWidth;
  frame.height = scale.outHeight;
  frame.pixels = output.Pixels();
  frame.stride = output.Width();
  frame.constantAlpha = ConstantAlphaFor(request.opacity, request.opacityInPixels);
  return window.Update(frame);
}
