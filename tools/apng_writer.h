#pragma once
// Animated PNG: every frame is a whole picture encoded by libpng, whose image data is
// moved into the animation chunks (acTL, fcTL, fdAT) here, since Debian's libpng does
// not write them itself. The first frame is the default image, so a viewer without
// animation support shows it. The animation loops forever.
#include <string>

struct SAnimation;

// Encodes `animation` (at least one frame) into `out`; false when libpng fails.
// Transparent animations are RGBA, the others RGB.
bool EncodeApng(const SAnimation& animation, std::string& out);
