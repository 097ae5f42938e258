#pragma once
// The built-in images' bytes, compiled in from resources/images/ (generated source).
#include <cstdint>
#include <span>

std::span<const uint8_t> BuiltInHideTga();
std::span<const uint8_t> BuiltInLogoTga();
