// Every row loop on every instruction set this processor runs, against the
// plain combiners: random pixels, every small width, unaligned starts.

#include "lice.h"
#include "lice_fastpaths.h"
#include "lice_sample.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace
{
struct Rng
{
  unsigned int s;
  unsigned int operator()() { return s = s * 1664525u + 1013904223u; }
};

// Switches to a level for one scope and back to the best one after.
struct AtLevel
{
  explicit AtLevel(LICE_SimdLevel l) { ok = LICE_SetSimdLevel(l); }
  ~AtLevel() { LICE_SetSimdLevel(LICE_BestSimdLevel()); }
  bool ok;
};

// Widths 0-17 cover an empty row, tails only, one 16-pixel vector and a
// tail; the longer ones several vectors of every size.
const int kWidths[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 31, 37, 64, 70};

// Random pixels whose alpha is often 0 or 255, the special cases.
LICE_pixel RandomPixel(Rng& rng)
{
  LICE_pixel p = rng();
  const unsigned int pick = rng() >> 29;
  if (pick == 0) p &= 0x00FFFFFFu;
  if (pick == 1) p |= 0xFF000000u;
  return p;
}

std::vector<LICE_pixel> RandomRow(Rng& rng, int n)
{
  std::vector<LICE_pixel> v(static_cast<size_t>(n));
  for (LICE_pixel& p : v) p = RandomPixel(rng);
  return v;
}

template <class F> void ForEachLevel(F&& f)
{
  for (int l = LICE_SIMD_PLAIN; l <= LICE_BestSimdLevel(); ++l)
  {
    AtLevel at(static_cast<LICE_SimdLevel>(l));
    ASSERT_TRUE(at.ok);
    SCOPED_TRACE("level " + std::to_string(l));
    f(LICE_Kernels());
  }
}

// Runs row(d, s, n, W) on rows starting 0-3 pixels into their buffers and
// compares every pixel with want(d, s, W).
template <class Row, class Want> void ExpectRowMatches(Row row, Want want, const std::vector<int>& weights)
{
  Rng rng{99};
  for (int W : weights)
    for (int n : kWidths)
      for (int off = 0; off < 4; ++off)
      {
        std::vector<LICE_pixel> d = RandomRow(rng, n + 4), s = RandomRow(rng, n + 4);
        const std::vector<LICE_pixel> d0 = d;
        row(d.data() + off, s.data() + (3 - off), n, W);
        for (int i = 0; i < n + 4; ++i)
        {
          const bool inside = i >= off && i < off + n;
          const LICE_pixel expect = inside ? want(d0[i], s[i - off + (3 - off)], W) : d0[i];
          ASSERT_EQ(d[i], expect) << "W=" << W << " n=" << n << " off=" << off << " i=" << i;
        }
      }
}

const std::vector<int> kPartialWeights = {1, 2, 77, 128, 179, 254, 255};
} // namespace

TEST(FastPathLevels, ThereIsAlwaysAtLeastTheBaselineAndNothingAboveTheBest)
{
  EXPECT_GE(LICE_BestSimdLevel(), LICE_SIMD_PLAIN);
  EXPECT_FALSE(LICE_SetSimdLevel(static_cast<LICE_SimdLevel>(LICE_BestSimdLevel() + 1)));
}

TEST(FastPathLevels, CopyAndAddBytesMatchTheCombiners)
{
  ForEachLevel([](const LICE_RowKernels& k) {
    auto bytesOf = [](auto fn) {
      return [fn](LICE_pixel* d, const LICE_pixel* s, int n, int W) {
        fn(reinterpret_cast<LICE_pixel_chan*>(d), reinterpret_cast<const LICE_pixel_chan*>(s), n * 4, W);
      };
    };
    ExpectRowMatches(bytesOf(k.copyBytes), _LICE_CombinePixelsCopyNoClamp::px, kPartialWeights);
    std::vector<int> addWeights = kPartialWeights;
    addWeights.push_back(0);
    addWeights.push_back(256);
    ExpectRowMatches(bytesOf(k.addBytes), _LICE_CombinePixelsAdd::px, addWeights);
  });
}

TEST(FastPathLevels, SourceAlphaCopyMatchesBothCombiners)
{
  ForEachLevel([](const LICE_RowKernels& k) {
    ExpectRowMatches(k.copySourceAlpha, _LICE_CombinePixelsCopySourceAlphaNoClamp::px, kPartialWeights);
    ExpectRowMatches(k.copySourceAlpha, _LICE_CombinePixelsCopySourceAlphaIgnoreAlphaParmNoClamp::px, {256});
  });
}

TEST(FastPathLevels, FillsMatchTheCombiners)
{
  ForEachLevel([](const LICE_RowKernels& k) {
    Rng rng{5};
    for (int W : kPartialWeights)
    {
      const LICE_pixel src = RandomPixel(rng);
      ExpectRowMatches([&](LICE_pixel* d, const LICE_pixel*, int n, int w) { k.copyFill(d, n, src, w); },
                       [&](LICE_pixel d, LICE_pixel, int w) { return _LICE_CombinePixelsCopyNoClamp::px(d, src, w); },
                       {W});
      ExpectRowMatches([&](LICE_pixel* d, const LICE_pixel*, int n, int) { k.solidFill(d, n, src); },
                       [&](LICE_pixel, LICE_pixel, int) { return src; }, {W});
    }
  });
}

// Blocks anywhere in a flipped-order source (negative step), and runs of
// left-to-right blocks close together, which take the windowed loads.
TEST(FastPathLevels, BilinearBlocksMatchTheFilter)
{
  constexpr int kSw = 40, kSh = 6;
  Rng rng{7};
  std::vector<LICE_pixel> src = RandomRow(rng, kSw * kSh);
  ForEachLevel([&](const LICE_RowKernels& k) {
    for (const ptrdiff_t step : {static_cast<ptrdiff_t>(kSw), -static_cast<ptrdiff_t>(kSw)})
    {
      const LICE_pixel* base = step > 0 ? src.data() : src.data() + kSw * (kSh - 1);
      for (int n : kWidths)
        for (int pattern = 0; pattern < 3; ++pattern)
        {
          std::vector<int> offs(static_cast<size_t>(n));
          std::vector<unsigned int> fxfy(static_cast<size_t>(n));
          const int row = static_cast<int>(rng() % (kSh - 1));
          int x = static_cast<int>(rng() % 8);
          for (int i = 0; i < n; ++i)
          {
            if (pattern == 0) x = static_cast<int>(rng() % (kSw - 1)); // anywhere
            else if (pattern == 1) x = std::min(x + static_cast<int>(rng() % 2), kSw - 2); // upscaling run
            else x = (i % 3) + static_cast<int>(rng() % (kSw - 4)) * (i % 2);          // mixed
            const int y = pattern == 0 ? static_cast<int>(rng() % (kSh - 1)) : row;
            offs[static_cast<size_t>(i)] = static_cast<int>(y * step + x);
            fxfy[static_cast<size_t>(i)] = i < 2 ? (i ? 0xFFFFFFFFu : 0u) : rng();
          }
          const unsigned int fyOr = pattern == 1 ? (rng() & 0xFFFF0000u) : 0u;
          if (fyOr)
            for (unsigned int& f : fxfy) f &= 0xFFFFu;
          std::vector<LICE_pixel> out(static_cast<size_t>(n) + 1, 0xDEADBEEFu);
          k.bilinear(out.data(), base, step, offs.data(), fxfy.data(), fyOr, n, step > 0 ? kSw * (kSh - 1) : 0);
          for (int i = 0; i < n; ++i)
          {
            const LICE_pixel* p = base + offs[static_cast<size_t>(i)];
            const unsigned int f = fxfy[static_cast<size_t>(i)] | fyOr;
            ASSERT_EQ(out[static_cast<size_t>(i)],
                      __LICE_BilinearFilterI(p[0], p[1], p[step], p[step + 1], f & 0xFFFFu, f >> 16))
                << "n=" << n << " pattern=" << pattern << " i=" << i;
          }
          ASSERT_EQ(out[static_cast<size_t>(n)], 0xDEADBEEFu);
        }
    }
  });
}

// The whole operations on every level give the plain level's pixels.
TEST(FastPathLevels, ScaledAndRotatedBlitsGiveThePlainPixelsOnEveryLevel)
{
  Rng rng{11};
  LICE_MemBitmap src(29, 23, 1);
  for (int y = 0; y < src.getHeight(); ++y)
    for (int x = 0; x < src.getWidth(); ++x) src.getBits()[y * src.getRowSpan() + x] = RandomPixel(rng);
  LICE_MemBitmap dst0(45, 41, 1);
  for (int y = 0; y < dst0.getHeight(); ++y)
    for (int x = 0; x < dst0.getWidth(); ++x) dst0.getBits()[y * dst0.getRowSpan() + x] = RandomPixel(rng);
  struct Case
  {
    float opacity;
    int mode;
  };
  const Case cases[] = {{1.0f, 0}, {0.7f, 0}, {1.0f, LICE_BLIT_USE_ALPHA}, {0.6f, LICE_BLIT_USE_ALPHA},
                        {1.0f, LICE_BLIT_MODE_ADD}, {0.5f, LICE_BLIT_MODE_MUL}};
  auto draw = [&](LICE_MemBitmap& d, int w, const Case& c, int variant) {
    const int mode = c.mode | LICE_BLIT_FILTER_BILINEAR;
    if (variant == 0) LICE_ScaledBlit(&d, &src, 2, 1, w + 3, 30, 0.5f, 0.25f, 25.0f, 21.0f, c.opacity, mode);
    else if (variant == 1) LICE_ScaledBlit(&d, &src, 40, 3, -w - 3, 31, 1.3f, 0.0f, 20.5f, 22.75f, c.opacity, mode);
    else
      LICE_RotatedBlit(&d, &src, 1, 2, w + 20, 36, 0.0f, 0.0f, 29.0f, 23.0f, 0.2f + 0.35f * static_cast<float>(w), false,
                       c.opacity, mode, 0.5f, -1.0f);
  };
  for (int w : kWidths)
    for (const Case& c : cases)
      for (int variant = 0; variant < 3; ++variant)
      {
        LICE_MemBitmap want(1, 1, 1);
        {
          AtLevel plain(LICE_SIMD_PLAIN);
          LICE_Copy(&want, &dst0);
          draw(want, w, c, variant);
        }
        ForEachLevel([&](const LICE_RowKernels&) {
          LICE_MemBitmap got(1, 1, 1);
          LICE_Copy(&got, &dst0);
          draw(got, w, c, variant);
          for (int y = 0; y < got.getHeight(); ++y)
            for (int x = 0; x < got.getWidth(); ++x)
              ASSERT_EQ(LICE_GetPixel(&got, x, y), LICE_GetPixel(&want, x, y))
                  << x << "," << y << " w=" << w << " mode=" << c.mode << " variant=" << variant;
        });
      }
}
