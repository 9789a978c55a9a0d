// Megapixels per second of the editor's compositing work at 1920 x 1080, each
// beside pixman doing the same job on the same memory layout (a8r8g8b8 is
// blue, green, red, alpha in memory, as our pixels are). PNG decoding has no
// pixman counterpart; libpng's own simplified reader stands beside it.

#include "SummaryReporter.h"
#include "lice.h"

#include <benchmark/benchmark.h>
#include <pixman.h>
#include <png.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

namespace
{
constexpr int kW = 1920, kH = 1080;

void FillPattern(LICE_IBitmap* bm, unsigned int seed, bool varyAlpha)
{
  for (int y = 0; y < bm->getHeight(); ++y)
  {
    LICE_pixel* row = bm->getBits() + y * bm->getRowSpan();
    for (int x = 0; x < bm->getWidth(); ++x)
    {
      seed = seed * 1664525u + 1013904223u;
      const LICE_pixel a = varyAlpha ? (seed >> 24) : 255u;
      row[x] = (a << 24) | (seed & 0xFFFFFFu);
    }
  }
}

void Rate(benchmark::State& state, long long pixels)
{
  state.counters["MP/s"] =
      benchmark::Counter(static_cast<double>(pixels) * static_cast<double>(state.iterations()) / 1e6,
                         benchmark::Counter::kIsRate);
}

struct Images
{
  LICE_MemBitmap dst{kW, kH}, src{kW, kH}, srcAlpha{kW, kH}, half{kW / 2, kH / 2};
  Images()
  {
    FillPattern(&dst, 1, false);
    FillPattern(&src, 2, false);
    FillPattern(&srcAlpha, 3, true);
    FillPattern(&half, 4, false);
  }
};
Images& Img()
{
  static Images img;
  return img;
}

pixman_image_t* Wrap(LICE_IBitmap* bm)
{
  return pixman_image_create_bits(PIXMAN_a8r8g8b8, bm->getWidth(), bm->getHeight(),
                                  reinterpret_cast<uint32_t*>(bm->getBits()), bm->getRowSpan() * 4);
}

// ---- LICE ----
void BM_LiceBlit(benchmark::State& state, float opacity, int mode, bool alphaSrc)
{
  Images& im = Img();
  LICE_IBitmap* src = alphaSrc ? &im.srcAlpha : &im.src;
  for (auto _ : state)
  {
    LICE_Blit(&im.dst, src, 0, 0, nullptr, opacity, mode);
    benchmark::ClobberMemory();
  }
  Rate(state, 1LL * kW * kH);
}

void BM_LiceFill(benchmark::State& state, float opacity)
{
  Images& im = Img();
  for (auto _ : state)
  {
    LICE_FillRect(&im.dst, 0, 0, kW, kH, 0xFF336699, opacity, 0);
    benchmark::ClobberMemory();
  }
  Rate(state, 1LL * kW * kH);
}

void BM_LiceScaleBilinear(benchmark::State& state)
{
  Images& im = Img();
  for (auto _ : state)
  {
    LICE_ScaledBlit(&im.dst, &im.half, 0, 0, kW, kH, 0, 0, kW / 2, kH / 2, 1.0f,
                    LICE_BLIT_FILTER_BILINEAR);
    benchmark::ClobberMemory();
  }
  Rate(state, 1LL * kW * kH);
}

// A knob-style turn: the middle half of the source, doubled and turned by
// 0.3 radians, over the whole destination (every sample lies inside).
constexpr float kAngle = 0.3f;
void BM_LiceRotateBilinear(benchmark::State& state, int mode, bool alphaSrc)
{
  Images& im = Img();
  LICE_IBitmap* src = alphaSrc ? &im.srcAlpha : &im.src;
  for (auto _ : state)
  {
    LICE_RotatedBlit(&im.dst, src, 0, 0, kW, kH, kW / 4, kH / 4, kW / 2, kH / 2, kAngle, false, 1.0f,
                     mode | LICE_BLIT_FILTER_BILINEAR, 0.0f, 0.0f);
    benchmark::ClobberMemory();
  }
  Rate(state, 1LL * kW * kH);
}

// ---- pixman ----
void BM_PixmanComposite(benchmark::State& state, pixman_op_t op, double maskAlpha, bool alphaSrc)
{
  Images& im = Img();
  pixman_image_t* d = Wrap(&im.dst);
  pixman_image_t* s = Wrap(alphaSrc ? &im.srcAlpha : &im.src);
  pixman_image_t* m = nullptr;
  if (maskAlpha < 1.0)
  {
    const pixman_color_t c = {0, 0, 0, static_cast<uint16_t>(maskAlpha * 0xFFFF)};
    m = pixman_image_create_solid_fill(&c);
  }
  for (auto _ : state)
  {
    pixman_image_composite32(op, s, m, d, 0, 0, 0, 0, 0, 0, kW, kH);
    benchmark::ClobberMemory();
  }
  if (m) pixman_image_unref(m);
  pixman_image_unref(s);
  pixman_image_unref(d);
  Rate(state, 1LL * kW * kH);
}

void BM_PixmanFill(benchmark::State& state, double alpha)
{
  Images& im = Img();
  pixman_image_t* d = Wrap(&im.dst);
  const uint16_t a = static_cast<uint16_t>(alpha * 0xFFFF);
  // Premultiplied, as pixman's colours are.
  const pixman_color_t c = {static_cast<uint16_t>(0x3333 * alpha), static_cast<uint16_t>(0x6666 * alpha),
                            static_cast<uint16_t>(0x9999 * alpha), a};
  const pixman_box32_t box = {0, 0, kW, kH};
  for (auto _ : state)
  {
    pixman_image_fill_boxes(alpha >= 1.0 ? PIXMAN_OP_SRC : PIXMAN_OP_OVER, d, &c, 1, &box);
    benchmark::ClobberMemory();
  }
  pixman_image_unref(d);
  Rate(state, 1LL * kW * kH);
}

void BM_PixmanScaleBilinear(benchmark::State& state)
{
  Images& im = Img();
  pixman_image_t* d = Wrap(&im.dst);
  pixman_image_t* s = Wrap(&im.half);
  pixman_transform_t t;
  pixman_transform_init_scale(&t, pixman_double_to_fixed(0.5), pixman_double_to_fixed(0.5));
  pixman_image_set_transform(s, &t);
  pixman_image_set_filter(s, PIXMAN_FILTER_BILINEAR, nullptr, 0);
  pixman_image_set_repeat(s, PIXMAN_REPEAT_PAD);
  for (auto _ : state)
  {
    pixman_image_composite32(PIXMAN_OP_SRC, s, nullptr, d, 0, 0, 0, 0, 0, 0, kW, kH);
    benchmark::ClobberMemory();
  }
  pixman_image_unref(s);
  pixman_image_unref(d);
  Rate(state, 1LL * kW * kH);
}

void BM_PixmanRotateBilinear(benchmark::State& state, pixman_op_t op, bool alphaSrc)
{
  Images& im = Img();
  pixman_image_t* d = Wrap(&im.dst);
  pixman_image_t* s = Wrap(alphaSrc ? &im.srcAlpha : &im.src);
  // Destination to source: about the destination centre, halve, turn, then
  // about the source centre.
  pixman_f_transform_t ft;
  pixman_f_transform_init_translate(&ft, -kW / 2.0, -kH / 2.0);
  pixman_f_transform_scale(&ft, nullptr, 0.5, 0.5);
  pixman_f_transform_rotate(&ft, nullptr, std::cos(kAngle), std::sin(kAngle));
  pixman_f_transform_translate(&ft, nullptr, kW / 2.0, kH / 2.0);
  pixman_transform_t t;
  pixman_transform_from_pixman_f_transform(&t, &ft);
  pixman_image_set_transform(s, &t);
  pixman_image_set_filter(s, PIXMAN_FILTER_BILINEAR, nullptr, 0);
  for (auto _ : state)
  {
    pixman_image_composite32(op, s, nullptr, d, 0, 0, 0, 0, 0, 0, kW, kH);
    benchmark::ClobberMemory();
  }
  pixman_image_unref(s);
  pixman_image_unref(d);
  Rate(state, 1LL * kW * kH);
}

// ---- PNG ----
std::string WritePicture(int w, int h)
{
  // Smooth gradients with some noise: closer to artwork than pure noise.
  unsigned int seed = 7;
  std::vector<unsigned char> rgba(static_cast<size_t>(w) * h * 4);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
    {
      seed = seed * 1664525u + 1013904223u;
      unsigned char* p = &rgba[(static_cast<size_t>(y) * w + x) * 4];
      p[0] = static_cast<unsigned char>(x * 255 / w + (seed >> 29));
      p[1] = static_cast<unsigned char>(y * 255 / h);
      p[2] = static_cast<unsigned char>((x + y) & 255);
      p[3] = static_cast<unsigned char>(200 + (seed >> 28));
    }
  const std::string path = "/tmp/qv_bench_" + std::to_string(getpid()) + "_" + std::to_string(w) + ".png";
  png_image img = {};
  img.version = PNG_IMAGE_VERSION;
  img.width = static_cast<png_uint_32>(w);
  img.height = static_cast<png_uint_32>(h);
  img.format = PNG_FORMAT_RGBA;
  png_image_write_to_file(&img, path.c_str(), 0, rgba.data(), 0, nullptr);
  return path;
}

void BM_LiceLoadPNG(benchmark::State& state)
{
  const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
  const std::string path = WritePicture(w, h);
  LICE_MemBitmap bm;
  for (auto _ : state)
  {
    if (!LICE_LoadPNG(path.c_str(), &bm)) state.SkipWithError("load failed");
    benchmark::ClobberMemory();
  }
  std::remove(path.c_str());
  Rate(state, 1LL * w * h);
}

void BM_LibpngSimplifiedLoad(benchmark::State& state)
{
  const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
  const std::string path = WritePicture(w, h);
  std::vector<unsigned char> out(static_cast<size_t>(w) * h * 4);
  for (auto _ : state)
  {
    png_image img = {};
    img.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&img, path.c_str())) state.SkipWithError("open failed");
    img.format = PNG_FORMAT_BGRA;
    png_image_finish_read(&img, nullptr, out.data(), 0, nullptr);
    benchmark::ClobberMemory();
  }
  std::remove(path.c_str());
  Rate(state, 1LL * w * h);
}
} // namespace

BENCHMARK_CAPTURE(BM_LiceBlit, copy_1_0, 1.0f, 0, false);
BENCHMARK_CAPTURE(BM_PixmanComposite, copy_1_0, PIXMAN_OP_SRC, 1.0, false);
BENCHMARK_CAPTURE(BM_LiceBlit, copy_0_7, 0.7f, 0, false);
BENCHMARK_CAPTURE(BM_PixmanComposite, copy_0_7, PIXMAN_OP_OVER, 0.7, false);
BENCHMARK_CAPTURE(BM_LiceBlit, copy_source_alpha, 1.0f, LICE_BLIT_USE_ALPHA, true);
BENCHMARK_CAPTURE(BM_PixmanComposite, copy_source_alpha, PIXMAN_OP_OVER, 1.0, true);
BENCHMARK_CAPTURE(BM_LiceBlit, copy_source_alpha_0_7, 0.7f, LICE_BLIT_USE_ALPHA, true);
BENCHMARK_CAPTURE(BM_PixmanComposite, copy_source_alpha_0_7, PIXMAN_OP_OVER, 0.7, true);
BENCHMARK_CAPTURE(BM_LiceBlit, add, 1.0f, LICE_BLIT_MODE_ADD, false);
BENCHMARK_CAPTURE(BM_PixmanComposite, add, PIXMAN_OP_ADD, 1.0, false);
BENCHMARK_CAPTURE(BM_LiceFill, fill_1_0, 1.0f);
BENCHMARK_CAPTURE(BM_PixmanFill, fill_1_0, 1.0);
BENCHMARK_CAPTURE(BM_LiceFill, fill_0_5, 0.5f);
BENCHMARK_CAPTURE(BM_PixmanFill, fill_0_5, 0.5);
BENCHMARK_CAPTURE(BM_LiceFill, fill_0_3, 0.3f);
BENCHMARK_CAPTURE(BM_PixmanFill, fill_0_3, 0.3);
BENCHMARK(BM_LiceScaleBilinear);
BENCHMARK(BM_PixmanScaleBilinear);
BENCHMARK_CAPTURE(BM_LiceRotateBilinear, copy, 0, false);
BENCHMARK_CAPTURE(BM_PixmanRotateBilinear, copy, PIXMAN_OP_SRC, false);
BENCHMARK_CAPTURE(BM_LiceRotateBilinear, source_alpha, LICE_BLIT_USE_ALPHA, true);
BENCHMARK_CAPTURE(BM_PixmanRotateBilinear, source_alpha, PIXMAN_OP_OVER, true);
BENCHMARK(BM_LiceLoadPNG)->Args({190, 120})->Args({2048, 2048});
BENCHMARK(BM_LibpngSimplifiedLoad)->Args({190, 120})->Args({2048, 2048});

namespace
{
// Each lice case beside pixman's for the same work, in megapixels per second
// (both sides move the same number of pixels per iteration), and lice's speed
// as a ratio to pixman's: at or above 1.0 is the aim for every row.
class CompositeSummary : public qvbench::SummaryReporter
{
public:
  using SummaryReporter::SummaryReporter;

protected:
  void PrintSummary(std::FILE* out) const override
  {
    struct Row
    {
      const char *label, *lice, *pixman;
    };
    static const Row kRows[] = {
        {"Blit copy 1.0 (SRC)", "BM_LiceBlit/copy_1_0", "BM_PixmanComposite/copy_1_0"},
        {"Blit copy 0.7 (OVER, solid mask)", "BM_LiceBlit/copy_0_7", "BM_PixmanComposite/copy_0_7"},
        {"Blit source alpha 1.0 (OVER)", "BM_LiceBlit/copy_source_alpha", "BM_PixmanComposite/copy_source_alpha"},
        {"Blit source alpha 0.7 (OVER, mask)", "BM_LiceBlit/copy_source_alpha_0_7",
         "BM_PixmanComposite/copy_source_alpha_0_7"},
        {"Blit add (ADD)", "BM_LiceBlit/add", "BM_PixmanComposite/add"},
        {"FillRect 1.0 (SRC fill)", "BM_LiceFill/fill_1_0", "BM_PixmanFill/fill_1_0"},
        {"FillRect 0.5 (OVER fill)", "BM_LiceFill/fill_0_5", "BM_PixmanFill/fill_0_5"},
        {"FillRect 0.3 (OVER fill)", "BM_LiceFill/fill_0_3", "BM_PixmanFill/fill_0_3"},
        {"ScaledBlit bilinear 960x540 -> 1920x1080", "BM_LiceScaleBilinear", "BM_PixmanScaleBilinear"},
        {"RotatedBlit bilinear copy (SRC)", "BM_LiceRotateBilinear/copy", "BM_PixmanRotateBilinear/copy"},
        {"RotatedBlit bilinear source alpha (OVER)", "BM_LiceRotateBilinear/source_alpha",
         "BM_PixmanRotateBilinear/source_alpha"},
    };
    const double mp = static_cast<double>(kW) * kH / 1e6;
    std::fprintf(out, "\nlice beside pixman at %dx%d, megapixels per second (CPU time)\n", kW, kH);
    std::fprintf(out, "%-42s %10s %10s %7s\n", "operation", "lice", "pixman", "ratio");
    for (const Row& row : kRows)
    {
      const double lice = Get(row.lice), pixman = Get(row.pixman);
      if (lice <= 0.0 && pixman <= 0.0) continue; // filtered out
      const double liceRate = lice > 0.0 ? mp / lice * 1e9 : 0.0;
      const double pixmanRate = pixman > 0.0 ? mp / pixman * 1e9 : 0.0;
      std::fprintf(out, "%-42s %10.0f %10.0f %7.2f\n", row.label, liceRate, pixmanRate,
                   liceRate > 0.0 && pixmanRate > 0.0 ? liceRate / pixmanRate : 0.0);
    }
  }
};
} // namespace

int main(int argc, char** argv)
{
  return qvbench::RunWithSummary<CompositeSummary>(argc, argv, QV_BENCH_FLAGS);
}
