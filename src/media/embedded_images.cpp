#include "media/embedded_images.h"

#include "media/embedded_images_data.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace {

constexpr int kHideResourceId = 155;
constexpr int kLogoResourceId = 156;

// The Windows program carries the images as "TGA_DATA" resources (Japanese, 1041);
// programs built without the resources (the tests, the tool) use the compiled-in copy.
// Resource memory stays mapped for the life of the process.
std::span<const uint8_t> ResourceOr(int id, std::span<const uint8_t> builtIn) {
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC found = FindResourceExW(module, L"TGA_DATA", MAKEINTRESOURCEW(id), MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT));
  if (found == nullptr) found = FindResourceW(module, MAKEINTRESOURCEW(id), L"TGA_DATA");
  if (found == nullptr) return builtIn;
  HGLOBAL loaded = LoadResource(module, found);
  const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
  const DWORD size = SizeofResource(module, found);
  if (bytes == nullptr || size == 0) return builtIn;
  return {static_cast<const uint8_t*>(bytes), size};
}

}  // namespace

std::span<const uint8_t> EmbeddedHideTga() { return ResourceOr(kHideResourceId, BuiltInHideTga()); }
std::span<const uint8_t> EmbeddedLogoTga() { return ResourceOr(kLogoResourceId, BuiltInLogoTga()); }
#else
std::span<const uint8_t> EmbeddedHideTga() { return BuiltInHideTga(); }
std::span<const uint8_t> EmbeddedLogoTga() { return BuiltInLogoTga(); }
#endif
