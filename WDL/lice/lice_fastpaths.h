#pragma once
// Row loops for the most frequent compositing cases, arranged so that each
// product fits 16 bits and x86-64's baseline SSE2 can do eight at once. Each
// gives exactly the bits of the combiner it stands in for (the tests compare
// them over every input).

#include "lice_bitmap.h"
#include "lice_combine.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// _LICE_CombinePixelsCopyNoClamp for 1 <= W <= 255, f = 256 - W, over n bytes:
// s + (d - s) * f / 256 truncated toward zero = s +/- (|d - s| * f >> 8).
static inline void LICE_CopyBytes(LICE_pixel_chan* __restrict d, const LICE_pixel_chan* __restrict s,
                                  int n, int W)
{
  const unsigned short f = static_cast<unsigned short>(256 - W);
  int i = 0;
#if defined(__SSE2__)
  // Rounding toward zero from s is rounding d * f + s * W (at most 65280)
  // down when d >= s and up when d < s: (u + (d < s ? 255 : 0)) >> 8, all in
  // unsigned 16 bits.
  const __m128i zero = _mm_setzero_si128();
  const __m128i f16 = _mm_set1_epi16(static_cast<short>(f));
  const __m128i w16 = _mm_set1_epi16(static_cast<short>(W));
  const __m128i c255 = _mm_set1_epi16(255);
  for (; i + 16 <= n; i += 16)
  {
    const __m128i dv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
    const __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
    __m128i halves[2];
    for (int h = 0; h < 2; ++h)
    {
      const __m128i d16 = h ? _mm_unpackhi_epi8(dv, zero) : _mm_unpacklo_epi8(dv, zero);
      const __m128i s16 = h ? _mm_unpackhi_epi8(sv, zero) : _mm_unpacklo_epi8(sv, zero);
      const __m128i u = _mm_add_epi16(_mm_mullo_epi16(d16, f16), _mm_mullo_epi16(s16, w16));
      const __m128i bias = _mm_and_si128(_mm_cmplt_epi16(d16, s16), c255);
      halves[h] = _mm_srli_epi16(_mm_add_epi16(u, bias), 8);
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), _mm_packus_epi16(halves[0], halves[1]));
  }
#endif
  for (; i < n; ++i)
  {
    const LICE_pixel_chan dv = d[i], sv = s[i];
    const bool neg = dv < sv;
    const unsigned short ad = neg ? static_cast<unsigned short>(sv - dv) : static_cast<unsigned short>(dv - sv);
    const unsigned short m = static_cast<unsigned short>(ad * f) >> 8;
    d[i] = static_cast<LICE_pixel_chan>(neg ? sv - m : sv + m);
  }
}

// _LICE_CombinePixelsAdd for 0 <= W <= 256 over n bytes.
static inline void LICE_AddBytes(LICE_pixel_chan* __restrict d, const LICE_pixel_chan* __restrict s,
                                 int n, int W)
{
  if (W == 256)
  {
    // s * 256 / 256 = s: a saturating byte add.
    int i = 0;
#if defined(__SSE2__)
    for (; i + 16 <= n; i += 16)
    {
      const __m128i dv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
      const __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), _mm_adds_epu8(dv, sv));
    }
#endif
    for (; i < n; ++i)
    {
      const int v = d[i] + s[i];
      d[i] = static_cast<LICE_pixel_chan>(v > 255 ? 255 : v);
    }
    return;
  }
  const unsigned short w = static_cast<unsigned short>(W);
  for (int i = 0; i < n; ++i)
  {
    const unsigned short v = static_cast<unsigned short>(d[i] + (static_cast<unsigned short>(s[i] * w) >> 8));
    d[i] = static_cast<LICE_pixel_chan>(v > 255 ? 255 : v);
  }
}

// _LICE_CombinePixelsCopySourceAlphaIgnoreAlphaParmNoClamp over n pixels.
static inline void LICE_CopySourceAlphaOpaqueRow(LICE_pixel* __restrict d, const LICE_pixel* __restrict s,
                                                 int n)
{
  int i = 0;
#if defined(__SSE2__)
  // Per pixel f = 255 - sa, or 256 when sa = 0 (255 - 255 is already the 0
  // that replaces the pixel); colour: s +/- (|d - s| * f >> 8); alpha:
  // min(sa + da, 255), a saturating byte add.
  const __m128i zero = _mm_setzero_si128();
  const __m128i c255 = _mm_set1_epi32(255), c256 = _mm_set1_epi32(256);
  const __m128i alphaMask = _mm_set1_epi32(static_cast<int>(0xFF000000u));
  for (; i + 4 <= n; i += 4)
  {
    const __m128i dv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
    const __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
    const __m128i a = _mm_srli_epi32(sv, 24);
    const __m128i isZero = _mm_cmpeq_epi32(a, zero);
    const __m128i f32 = _mm_or_si128(_mm_and_si128(isZero, c256), _mm_andnot_si128(isZero, _mm_sub_epi32(c255, a)));
    __m128i halves[2];
    for (int h = 0; h < 2; ++h)
    {
      const __m128i fp = h ? _mm_unpackhi_epi32(f32, f32) : _mm_unpacklo_epi32(f32, f32);
      const __m128i f16 = _mm_or_si128(fp, _mm_slli_epi32(fp, 16));
      const __m128i d16 = h ? _mm_unpackhi_epi8(dv, zero) : _mm_unpacklo_epi8(dv, zero);
      const __m128i s16 = h ? _mm_unpackhi_epi8(sv, zero) : _mm_unpacklo_epi8(sv, zero);
      const __m128i diff = _mm_sub_epi16(d16, s16);
      const __m128i ad = _mm_max_epi16(diff, _mm_sub_epi16(zero, diff));
      const __m128i m = _mm_srli_epi16(_mm_mullo_epi16(ad, f16), 8);
      const __m128i neg = _mm_cmplt_epi16(diff, zero);
      halves[h] = _mm_add_epi16(s16, _mm_sub_epi16(_mm_xor_si128(m, neg), neg));
    }
    const __m128i rgb = _mm_packus_epi16(halves[0], halves[1]);
    const __m128i alpha = _mm_adds_epu8(dv, sv);
    const __m128i out = _mm_or_si128(_mm_andnot_si128(alphaMask, rgb), _mm_and_si128(alphaMask, alpha));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), out);
  }
#endif
  for (; i < n; ++i) d[i] = _LICE_CombinePixelsCopySourceAlphaIgnoreAlphaParmNoClamp::px(d[i], s[i], 256);
}

// LICE_CopyBytes with the same source pixel src everywhere, over n pixels.
static inline void LICE_CopyFillRow(LICE_pixel* __restrict d, int n, LICE_pixel src, int W)
{
  int i = 0;
#if defined(__SSE2__)
  const __m128i zero = _mm_setzero_si128();
  const __m128i f16 = _mm_set1_epi16(static_cast<short>(256 - W));
  const __m128i s16 = _mm_unpacklo_epi8(_mm_set1_epi32(static_cast<int>(src)), zero);
  const __m128i sw16 = _mm_mullo_epi16(s16, _mm_set1_epi16(static_cast<short>(W)));
  const __m128i c255 = _mm_set1_epi16(255);
  for (; i + 4 <= n; i += 4)
  {
    const __m128i dv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
    __m128i halves[2];
    for (int h = 0; h < 2; ++h)
    {
      // As in LICE_CopyBytes, with s * W worked out once.
      const __m128i d16 = h ? _mm_unpackhi_epi8(dv, zero) : _mm_unpacklo_epi8(dv, zero);
      const __m128i u = _mm_add_epi16(_mm_mullo_epi16(d16, f16), sw16);
      const __m128i bias = _mm_and_si128(_mm_cmplt_epi16(d16, s16), c255);
      halves[h] = _mm_srli_epi16(_mm_add_epi16(u, bias), 8);
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), _mm_packus_epi16(halves[0], halves[1]));
  }
#endif
  for (; i < n; ++i)
    LICE_CopyBytes(reinterpret_cast<LICE_pixel_chan*>(d + i), reinterpret_cast<const LICE_pixel_chan*>(&src), 4, W);
}
