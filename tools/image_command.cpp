// zelvotta-tool image: decodes one image file with the engine's own loader and prints
// its size and a hash of its premultiplied pixels, so decodes can be compared.
#include <cinttypes>
#include <cstdio>
#include <filesystem>
#include <string>

#include "commands.h"
#include "media/image_load.h"
#include "media/png_writer.h"
#include "support/file_system.h"

namespace {

constexpr char kImageUsage[] = "usage: zelvotta-tool image FILE [--out OUT.png]\n";

int ImageUsageError(const std::string& message) {
  std::fprintf(stderr, "zelvotta-tool image: %s\n%s", message.c_str(), kImageUsage);
  return 2;
}

std::u16string EnginePath(const std::string& argument) { return FromNativePath(std::filesystem::u8path(argument)); }

}  // namespace

int RunImageCommand(const ToolArguments& arguments) {
  std::string file;
  std::string out;
  for (size_t i = 0; i < arguments.size(); ++i) {
    if (arguments[i] == "--out") {
      if (i + 1 >= arguments.size()) return ImageUsageError("--out needs a file name");
      out = arguments[++i];
    } else if (file.empty() && !arguments[i].starts_with("--")) {
      file = arguments[i];
    } else {
      return ImageUsageError("unexpected argument '" + arguments[i] + "'");
    }
  }
  if (file.empty()) return ImageUsageError("missing FILE");

  const std::u16string path = EnginePath(file);
  const CImageLoad image(path, path);
  if (!image.HasBitmap()) {
    std::puts("fail");
    return 1;
  }
  std::printf("ok %d %d %016" PRIx64 "\n", image.Width(), image.Height(), HashPixels(*image.Surface()));
  if (!out.empty() && !WritePng(EnginePath(out), *image.Surface())) {
    std::fprintf(stderr, "zelvotta-tool image: cannot write '%s'\n", out.c_str());
    return 1;
  }
  return 0;
}
