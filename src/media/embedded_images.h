#pragma once
// The two images built into the program, embedded from resources/images/ at build time.
#include <cstdint>
#include <span>
#include <string_view>

// The key of the one-pixel transparent image shown for hidden characters; characters
// load it under their root folder followed by this key.
inline constexpr std::u16string_view kHideImageKey = u"|Resources|\\Images\\Hide.tga";
// The key of the application's logo.
inline constexpr std::u16string_view kLogoImageKey = u"|Resources|\\Images\\Logo.tga";

// 1 × 1, 32-bit, uncompressed, fully transparent (48 bytes).
std::span<const uint8_t> EmbeddedHideTga();
// 185 × 40, 32-bit, run-length encoded: the product name.
std::span<const uint8_t> EmbeddedLogoTga();
