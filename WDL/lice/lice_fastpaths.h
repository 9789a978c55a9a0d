#pragma once
// Row loops for the most frequent compositing cases, compiled once per
// instruction set (x86-64 baseline SSE2, AVX2, AVX-512BW) with the best one
// the processor runs picked on first use. Every loop gives exactly the bits
// of the plain combiner it stands in for, on every instruction set: products
// are arranged to fit 16-bit lanes, and the tests compare each loop with the
// combiners on random pixels.

#include "lice_bitmap.h"
#include "lice_combine.h"

#include <cstddef>
#include <cstring>
#include <type_traits>

enum LICE_SimdLevel
{
  LICE_SIMD_PLAIN,  // scalar loops over the combiners (the reference)
  LICE_SIMD_SSE2,   // 16-byte vectors, every x86-64 processor
  LICE_SIMD_AVX2,   // 32-byte vectors
  LICE_SIMD_AVX512, // 64-byte vectors (AVX-512F and BW)
  LICE_SIMD_LEVELS
};

struct LICE_RowKernels
{
  // _LICE_CombinePixelsCopyNoClamp over n bytes, 1 <= W <= 255.
  void (*copyBytes)(LICE_pixel_chan* d, const LICE_pixel_chan* s, int n, int W);
  // _LICE_CombinePixelsAdd over n bytes, 0 <= W <= 256.
  void (*addBytes)(LICE_pixel_chan* d, const LICE_pixel_chan* s, int n, int W);
  // Source-alpha copy over n pixels: W = 256 is
  // _LICE_CombinePixelsCopySourceAlphaIgnoreAlphaParmNoClamp, 1 <= W <= 255
  // is _LICE_CombinePixelsCopySourceAlphaNoClamp.
  void (*copySourceAlpha)(LICE_pixel* d, const LICE_pixel* s, int n, int W);
  // copyBytes with the same source pixel src everywhere, over n pixels.
  void (*copyFill)(LICE_pixel* d, int n, LICE_pixel src, int W);
  // Every one of n pixels becomes c.
  void (*solidFill)(LICE_pixel* d, int n, LICE_pixel c);
  // out[k] = __LICE_BilinearFilterI of the 2 x 2 block whose top-left pixel
  // is base[offs[k]] (the lower pair step pixels further), with fractions
  // fxfy[k] & 0xffff and (fxfy[k] | fyOr) >> 16. Every block must lie in the bitmap,
  // and so must every pixel from base[0] to base[offLimit - 1] and the same
  // pixels step further (offLimit 0 promises nothing).
  void (*bilinear)(LICE_pixel* out, const LICE_pixel* base, ptrdiff_t step, const int* offs,
                   const unsigned int* fxfy, unsigned int fyOr, int n, int offLimit);
};

// [any] The loops of the current level.
const LICE_RowKernels& LICE_Kernels();
// [any] The best level this processor runs.
LICE_SimdLevel LICE_BestSimdLevel();
// Tests only, never while another thread draws: switches to a level at or
// below the best one and returns true; false (and no change) otherwise.
bool LICE_SetSimdLevel(LICE_SimdLevel level);

// Combines n source pixels into n destination pixels with combiner C, using
// a row loop where one exists for C and W.
template <class C>
static inline void LICE_CombineRow(LICE_pixel* d, const LICE_pixel* s, int n, int W)
{
  const LICE_RowKernels& k = LICE_Kernels();
  if constexpr (std::is_same_v<C, _LICE_CombinePixelsClobberNoClamp>)
  {
    if (n > 0) std::memmove(d, s, static_cast<size_t>(n) * sizeof(LICE_pixel));
    return;
  }
  else if constexpr (std::is_same_v<C, _LICE_CombinePixelsCopySourceAlphaIgnoreAlphaParmNoClamp>)
  {
    k.copySourceAlpha(d, s, n, 256);
    return;
  }
  else if constexpr (std::is_same_v<C, _LICE_CombinePixelsCopySourceAlphaNoClamp>)
  {
    if (W >= 1 && W <= 255)
    {
      k.copySourceAlpha(d, s, n, W);
      return;
    }
  }
  else if constexpr (std::is_same_v<C, _LICE_CombinePixelsCopyNoClamp>)
  {
    if (W >= 1 && W <= 255)
    {
      k.copyBytes(reinterpret_cast<LICE_pixel_chan*>(d), reinterpret_cast<const LICE_pixel_chan*>(s), n * 4, W);
      return;
    }
  }
  else if constexpr (std::is_same_v<C, _LICE_CombinePixelsAdd>)
  {
    if (W >= 0 && W <= 256)
    {
      k.addBytes(reinterpret_cast<LICE_pixel_chan*>(d), reinterpret_cast<const LICE_pixel_chan*>(s), n * 4, W);
      return;
    }
  }
  if constexpr (LICE_HasPx<C>::value)
  {
    LICE_pixel* __restrict dp = d;
    const LICE_pixel* __restrict sp = s;
    for (int x = 0; x < n; ++x) dp[x] = C::px(dp[x], sp[x], W);
  }
  else
  {
    auto* dp = reinterpret_cast<LICE_pixel_chan*>(d);
    const auto* sp = reinterpret_cast<const LICE_pixel_chan*>(s);
    for (int x = 0; x < n; ++x)
      C::doPix(dp + x * 4, sp[x * 4 + LICE_PIXEL_R], sp[x * 4 + LICE_PIXEL_G], sp[x * 4 + LICE_PIXEL_B],
               sp[x * 4 + LICE_PIXEL_A], W);
  }
}
