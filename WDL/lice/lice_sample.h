#pragma once
// Source sampling shared by the scaling and rotating blits: nearest pixel and
// the integer bilinear filter with its edge rules. Positions are 16.16 fixed
// point; every sample stays inside a bounds rectangle of the source.

#include "lice_bitmap.h"
#include "lice_combine.h"
#include "lice_rows.h"

#include <cstdint>

struct LICE_SampleBounds
{
  int left, top, right, bottom; // right and bottom exclusive
  bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

// (p * (65536 - f) + q * f) >> 16 per channel.
static inline LICE_pixel __LICE_LinearFilterI(LICE_pixel p, LICE_pixel q, unsigned int f)
{
  const unsigned int nf = 65536u - f;
  LICE_pixel out = 0;
  for (int sh = 0; sh < 32; sh += 8)
  {
    const unsigned int c = (((p >> sh) & 0xffu) * nf + ((q >> sh) & 0xffu) * f) >> 16;
    out |= c << sh;
  }
  return out;
}

// Weights w00 = 65536 - fx - fy + w11, w10 = fx - w11, w01 = fy - w11 and
// w11 = fx * fy >> 16, which add up to 65536.
static inline LICE_pixel __LICE_BilinearFilterI(LICE_pixel p00, LICE_pixel p10, LICE_pixel p01,
                                                LICE_pixel p11, unsigned int fx, unsigned int fy)
{
  const unsigned int w11 = (fx * fy) >> 16;
  const uint64_t w00 = 65536u - fx - fy + w11, w10 = fx - w11, w01 = fy - w11;
  // Two channels per 64-bit product, 32 bits apart: a channel times a
  // weight needs 24 bits, and the weights add up to 65536, so the sums
  // cannot run into each other.
  auto even = [](LICE_pixel p) { return (p & 0xffu) | (static_cast<uint64_t>(p & 0xff0000u) << 16); };
  auto odd = [](LICE_pixel p) { return ((p >> 8) & 0xffu) | (static_cast<uint64_t>(p & 0xff000000u) << 8); };
  const uint64_t e = even(p00) * w00 + even(p10) * w10 + even(p01) * w01 + even(p11) * w11;
  const uint64_t o = odd(p00) * w00 + odd(p10) * w10 + odd(p01) * w01 + odd(p11) * w11;
  return static_cast<LICE_pixel>(((e >> 16) & 0xffu) | (((o >> 16) & 0xffu) << 8) |
                                 (((e >> 48) & 0xffu) << 16) | (((o >> 48) & 0xffu) << 24));
}

// Bilinear sample at whole position (x, y) with fractions fx, fy, which must
// lie inside b. The last column mixes only vertically, the last row only
// horizontally, and the bottom-right pixel is taken as it is.
static inline LICE_pixel LICE_SampleBilinear(const LICE_RowAccess& s, const LICE_SampleBounds& b,
                                             int x, int y, unsigned int fx, unsigned int fy)
{
  const LICE_pixel* p = s.at(x, y);
  const bool lastCol = x + 1 >= b.right, lastRow = y + 1 >= b.bottom;
  if (!lastCol && !lastRow) return __LICE_BilinearFilterI(p[0], p[1], p[s.step], p[s.step + 1], fx, fy);
  if (lastCol && !lastRow) return __LICE_LinearFilterI(p[0], p[s.step], fy);
  if (!lastCol) return __LICE_LinearFilterI(p[0], p[1], fx);
  return p[0];
}

// Mean of the taps of an n x n box starting at (x, y) that lie inside b;
// false when none does.
static inline bool LICE_SampleBox(const LICE_RowAccess& s, const LICE_SampleBounds& b, int x, int y,
                                  int n, LICE_pixel* out)
{
  unsigned int sum[4] = {0, 0, 0, 0};
  unsigned int count = 0;
  for (int j = y; j < y + n; ++j)
  {
    if (j < b.top || j >= b.bottom) continue;
    const LICE_pixel* row = s.row(j);
    for (int i = x; i < x + n; ++i)
    {
      if (i < b.left || i >= b.right) continue;
      const LICE_pixel p = row[i];
      sum[0] += p & 0xffu;
      sum[1] += (p >> 8) & 0xffu;
      sum[2] += (p >> 16) & 0xffu;
      sum[3] += p >> 24;
      ++count;
    }
  }
  if (!count) return false;
  *out = (sum[0] / count) | ((sum[1] / count) << 8) | ((sum[2] / count) << 16) | ((sum[3] / count) << 24);
  return true;
}

template <class C> static inline void LICE_CombineSample(LICE_pixel* d, LICE_pixel s, int W)
{
  if constexpr (LICE_HasPx<C>::value) *d = C::px(*d, s, W);
  else
    C::doPix(reinterpret_cast<LICE_pixel_chan*>(d), static_cast<int>(LICE_GETR(s)),
             static_cast<int>(LICE_GETG(s)), static_cast<int>(LICE_GETB(s)),
             static_cast<int>(LICE_GETA(s)), W);
}
