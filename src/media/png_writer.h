#pragma once
// Writing a surface as an ordinary (straight-alpha) RGBA PNG, for snapshots and for
// inspecting decodes. Not used by the engine's own data path.
#include <string>

class CPixelSurface;

// Writes `surface` to `path` (engine path notation); colours are un-premultiplied.
// Writes through a temporary file; false (and no file) on any failure.
bool WritePng(const std::u16string& path, const CPixelSurface& surface);
