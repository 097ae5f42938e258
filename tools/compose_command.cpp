// zelvotta-tool compose: runs the engine's composition on image files. `scale` scales a
// rectangle of one image with a filter, mirror mode and opacity; `merge` merges a
// rectangle of a layer image into a copy of a frame image. Both print the result's size
// and the hash of its premultiplied pixels, and can write it as PNG.
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "commands.h"
#include "media/image_load.h"
#include "media/png_writer.h"
#include "support/file_system.h"
#include "window/layer_merge.h"
#include "window/scaler.h"

namespace {

constexpr char kComposeUsage[] =
    "usage: zelvotta-tool compose scale IMAGE [--rect X,Y,W,H] [--size WxH]\n"
    "                                [--filter nearest|bilinear|area] [--mirror M]\n"
    "                                [--opacity F] [--out OUT.png]\n"
    "       zelvotta-tool compose merge FRAME LAYER [--src X,Y,W,H] [--dst X,Y]\n"
    "                                [--mirror M] [--out OUT.png]\n";

// Larger outputs than this are refused rather than allocated.
constexpr int kMaxOutputSide = 16384;

int ComposeUsageError(const std::string& message) {
  std::fprintf(stderr, "zelvotta-tool compose: %s\n%s", message.c_str(), kComposeUsage);
  return 2;
}

std::u16string EnginePath(const std::string& argument) { return FromNativePath(std::filesystem::u8path(argument)); }

// Whole numbers separated by `separator`, exactly `count` of them.
std::optional<std::vector<int>> ParseInts(const std::string& text, char separator, size_t count) {
  std::vector<int> values;
  size_t start = 0;
  for (;;) {
    const size_t end = text.find(separator, start);
    const std::string part = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    const size_t digits = part.starts_with('-') ? 1 : 0;
    if (part.size() == digits || part.size() > digits + 6 || part.find_first_not_of("0123456789", digits) != std::string::npos) {
      return std::nullopt;
    }
    values.push_back(std::stoi(part));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  if (values.size() != count) return std::nullopt;
  return values;
}

std::optional<SPixelRect> ParseRect(const std::string& text) {
  const auto values = ParseInts(text, ',', 4);
  if (!values || (*values)[2] <= 0 || (*values)[3] <= 0) return std::nullopt;
  return SPixelRect{(*values)[0], (*values)[1], (*values)[2], (*values)[3]};
}

std::optional<int> ParseMirror(const std::string& text) {
  if (text.size() != 1 || text[0] < '0' || text[0] > '3') return std::nullopt;
  return text[0] - '0';
}

std::optional<double> ParseOpacity(const std::string& text) {
  try {
    size_t used = 0;
    const double value = std::stod(text, &used);
    if (used != text.size() || !std::isfinite(value) || value < 0.0 || value > 1.0) return std::nullopt;
    return value;
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

std::optional<EScaleFilter> ParseFilter(const std::string& text) {
  if (text == "nearest") return EScaleFilter::Nearest;
  if (text == "bilinear") return EScaleFilter::Bilinear;
  if (text == "area") return EScaleFilter::AreaAverage;
  return std::nullopt;
}

SImageView ViewOfLoad(const CImageLoad& image) { return {image.Pixels(), image.Width(), image.Width(), image.Height()}; }

int Report(const CPixelSurface& result, const std::string& out) {
  std::printf("ok %d %d %016" PRIx64 "\n", result.Width(), result.Height(), HashPixels(result));
  if (!out.empty() && !WritePng(EnginePath(out), result)) {
    std::fprintf(stderr, "zelvotta-tool compose: cannot write '%s'\n", out.c_str());
    return 1;
  }
  return 0;
}

// The file names and the option values, in order of appearance.
struct SComposeArguments {
  std::vector<std::string> files;
  std::vector<std::pair<std::string, std::string>> options;
};

std::optional<SComposeArguments> SplitArguments(const ToolArguments& arguments, size_t first, std::string& error) {
  SComposeArguments split;
  for (size_t i = first; i < arguments.size(); ++i) {
    if (!arguments[i].starts_with("--")) {
      split.files.push_back(arguments[i]);
      continue;
    }
    if (i + 1 >= arguments.size()) {
      error = arguments[i] + " needs a value";
      return std::nullopt;
    }
    split.options.emplace_back(arguments[i], arguments[i + 1]);
    ++i;
  }
  return split;
}

int RunScale(const SComposeArguments& arguments) {
  if (arguments.files.size() != 1) return ComposeUsageError("scale takes one IMAGE");
  std::optional<SPixelRect> rect;
  std::optional<std::vector<int>> size;
  SScaleRequest request;
  std::string out;
  for (const auto& [option, value] : arguments.options) {
    if (option == "--rect") {
      if (!(rect = ParseRect(value))) return ComposeUsageError("--rect needs X,Y,W,H, not '" + value + "'");
    } else if (option == "--size") {
      size = ParseInts(value, 'x', 2);
      if (!size || (*size)[0] <= 0 || (*size)[1] <= 0 || (*size)[0] > kMaxOutputSide || (*size)[1] > kMaxOutputSide) {
        return ComposeUsageError("--size needs WIDTHxHEIGHT, not '" + value + "'");
      }
    } else if (option == "--filter") {
      const auto filter = ParseFilter(value);
      if (!filter) return ComposeUsageError("--filter is nearest, bilinear or area, not '" + value + "'");
      request.filter = *filter;
    } else if (option == "--mirror") {
      const auto mirror = ParseMirror(value);
      if (!mirror) return ComposeUsageError("--mirror is 0, 1, 2 or 3, not '" + value + "'");
      request.mirror = *mirror;
    } else if (option == "--opacity") {
      const auto opacity = ParseOpacity(value);
      if (!opacity) return ComposeUsageError("--opacity is a number from 0 to 1, not '" + value + "'");
      request.opacity = *opacity;
    } else if (option == "--out") {
      out = value;
    } else {
      return ComposeUsageError("unknown option '" + option + "'");
    }
  }

  const std::u16string path = EnginePath(arguments.files[0]);
  const CImageLoad image(path, path);
  if (!image.HasBitmap()) {
    std::puts("fail");
    return 1;
  }
  request.image = ViewOfLoad(image);
  request.source = rect.value_or(SPixelRect{0, 0, image.Width(), image.Height()});
  if (!RectInside(request.image, request.source)) return ComposeUsageError("--rect is not inside the image");
  request.outWidth = size ? (*size)[0] : request.source.width;
  request.outHeight = size ? (*size)[1] : request.source.height;

  CPixelSurface result(request.outWidth, request.outHeight);
  CScaler scaler(request.outWidth);
  scaler.Scale(request, result.Pixels(), result.Width());
  return Report(result, out);
}

int RunMerge(const SComposeArguments& arguments) {
  if (arguments.files.size() != 2) return ComposeUsageError("merge takes FRAME and LAYER");
  std::optional<SPixelRect> source;
  std::vector<int> destination{0, 0};
  int mirror = kMirrorNone;
  std::string out;
  for (const auto& [option, value] : arguments.options) {
    if (option == "--src") {
      if (!(source = ParseRect(value))) return ComposeUsageError("--src needs X,Y,W,H, not '" + value + "'");
    } else if (option == "--dst") {
      const auto parsed = ParseInts(value, ',', 2);
      if (!parsed) return ComposeUsageError("--dst needs X,Y, not '" + value + "'");
      destination = *parsed;
    } else if (option == "--mirror") {
      const auto parsed = ParseMirror(value);
      if (!parsed) return ComposeUsageError("--mirror is 0, 1, 2 or 3, not '" + value + "'");
      mirror = *parsed;
    } else if (option == "--out") {
      out = value;
    } else {
      return ComposeUsageError("unknown option '" + option + "'");
    }
  }

  const std::u16string framePath = EnginePath(arguments.files[0]);
  const std::u16string layerPath = EnginePath(arguments.files[1]);
  const CImageLoad frame(framePath, framePath);
  const CImageLoad layer(layerPath, layerPath);
  if (!frame.HasBitmap() || !layer.HasBitmap()) {
    std::puts("fail");
    return 1;
  }
  const SPixelRect layerRect = source.value_or(SPixelRect{0, 0, layer.Width(), layer.Height()});
  if (!RectInside(ViewOfLoad(layer), layerRect)) return ComposeUsageError("--src is not inside the layer image");

  CPixelSurface result(frame.Width(), frame.Height());
  CopyFrame(ViewOfLoad(frame), {0, 0, frame.Width(), frame.Height()}, result);
  MergeLayer(result, frame.Width(), frame.Height(), ViewOfLoad(layer), layerRect, destination[0], destination[1],
             mirror);
  return Report(result, out);
}

}  // namespace

int RunComposeCommand(const ToolArguments& arguments) {
  if (arguments.empty()) return ComposeUsageError("missing scale or merge");
  std::string error;
  const auto split = SplitArguments(arguments, 1, error);
  if (!split) return ComposeUsageError(error);
  if (arguments[0] == "scale") return RunScale(*split);
  if (arguments[0] == "merge") return RunMerge(*split);
  return ComposeUsageError("unknown operation '" + arguments[0] + "'");
}
