// Decoding speed of the two image formats on a 1024 × 1024 RGBA sprite (a shaded disc
// on a transparent background, the typical character image), stated as output bytes per
// second next to a plain copy of the same surface, the memory-speed reference.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "media/png_decoder.h"
#include "media/png_writer.h"
#include "media/tga_decoder.h"
#include "support/file_system.h"

namespace {

constexpr int kSide = 1024;
constexpr int64_t kSurfaceBytes = int64_t{kSide} * kSide * 4;

// Straight-alpha pixels: a disc with a soft edge, banded colours so runs occur as they
// do in drawn sprites.
std::vector<uint32_t> SpritePixels() {
  std::vector<uint32_t> pixels(static_cast<std::size_t>(kSide) * kSide, 0u);
  for (int y = 0; y < kSide; ++y) {
    for (int x = 0; x < kSide; ++x) {
      const double d = std::hypot(x - kSide / 2.0, y - kSide / 2.0) / (kSide * 0.45);
      if (d >= 1.0) continue;
      const uint32_t alpha = d > 0.95 ? static_cast<uint32_t>((1.0 - d) * 20 * 255) : 255u;
      const uint32_t band = static_cast<uint32_t>(y / 8) * 37u + static_cast<uint32_t>(x / 32) * 11u;
      pixels[static_cast<std::size_t>(y) * kSide + x] =
          (alpha << 24) | ((band & 0xFF) << 16) | (((band >> 1) & 0xFF) << 8) | ((255 - band) & 0xFF);
    }
  }
  return pixels;
}

void PutLittleEndian16(std::vector<uint8_t>& out, int value) {
  out.push_back(static_cast<uint8_t>(value));
  out.push_back(static_cast<uint8_t>(value >> 8));
}

void PutPixel(std::vector<uint8_t>& out, uint32_t argb) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>(argb >> shift));
}

// A run-length encoded 32-bit TGA with footer; runs and raw packets stay within rows.
std::vector<uint8_t> EncodeRunLengthTga(const std::vector<uint32_t>& pixels) {
  std::vector<uint8_t> out = {0, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  PutLittleEndian16(out, kSide);
  PutLittleEndian16(out, kSide);
  out.push_back(32);
  out.push_back(0x28);
  for (int y = 0; y < kSide; ++y) {
    const uint32_t* row = pixels.data() + static_cast<std::size_t>(y) * kSide;
    int x = 0;
    while (x < kSide) {
      int run = 1;
      while (x + run < kSide && run < 128 && row[x + run] == row[x]) ++run;
      if (run > 1) {
        out.push_back(static_cast<uint8_t>(0x80 | (run - 1)));
        PutPixel(out, row[x]);
        x += run;
        continue;
      }
      int raw = 1;
      while (x + raw < kSide && raw < 128 && row[x + raw] != row[x + raw - 1]) ++raw;
      out.push_back(static_cast<uint8_t>(raw - 1));
      for (int i = 0; i < raw; ++i) PutPixel(out, row[x + i]);
      x += raw;
    }
  }
  out.insert(out.end(), 8, 0);
  for (const char c : "TRUEVISION-XFILE.") out.push_back(static_cast<uint8_t>(c));
  return out;
}

std::vector<uint8_t> EncodePng(const std::vector<uint32_t>& pixels) {
  CPixelSurface surface(kSide, kSide);
  std::memcpy(surface.Pixels(), pixels.data(), pixels.size() * 4);
  // WritePng un-premultiplies; give it premultiplied input so the file holds `pixels`.
  for (std::size_t i = 0; i < pixels.size(); ++i) {
    const uint32_t p = pixels[i];
    const uint32_t a = p >> 24;
    surface.Pixels()[i] = (a << 24) | ((((p >> 16) & 0xFF) * a / 255) << 16) | ((((p >> 8) & 0xFF) * a / 255) << 8) |
                          ((p & 0xFF) * a / 255);
  }
  const std::filesystem::path path = std::filesystem::temp_directory_path() / "zv-bench-sprite.png";
  WritePng(FromNativePath(path), surface);
  std::ifstream file(path, std::ios::binary);
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  std::filesystem::remove(path);
  return bytes;
}

void BM_CopySurfaceReference(benchmark::State& state) {
  const std::vector<uint32_t> pixels = SpritePixels();
  for (auto _ : state) {
    CPixelSurface surface(kSide, kSide);
    std::memcpy(surface.Pixels(), pixels.data(), pixels.size() * 4);
    benchmark::DoNotOptimize(surface.Pixels());
  }
  state.SetBytesProcessed(state.iterations() * kSurfaceBytes);
}

void BM_DecodeRunLengthTga(benchmark::State& state) {
  const std::vector<uint8_t> file = EncodeRunLengthTga(SpritePixels());
  for (auto _ : state) {
    auto surface = DecodeTga(file.data(), file.size());
    if (!surface) state.SkipWithError("TGA did not decode");
    benchmark::DoNotOptimize(surface);
  }
  state.SetBytesProcessed(state.iterations() * kSurfaceBytes);
  state.counters["file_bytes"] = static_cast<double>(file.size());
}

void BM_DecodePng(benchmark::State& state) {
  const std::vector<uint8_t> file = EncodePng(SpritePixels());
  for (auto _ : state) {
    auto surface = DecodePng(file.data(), file.size());
    if (!surface) state.SkipWithError("PNG did not decode");
    benchmark::DoNotOptimize(surface);
  }
  state.SetBytesProcessed(state.iterations() * kSurfaceBytes);
  state.counters["file_bytes"] = static_cast<double>(file.size());
}

}  // namespace

BENCHMARK(BM_CopySurfaceReference)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeRunLengthTga)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodePng)->Unit(benchmark::kMillisecond);
