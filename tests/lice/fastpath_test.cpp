// The vectorised row loops against the plain combiners, over every input.

#include "lice.h"
#include "lice_combine.h"
#include "lice_sample.h"

#include <gtest/gtest.h>

namespace
{
// Source pixel (x, y) and destination pixel (x, y) of a 256 x 256 pair that
// between them hold every (destination, source) byte pair in each channel.
LICE_pixel Src(int x, int y, int a)
{
  return LICE_RGBA(x, y, 255 - x, a);
}
LICE_pixel Dst(int x, int y)
{
  return LICE_RGBA(y, x, 255 - y, (x * 7 + y) & 255);
}

template <class C>
void ExpectBlitMatches(LICE_MemBitmap& src, LICE_MemBitmap& dst, int a, float opacity, int mode)
{
  for (int y = 0; y < 256; ++y)
    for (int x = 0; x < 256; ++x)
    {
      LICE_pixel* s = src.getBits() + y * src.getRowSpan() + x;
      LICE_pixel* d = dst.getBits() + y * dst.getRowSpan() + x;
      *s = Src(x, y, a);
      *d = Dst(x, y);
    }
  LICE_Blit(&dst, &src, 0, 0, nullptr, opacity, mode);
  const int W = static_cast<int>(opacity * 256.0f);
  for (int y = 0; y < 256; ++y)
    for (int x = 0; x < 256; ++x)
    {
      LICE_pixel want = Dst(x, y);
      const LICE_pixel s = Src(x, y, a);
      C::doPix(reinterpret_cast<LICE_pixel_chan*>(&want), static_cast<int>(LICE_GETR(s)),
               static_cast<int>(LICE_GETG(s)), static_cast<int>(LICE_GETB(s)), a, W);
      ASSERT_EQ(LICE_GetPixel(&dst, x, y), want) << x << "," << y << " a=" << a << " W=" << W;
    }
}
} // namespace

TEST(FastPaths, CopyAndAddRowsMatchTheCombinersAtEveryWeight)
{
  LICE_MemBitmap src(256, 256), dst(256, 256);
  for (int W = 1; W <= 256; W += 3) // includes 1, 127, 130, 256
  {
    ExpectBlitMatches<_LICE_CombinePixelsAdd>(src, dst, W & 255, W / 256.0f, LICE_BLIT_MODE_ADD);
    if (W < 256)
      ExpectBlitMatches<_LICE_CombinePixelsCopyNoClamp>(src, dst, W & 255, W / 256.0f, 0);
  }
  ExpectBlitMatches<_LICE_CombinePixelsCopyNoClamp>(src, dst, 9, 255 / 256.0f, 0);
}

TEST(FastPaths, OpaqueSourceAlphaCopyMatchesAtEveryAlpha)
{
  LICE_MemBitmap src(256, 256), dst(256, 256);
  for (int a = 0; a < 256; ++a)
    ExpectBlitMatches<_LICE_CombinePixelsCopySourceAlphaIgnoreAlphaParmNoClamp>(src, dst, a, 1.0f,
                                                                                 LICE_BLIT_USE_ALPHA);
}

TEST(FastPaths, FillsMatchTheCombiners)
{
  LICE_MemBitmap bm(256, 256);
  for (int W = 1; W < 256; W += 2)
    for (int op : {LICE_BLIT_MODE_COPY, LICE_BLIT_MODE_ADD})
    {
      const LICE_pixel color = LICE_RGBA(W, 255 - W, W * 3, 0);
      for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) bm.getBits()[y * bm.getRowSpan() + x] = Dst(x, y);
      LICE_FillRect(&bm, 0, 0, 256, 256, color, W / 256.0f, op);
      if (op == 0 && (W == 64 || W == 128 || W == 192)) continue; // whole-pixel shortcuts
      for (int y = 0; y < 256; y += 5)
        for (int x = 0; x < 256; ++x)
        {
          LICE_pixel want = Dst(x, y);
          LICE_CombinePixels2(&want, static_cast<int>(LICE_GETR(color)), static_cast<int>(LICE_GETG(color)),
                              static_cast<int>(LICE_GETB(color)), W, W, op);
          ASSERT_EQ(LICE_GetPixel(&bm, x, y), want) << x << "," << y << " W=" << W << " op=" << op;
        }
    }
}

TEST(FastPaths, BilinearFilterMatchesTheWeightFormulaPerChannel)
{
  unsigned int seed = 12345;
  auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
  for (int n = 0; n < 200000; ++n)
  {
    const LICE_pixel p[4] = {next(), next(), next(), next()};
    const unsigned int fx = n < 4 ? (n & 1) * 65535u : next() >> 16;
    const unsigned int fy = n < 4 ? (n >> 1) * 65535u : next() >> 16;
    const unsigned int w11 = (fx * fy) >> 16;
    const unsigned int w[4] = {65536u - fx - fy + w11, fx - w11, fy - w11, w11};
    LICE_pixel want = 0;
    for (int sh = 0; sh < 32; sh += 8)
    {
      unsigned int sum = 0;
      for (int k = 0; k < 4; ++k) sum += ((p[k] >> sh) & 255u) * w[k];
      want |= (sum >> 16) << sh;
    }
    ASSERT_EQ(__LICE_BilinearFilterI(p[0], p[1], p[2], p[3], fx, fy), want) << n;
  }
}
