#pragma once
// Builds TGA files in memory for the decoder tests: every field of the header, an image
// ID, a colour map, the pixel bytes as given, and optionally the extension area with a
// key colour and the TGA 2.0 footer.
#include <cstdint>
#include <optional>
#include <vector>

struct STgaFile {
  uint8_t imageType = 2;
  uint8_t colourMapType = 0;
  uint8_t mapEntryBits = 0;
  std::vector<uint8_t> colourMap;  // length = size / (mapEntryBits / 8)
  uint16_t width = 1;
  uint16_t height = 1;
  uint8_t depth = 32;
  uint8_t descriptor = 0x20;  // first row on top
  std::vector<uint8_t> imageId;
  std::vector<uint8_t> pixels;  // stored exactly as given (raw or run-length packets)
  std::optional<uint32_t> keyColourBytes;  // bytes 470..473 of the extension area, first byte highest
  bool footer = true;

  std::vector<uint8_t> Bytes() const {
    std::vector<uint8_t> out;
    auto put16 = [&out](uint32_t v) {
      out.push_back(static_cast<uint8_t>(v));
      out.push_back(static_cast<uint8_t>(v >> 8));
    };
    const uint32_t mapLength = mapEntryBits >= 8 ? static_cast<uint32_t>(colourMap.size() / (mapEntryBits / 8)) : 0;
    out.push_back(static_cast<uint8_t>(imageId.size()));
    out.push_back(colourMapType);
    out.push_back(imageType);
    put16(0);
    put16(mapLength);
    out.push_back(mapEntryBits);
    put16(0);
    put16(0);
    put16(width);
    put16(height);
    out.push_back(depth);
    out.push_back(descriptor);
    out.insert(out.end(), imageId.begin(), imageId.end());
    out.insert(out.end(), colourMap.begin(), colourMap.end());
    out.insert(out.end(), pixels.begin(), pixels.end());
    uint32_t extensionOffset = 0;
    if (keyColourBytes) {
      extensionOffset = static_cast<uint32_t>(out.size());
      std::vector<uint8_t> extension(495, 0);
      extension[0] = 495 & 0xFF;
      extension[1] = 495 >> 8;
      for (int i = 0; i < 4; ++i) extension[470 + i] = static_cast<uint8_t>(*keyColourBytes >> (24 - 8 * i));
      out.insert(out.end(), extension.begin(), extension.end());
    }
    if (footer) {
      put16(extensionOffset & 0xFFFF);
      put16(extensionOffset >> 16);
      put16(0);
      put16(0);
      for (const char c : "TRUEVISION-XFILE.") out.push_back(static_cast<uint8_t>(c));
    }
    return out;
  }
};
