// Scaling and painting speed. Our nearest and bilinear scalers against pixman's on the
// same 256 × 256 premultiplied image, timed side by side in one benchmark so the ratio
// (pixman time / our time; above 1 means ours is faster) comes from the same run; and a
// whole character paint: a 256 × 256 frame, two 64 × 64 layers merged, bilinear to 200 %.
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <time.h>

#include <random>
#include <vector>

#include "platform/layered_window.h"
#include "window/paint_pipeline.h"
#include "window/scaler.h"
#include "window/work_surfaces.h"

namespace {

constexpr int kSide = 256;

CPixelSurface RandomImage(int width, int height) {
  std::mt19937 random(2024);
  CPixelSurface image(width, height);
  for (int i = 0; i < width * height; ++i) {
    const uint32_t alpha = random() % 256;
    uint32_t pixel = alpha << 24;
    for (int shift = 0; shift < 24; shift += 8) pixel |= (random() % (alpha + 1)) << shift;
    image.Pixels()[i] = pixel;
  }
  return image;
}

const CPixelSurface& SourceImage() {
  static const CPixelSurface image = RandomImage(kSide, kSide);
  return image;
}

// Pixman's scaler for one output size and filter, with edge pixels repeated as ours.
class CPixmanScaler {
 public:
  CPixmanScaler(const CPixelSurface& source, int outSide, bool bilinear) : output_(outSide, outSide) {
    source_ = pixman_image_create_bits(PIXMAN_a8r8g8b8, source.Width(), source.Height(),
                                       const_cast<uint32_t*>(source.Pixels()), source.Width() * 4);
    target_ = pixman_image_create_bits(PIXMAN_a8r8g8b8, outSide, outSide, output_.Pixels(), outSide * 4);
    pixman_transform_t transform;
    const pixman_fixed_t step = pixman_double_to_fixed(static_cast<double>(source.Width()) / outSide);
    pixman_transform_init_scale(&transform, step, step);
    pixman_image_set_transform(source_, &transform);
    pixman_image_set_filter(source_, bilinear ? PIXMAN_FILTER_BILINEAR : PIXMAN_FILTER_NEAREST, nullptr, 0);
    pixman_image_set_repeat(source_, PIXMAN_REPEAT_PAD);
  }
  ~CPixmanScaler() {
    pixman_image_unref(source_);
    pixman_image_unref(target_);
  }
  CPixmanScaler(const CPixmanScaler&) = delete;
  CPixmanScaler& operator=(const CPixmanScaler&) = delete;

  void Run() {
    pixman_image_composite32(PIXMAN_OP_SRC, source_, nullptr, target_, 0, 0, 0, 0, 0, 0, output_.Width(),
                             output_.Height());
    benchmark::DoNotOptimize(output_.Pixels());
  }

 private:
  CPixelSurface output_;
  pixman_image_t* source_ = nullptr;
  pixman_image_t* target_ = nullptr;
};

class COurScaler {
 public:
  COurScaler(const CPixelSurface& source, int outSide, bool bilinear) : output_(outSide, outSide), scaler_(outSide) {
    request_ = {ViewOf(source), {0, 0, source.Width(), source.Height()}, outSide, outSide,
                bilinear ? EScaleFilter::Bilinear : EScaleFilter::Nearest, kMirrorNone, 1.0, {}};
  }
  void Run() {
    scaler_.Scale(request_, output_.Pixels(), output_.Width());
    benchmark::DoNotOptimize(output_.Pixels());
  }

 private:
  CPixelSurface output_;
  CScaler scaler_;
  SScaleRequest request_;
};

template <class TScaler>
void BM_Scale(benchmark::State& state, bool bilinear) {
  TScaler scaler(SourceImage(), static_cast<int>(state.range(0)), bilinear);
  for (auto _ : state) scaler.Run();
  state.SetItemsProcessed(state.iterations() * state.range(0) * state.range(0));
}

void BM_OurScale(benchmark::State& state, bool bilinear) { BM_Scale<COurScaler>(state, bilinear); }
void BM_PixmanScale(benchmark::State& state, bool bilinear) { BM_Scale<CPixmanScaler>(state, bilinear); }

// The calling thread's CPU time in nanoseconds: the machines that run this are shared,
// and wall time would count other programs' work.
int64_t ThreadCpuNs() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

// Both scalers in one loop, each timed on its own; reports the ratio pixman / ours.
void BM_Ratio(benchmark::State& state, bool bilinear) {
  const int side = static_cast<int>(state.range(0));
  COurScaler ours(SourceImage(), side, bilinear);
  CPixmanScaler pixman(SourceImage(), side, bilinear);
  int64_t oursNs = 0;
  int64_t pixmanNs = 0;
  for (auto _ : state) {
    const int64_t start = ThreadCpuNs();
    ours.Run();
    const int64_t middle = ThreadCpuNs();
    pixman.Run();
    pixmanNs += ThreadCpuNs() - middle;
    oursNs += middle - start;
  }
  const double iterations = static_cast<double>(state.iterations());
  state.counters["ours_us"] = static_cast<double>(oursNs) / 1000.0 / iterations;
  state.counters["pixman_us"] = static_cast<double>(pixmanNs) / 1000.0 / iterations;
  state.counters["ratio"] = static_cast<double>(pixmanNs) / static_cast<double>(oursNs);
}

// A window that takes every frame and does nothing with it: measures composition only.
class CNullWindow : public ILayeredWindow {
 public:
  void Show() override {}
  void Hide() override {}
  bool Visible() const override { return true; }
  void BringToTop() override {}
  void PlaceBelow(ILayeredWindow&) override {}
  void SetTopmost(bool) override {}
  bool Update(const SLayeredFrame& frame) override {
    benchmark::DoNotOptimize(frame.pixels);
    return true;
  }
  void SetCapture() override {}
  void ReleaseCapture() override {}
  void Destroy() override {}
};

void BM_CharacterPaint(benchmark::State& state) {
  const CPixelSurface& frame = SourceImage();
  const CPixelSurface layerImage = RandomImage(64, 64);
  CWorkSurfaces surfaces(kSide, kSide, 2.0);
  CNullWindow window;
  const SLayerPlacement layers[] = {{ViewOf(layerImage), {0, 0, 64, 64}, 20, 30, kMirrorNone},
                                    {ViewOf(layerImage), {0, 0, 64, 64}, 150, 100, kMirrorLeftRight}};
  SPaintRequest request;
  request.frameImage = ViewOf(frame);
  request.frame = {0, 0, kSide, kSide};
  request.mergeLayers = true;
  request.layers = layers;
  request.width = request.height = 2 * kSide;
  request.scale = 2.0;
  for (auto _ : state) PaintLayered(surfaces, window, request);
}

}  // namespace

BENCHMARK_CAPTURE(BM_OurScale, nearest, false)->Arg(512)->Arg(384)->Arg(192);
BENCHMARK_CAPTURE(BM_PixmanScale, nearest, false)->Arg(512)->Arg(384)->Arg(192);
BENCHMARK_CAPTURE(BM_OurScale, bilinear, true)->Arg(512)->Arg(384)->Arg(192);
BENCHMARK_CAPTURE(BM_PixmanScale, bilinear, true)->Arg(512)->Arg(384)->Arg(192);
BENCHMARK_CAPTURE(BM_Ratio, nearest, false)->Arg(512)->Arg(384)->Arg(192);
BENCHMARK_CAPTURE(BM_Ratio, bilinear, true)->Arg(512)->Arg(384)->Arg(192);
BENCHMARK(BM_CharacterPaint)->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime();
