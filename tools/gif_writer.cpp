#include "gif_writer.h"

#include <gif_lib.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "animation.h"
#include "media/straight_colour.h"

namespace {

constexpr int kMaxGifSide = 65535;

// The palette a frame is written with: sorted 0xRRGGBB colours, and the transparent
// index right after them when the animation has one.
struct SPalette {
  std::vector<uint32_t> colours;
  int transparentIndex = NO_TRANSPARENT_COLOR;
};

// What a pixel shows: 0xRRGGBB, or nothing when it is transparent.
std::optional<uint32_t> VisibleColour(uint32_t pixel, bool transparent) {
  const SStraightColour colour = Unpremultiply(pixel);
  if (transparent && colour.alpha < 128) return std::nullopt;
  return (uint32_t{colour.red} << 16) | (uint32_t{colour.green} << 8) | colour.blue;
}

// Adds the frame's visible colours to `colours`; false as soon as there are more than
// `limit`.
bool CollectColours(const CPixelSurface& frame, bool transparent, size_t limit, std::unordered_set<uint32_t>& colours) {
  const uint32_t* pixels = frame.Pixels();
  const size_t count = static_cast<size_t>(frame.Width()) * static_cast<size_t>(frame.Height());
  for (size_t i = 0; i < count; ++i) {
    if (i > 0 && pixels[i] == pixels[i - 1]) continue;  // mostly flat pictures: skip the runs
    if (const std::optional<uint32_t> colour = VisibleColour(pixels[i], transparent)) {
      colours.insert(*colour);
      if (colours.size() > limit) return false;
    }
  }
  return true;
}

SPalette ExactPalette(const std::unordered_set<uint32_t>& colours, bool transparent) {
  SPalette palette;
  palette.colours.assign(colours.begin(), colours.end());
  std::sort(palette.colours.begin(), palette.colours.end());  // the same file every run
  if (transparent) palette.transparentIndex = static_cast<int>(palette.colours.size());
  return palette;
}

// The frame's palette indices with an exact palette.
void MapExactly(const CPixelSurface& frame, const SPalette& palette, bool transparent, std::vector<GifByteType>& out) {
  const uint32_t* pixels = frame.Pixels();
  for (size_t i = 0; i < out.size(); ++i) {
    if (i > 0 && pixels[i] == pixels[i - 1]) {
      out[i] = out[i - 1];
      continue;
    }
    const std::optional<uint32_t> colour = VisibleColour(pixels[i], transparent);
    if (!colour) {
      out[i] = static_cast<GifByteType>(palette.transparentIndex);
      continue;
    }
    const auto found = std::lower_bound(palette.colours.begin(), palette.colours.end(), *colour);
    out[i] = static_cast<GifByteType>(found - palette.colours.begin());
  }
}

// The frame's palette indices through giflib's quantizer, which fills `palette` with at
// most `limit` colours (the transparent index follows them); only visible pixels take
// part. False when giflib fails.
bool Quantize(const CPixelSurface& frame, bool transparent, int limit, SPalette& palette,
              std::vector<GifByteType>& out) {
  const uint32_t* pixels = frame.Pixels();
  std::vector<GifByteType> red, green, blue;
  std::vector<size_t> where;
  for (size_t i = 0; i < out.size(); ++i) {
    const std::optional<uint32_t> colour = VisibleColour(pixels[i], transparent);
    if (!colour) continue;
    red.push_back(static_cast<GifByteType>(*colour >> 16));
    green.push_back(static_cast<GifByteType>(*colour >> 8));
    blue.push_back(static_cast<GifByteType>(*colour));
    where.push_back(i);
  }
  // The quantizer counts pixels in an int and needs at least one.
  if (where.empty() || where.size() > static_cast<size_t>(INT_MAX)) return false;
  std::vector<GifColorType> map(256);
  std::vector<GifByteType> indices(where.size());
  int size = limit;
  if (GifQuantizeBuffer(static_cast<unsigned>(where.size()), 1, &size, red.data(), green.data(), blue.data(),
                        indices.data(), map.data()) != GIF_OK) {
    return false;
  }
  palette.colours.clear();
  for (int i = 0; i < size; ++i) {
    palette.colours.push_back((uint32_t{map[static_cast<size_t>(i)].Red} << 16) |
                              (uint32_t{map[static_cast<size_t>(i)].Green} << 8) | map[static_cast<size_t>(i)].Blue);
  }
  palette.transparentIndex = transparent ? size : NO_TRANSPARENT_COLOR;
  std::fill(out.begin(), out.end(), static_cast<GifByteType>(transparent ? size : 0));
  for (size_t i = 0; i < where.size(); ++i) out[where[i]] = indices[i];
  return true;
}

// A giflib colour map for the palette, its size rounded up to a power of two as the
// format needs; the caller frees it.
ColorMapObject* MakeColourMap(const SPalette& palette) {
  const size_t used = palette.colours.size() + (palette.transparentIndex >= 0 ? 1 : 0);
  int size = 2;
  while (static_cast<size_t>(size) < used) size *= 2;
  std::vector<GifColorType> colours(static_cast<size_t>(size), GifColorType{0, 0, 0});
  for (size_t i = 0; i < palette.colours.size(); ++i) {
    colours[i] = {static_cast<GifByteType>(palette.colours[i] >> 16), static_cast<GifByteType>(palette.colours[i] >> 8),
                  static_cast<GifByteType>(palette.colours[i])};
  }
  return GifMakeMapObject(size, colours.data());
}

std::string ErrorText(int code) {
  const char* text = GifErrorString(code);
  return text != nullptr ? text : "giflib error " + std::to_string(code);
}

int AppendToString(GifFileType* gif, const GifByteType* data, int length) {
  static_cast<std::string*>(gif->UserData)->append(reinterpret_cast<const char*>(data), static_cast<size_t>(length));
  return length;
}

// Frees a colour map when it goes.
struct SColourMapOwner {
  ColorMapObject* map = nullptr;
  ~SColourMapOwner() { GifFreeMapObject(map); }
};

// Writes the whole file with an open encoder; false (giflib's error in gif->Error) on
// the first failure.
bool WriteGif(GifFileType* gif, const SAnimation& animation, std::string& error) {
  const bool transparent = animation.transparent;
  const int limit = transparent ? 255 : 256;

  // One exact palette for the whole animation when it has few enough colours.
  std::optional<SPalette> global;
  {
    std::unordered_set<uint32_t> colours;
    bool fits = true;
    for (size_t index = 0; fits && index < animation.frameCount; ++index) {
      fits = CollectColours(animation.frame(index), transparent, static_cast<size_t>(limit), colours);
    }
    if (fits) global = ExactPalette(colours, transparent);
  }
  SColourMapOwner globalMap;
  if (global && !(globalMap.map = MakeColourMap(*global))) {
    error = "out of memory";
    return false;
  }

  EGifSetGifVersion(gif, true);
  if (EGifPutScreenDesc(gif, animation.width, animation.height, 8, 0, globalMap.map) != GIF_OK) return false;
  // NETSCAPE2.0: loop forever (count 0).
  const GifByteType loop[] = {1, 0, 0};
  if (EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) != GIF_OK ||
      EGifPutExtensionBlock(gif, 11, "NETSCAPE2.0") != GIF_OK || EGifPutExtensionBlock(gif, 3, loop) != GIF_OK ||
      EGifPutExtensionTrailer(gif) != GIF_OK) {
    return false;
  }

  const int delay = (animation.delayTicks * 100 + animation.ticksPerSecond / 2) / animation.ticksPerSecond;
  const size_t width = static_cast<size_t>(animation.width);
  std::vector<GifByteType> indices(width * static_cast<size_t>(animation.height));
  for (size_t index = 0; index < animation.frameCount; ++index) {
    const CPixelSurface frame = animation.frame(index);
    SPalette palette;
    SColourMapOwner localMap;
    if (global) {
      palette = *global;
      MapExactly(frame, palette, transparent, indices);
    } else {
      std::unordered_set<uint32_t> colours;
      if (CollectColours(frame, transparent, static_cast<size_t>(limit), colours)) {
        palette = ExactPalette(colours, transparent);
        MapExactly(frame, palette, transparent, indices);
      } else if (!Quantize(frame, transparent, limit, palette, indices)) {
        error = "the colour quantizer failed";
        return false;
      }
      if (!(localMap.map = MakeColourMap(palette))) {
        error = "out of memory";
        return false;
      }
    }

    // A transparent frame must not show the one before it through its holes: each is
    // cleared to the background before the next.
    GraphicsControlBlock control{};
    control.DisposalMode = transparent ? DISPOSE_BACKGROUND : DISPOSE_DO_NOT;
    control.UserInputFlag = false;
    control.DelayTime = delay;
    control.TransparentColor = palette.transparentIndex;
    GifByteType extension[4];
    const size_t extensionLength = EGifGCBToExtension(&control, extension);
    if (EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(extensionLength), extension) != GIF_OK ||
        EGifPutImageDesc(gif, 0, 0, animation.width, animation.height, false, localMap.map) != GIF_OK) {
      return false;
    }
    for (int y = 0; y < animation.height; ++y) {
      if (EGifPutLine(gif, indices.data() + static_cast<size_t>(y) * width, animation.width) != GIF_OK) return false;
    }
  }
  return true;
}

}  // namespace

bool EncodeGif(const SAnimation& animation, std::string& out, std::string& error) {
  if (animation.frameCount == 0) {
    error = "no frame to write";
    return false;
  }
  if (animation.width > kMaxGifSide || animation.height > kMaxGifSide) {
    error = "the picture is larger than a GIF can hold (65535 pixels a side)";
    return false;
  }
  out.clear();
  int code = 0;
  GifFileType* gif = EGifOpen(&out, AppendToString, &code);
  if (gif == nullptr) {
    error = ErrorText(code);
    return false;
  }
  const bool written = WriteGif(gif, animation, error);
  if (!written && error.empty()) error = ErrorText(gif->Error);
  int closeCode = 0;
  const bool closed = EGifCloseFile(gif, &closeCode) == GIF_OK;
  if (written && !closed) error = ErrorText(closeCode);
  return written && closed;
}
