#pragma once
// The application's settings as app.cfg keeps them: "Key=Value" lines of decimal
// integers in the Params folder, written through a temporary file renamed into place.
#include <optional>
#include <string>
#include <string_view>

#include "platform/geometry.h"

struct SAppSettings {
  int scaleId = 32782;     // 100 %
  double scaleFactor = 1.0;
  int opacityId = 32787;   // 100 %
  bool lowQuality = false;
  bool mouseEnabled = true;
  int windowLevel = 0;     // 1: always on top
  SRect moveRange{-100, -100, -100, -100};  // -100 on any edge: not set
};

// The display scale of a scale command id (32776 … 32785), or none outside the table.
std::optional<double> ScaleFactorOf(int scaleId);

// The value of an app.cfg line: an optional sign and the decimal digits that follow;
// reading stops at the first other character, and no digit at all gives 0.
int LeadingInteger(std::u16string_view text);

// Applies the keys present in app.cfg's text to `settings`; a move range with any edge
// at -100 becomes `desktop`. Never fails: what cannot be read keeps its default.
void ParseAppSettings(std::string_view fileBytes, const SRect& desktop, SAppSettings& settings);
// Reads "app.cfg" from `paramsFolder` (ending in "\"); a missing file leaves the
// defaults, with the move range the desktop.
void LoadAppSettings(const std::u16string& paramsFolder, const SRect& desktop, SAppSettings& settings);
// Writes the nine keys in their order, making the folder when needed; false when the
// file could not be written (the old one then stays).
bool SaveAppSettings(const std::u16string& paramsFolder, const SAppSettings& settings);
