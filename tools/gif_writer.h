#pragma once
// Animated GIF through giflib: every frame is the whole picture, the animation loops
// forever, and each frame's delay is the animation's rounded to hundredths of a second.
// Colours are exact while the whole animation, or else the frame, has few enough for a
// palette (255 and the transparent index; 256 when opaque); other frames go through
// giflib's median-cut quantizer. Alpha below 128 is transparent, the rest is opaque.
#include <string>

struct SAnimation;

// Encodes `animation` (at least one frame) into `out`; false with a message in `error`
// when giflib fails or the picture is too large for the format.
bool EncodeGif(const SAnimation& animation, std::string& out, std::string& error);
