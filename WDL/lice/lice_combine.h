#pragma once
// Per-pixel combiners and the rule that picks one for a blend-mode word.
//
// Each combiner is a struct with one static doPix(dest, r, g, b, a, W): dest
// points at a pixel's four bytes in memory order (blue, green, red, alpha),
// (r, g, b, a) is the source colour (0-255) and W the weight (256 opaque).
// Integer division truncates toward zero and >> is arithmetic, on purpose:
// results are defined to the bit. "NoClamp" combiners keep the low 8 bits;
// their formulas stay within 0-255 only for 0 <= W <= 256, so the selection
// below switches to the clamped twins outside that range.

#include "lice.h"

#include <type_traits>

extern const unsigned short __LICE_RGB2HSV_invtab[256]; // [0] = 0, [i] = 65536 / i - 1

// True for a source coordinate the 16.16 position arithmetic can carry.
static inline bool LICE_UsableCoord(float v)
{
  return v > -1e8f && v < 1e8f;
}

static inline int LICE_Clamp255(int v)
{
  return v < 0 ? 0 : (v > 255 ? 255 : v);
}

// Hue 0-383 in six sectors of 64 (0 red, 128 green, 256 blue), saturation and
// value 0-255.
static inline void __LICE_RGB2HSV(int r, int g, int b, int* h, int* s, int* v)
{
  const int mx = r > g ? (r > b ? r : b) : (g > b ? g : b);
  const int mn = r < g ? (r < b ? r : b) : (g < b ? g : b);
  const int delta = mx - mn;
  const int k = __LICE_RGB2HSV_invtab[delta] + 1;
  *v = mx;
  *s = delta * __LICE_RGB2HSV_invtab[mx] / 256;
  if (r == mx)
    *h = g >= b ? (g - b) * k / 1024 : 383 + (g - b) * k / 1024;
  else if (g == mx)
    *h = 128 + (b - r) * k / 1024;
  else
    *h = 256 + (r - g) * k / 1024;
}

static inline LICE_pixel __LICE_HSV2Pix(int h, int s, int v, int alpha)
{
  const int m = v * (256 - s) / 256;
  int r, g, b;
  if (h < 64)
  {
    r = v;
    g = v * (16384 - s * (64 - h)) / 16384;
    b = m;
  }
  else if (h < 128)
  {
    r = v * (16384 + s * (64 - h)) / 16384;
    g = v;
    b = m;
  }
  else if (h < 192)
  {
    r = m;
    g = v;
    b = v * (16384 - s * (192 - h)) / 16384;
  }
  else if (h < 256)
  {
    r = m;
    g = v * (16384 + s * (192 - h)) / 16384;
    b = v;
  }
  else if (h < 320)
  {
    r = v * (16384 - s * (320 - h)) / 16384;
    g = m;
    b = v;
  }
  else
  {
    r = v;
    g = m;
    b = v * (16384 + s * (320 - h)) / 16384;
  }
  return LICE_RGBA(r, g, b, alpha);
}

// Weights are limited to +/-4096 (opacity +/-16), which keeps every
// intermediate of the combiners inside int; NaN counts as 0.
constexpr int LICE_kMaxWeight = 4096;
static inline int LICE_ClampWeight(int W)
{
  return W < -LICE_kMaxWeight ? -LICE_kMaxWeight : (W > LICE_kMaxWeight ? LICE_kMaxWeight : W);
}

// W = (int)(opacity * 256), truncated toward zero.
static inline int LICE_Weight(float opacity)
{
  const float w = opacity * 256.0f;
  if (!(w == w)) return 0;
  if (w >= static_cast<float>(LICE_kMaxWeight)) return LICE_kMaxWeight;
  if (w <= -static_cast<float>(LICE_kMaxWeight)) return -LICE_kMaxWeight;
  return static_cast<int>(w);
}

// Weight scaled by the source alpha, as every source-alpha combiner uses it.
static inline int LICE_SourceAlphaWeight(int W, int sa)
{
  return W * (sa + 1) / 256;
}

static inline int LICE_Chan(LICE_pixel p, int shift)
{
  return static_cast<int>((p >> shift) & 0xffu);
}
static inline LICE_pixel LICE_PackChan(int v, int shift)
{
  return (static_cast<LICE_pixel>(v) & 0xffu) << shift;
}

// Combiners with a px(d, s, W) form also work on whole pixels (d and s
// 0xAARRGGBB, every channel 0-255): loops over 32-bit pixels vectorise
// without shuffling bytes. px and doPix share the per-channel formula, so
// both give the same bits.

struct _LICE_CombinePixelsClobberNoClamp
{
  static inline void doPix(LICE_pixel_chan* d, int r, int g, int b, int a, int)
  {
    d[0] = (LICE_pixel_chan)b;
    d[1] = (LICE_pixel_chan)g;
    d[2] = (LICE_pixel_chan)r;
    d[3] = (LICE_pixel_chan)a;
  }
  static inline LICE_pixel px(LICE_pixel, LICE_pixel s, int) { return s; }
};

struct _LICE_CombinePixelsHalfMixNoClamp
{
  static inline void doPix(LICE_pixel_chan* d, int r, int g, int b, int a, int)
  {
    d[0] = (LICE_pixel_chan)((d[0] + b) >> 1);
    d[1] = (LICE_pixel_chan)((d[1] + g) >> 1);
    d[2] = (LICE_pixel_chan)((d[2] + r) >> 1);
    d[3] = (LICE_pixel_chan)((d[3] + a) >> 1);
  }
};

// Channel-symmetric combiners: one formula ch(d, s, W) for all four channels.
template <class Ch> struct LICE_SymmetricCombiner
{
  static inline void doPix(LICE_pixel_chan* d, int r, int g, int b, int a, int W)
  {
    d[0] = (LICE_pixel_chan)Ch::ch(d[0], b, W);
    d[1] = (LICE_pixel_chan)Ch::ch(d[1], g, W);
    d[2] = (LICE_pixel_chan)Ch::ch(d[2], r, W);
    d[3] = (LICE_pixel_chan)Ch::ch(d[3], a, W);
  }
  static inline LICE_pixel px(LICE_pixel d, LICE_pixel s, int W)
  {
    return LICE_PackChan(Ch::ch(LICE_Chan(d, 0), LICE_Chan(s, 0), W), 0) |
           LICE_PackChan(Ch::ch(LICE_Chan(d, 8), LICE_Chan(s, 8), W), 8) |
           LICE_PackChan(Ch::ch(LICE_Chan(d, 16), LICE_Chan(s, 16), W), 16) |
           LICE_PackChan(Ch::ch(LICE_Chan(d, 24), LICE_Chan(s, 24), W), 24);
  }
};

// d = s + (d - s) * (256 - W) / 256
template <bool CLAMP> struct LICE_CopyCh
{
  static inline int ch(int d, int s, int W)
  {
    const int v = s + (d - s) * (256 - W) / 256;
    return CLAMP ? LICE_Clamp255(v) : v;
  }
};
struct _LICE_CombinePixelsCopyNoClamp : LICE_SymmetricCombiner<LICE_CopyCh<false>>
{
};
struct _LICE_CombinePixelsCopyClamp : LICE_SymmetricCombiner<LICE_CopyCh<true>>
{
};

// d = d + s * W / 256, clamped
struct LICE_AddCh
{
  static inline int ch(int d, int s, int W) { return LICE_Clamp255(d + s * W / 256); }
};
struct _LICE_CombinePixelsAdd : LICE_SymmetricCombiner<LICE_AddCh>
{
};

struct _LICE_CombinePixelsColorDodge
{
  static inline int one(int d, int s, int W)
  {
    const int t = s * W / 256;
    return LICE_Clamp255(t > 254 ? d * 256 : d * 256 / (256 - t));
  }
  static inline void doPix(LICE_pixel_chan* d, int r, int g, int b, int a, int W)
  {
    d[0] = (LICE_pixel_chan)one(d[0], b, W);
    d[1] = (LICE_pixel_chan)one(d[1], g, W);
    d[2] = (LICE_pixel_chan)one(d[2], r, W);
    d[3] = (LICE_pixel_chan)one(d[3], a, W);
  }
};

// d = (d * ((256 - W) * 256 + s * W)) >> 16
template <bool CLAMP> struct LICE_MulCh
{
  static inline int ch(int d, int s, int W)
  {
    const int v = (d * ((256 - W) * 256 + s * W)) >> 16;
    return CLAMP ? LICE_Clamp255(v) : v;
  }
};
struct _LICE_CombinePixelsMulNoClamp : LICE_SymmetricCombiner<LICE_MulCh<false>>
{
};
struct _LICE_CombinePixelsMulClamp : LICE_SymmetricCombiner<LICE_MulCh<true>>
{
};

struct _LICE_CombinePixelsOverlay
{
  static inline int one(int d, int s, int W)
  {
    const int k = s * W + (256 - W) * 128;
    return LICE_Clamp255((d * (d * (32768 - k) / 256 + k)) >> 15);
  }
  static inline void doPix(LICE_pixel_chan* d, int r, int g, int b, int a, int W)
  {
    d[0] = (LICE_pixel_chan)one(d[0], b, W);
    d[1] = (LICE_pixel_chan)one(d[1], g, W);
    d[2] = (LICE_pixel_chan)one(d[2], r, W);
    d[3] = (LICE_pixel_chan)one(d[3], a, W);
  }
};

struct _LICE_CombinePixelsHSVAdjust
{
  static inline void doPix(LICE_pixel_chan* d, int r, int g, int b, int a, int W)
  {
    int h, s, v;
    __LICE_RGB2HSV(d[2], d[1], d[0], &h, &s, &v);
    h += W * (r + r / 2 - 192) / 256;
    // One wrap is enough for weights up to 256; the remainder keeps larger
    // weights inside the hue circle too.
    h %= 384;
    if (h < 0) h += 384;
    s = LICE_Clamp255(s + W * (g - 128) / 128);
    v = LICE_Clamp255(v + W * (b - 128) / 128);
    const LICE_pixel p = __LICE_HSV2Pix(h, s, v, a);
    d[0] = (LICE_pixel_chan)LICE_GETB(p);
    d[1] = (LICE_pixel_chan)LICE_GETG(p);
    d[2] = (LICE_pixel_chan)LICE_GETR(p);
    d[3] = (LICE_pixel_chan)LICE_GETA(p);
  }
};

// Written without branches (a zero weight where the source alpha is 0 leaves
// the pixel exactly as it was) so that blit loops vectorise.
template <bool CLAMP> struct LICE_CopySourceAlphaT
{
  static inline int rgb(int d, int s, int f)
  {
    const int v = s + (d - s) * f / 256;
    return CLAMP ? LICE_Clamp255(v) : v;
  }
  static inline int alpha(int d, int w2)
  {
    const int v = w2 + d;
    return CLAMP ? LICE_Clamp255(v) : (v < 255 ? v : 255);
  }
  static inline int weight(int a, int W) { return a ? LICE_SourceAlphaWeight(W, a) : 0; }
  static inline void doPix(LICE_pixel_chan* d, int r, int g, int b, int a, int W)
  {
    const int w2 = weight(a, W), f = 256 - w2;
    d[0] = (LICE_pixel_chan)rgb(d[0], b, f);
    d[1] = (LICE_pixel_chan)rgb(d[1], g, f);
    d[2] = (LICE_pixel_chan)rgb(d[2], r, f);
    d[3] = (LICE_pixel_chan)alpha(d[3], w2);
  }
  static inline LICE_pixel px(LICE_pixel d, LICE_pixel s, int W)
  {
    const int w2 = weight(LICE_Chan(s, 24), W), f = 256 - w2;
    return LICE_PackChan(rgb(LICE_Chan(d, 0), LICE_Chan(s, 0), f), 0) |
           LICE_PackChan(rgb(LICE_Chan(d, 8), LICE_Chan(s, 8), f), 8) |
           LICE_PackChan(rgb(LICE_Chan(d, 16), LICE_Chan(s, 16), f), 16) |
           LICE_PackChan(alpha(LICE_Chan(d, 24), w2), 24);
  }
};
struct _LICE_CombinePixelsCopySourceAlphaNoClamp : LICE_CopySourceAlphaT<false>
{
};
struct _LICE_CombinePixelsCopySourceAlphaClamp : LICE_CopySourceAlphaT<true>
{
};

// Opaque source-alpha copy: sa = 0 keeps the pixel (factor 256), sa = 255
// replaces it (factor 0), anything else mixes by 255 - sa.
struct _LICE_CombinePixelsCopySourceAlphaIgnoreAlphaParmNoClamp
{
  static inline int factor(int a) { return a == 0 ? 256 : (a == 255 ? 0 : 255 - a); }
  static inline int rgb(int d, int s, int f) { return s + (d - s) * f / 256; }
  static inline int alpha(int d, int a) { return a + d < 255 ? a + d : 255; }
  static inline void doPix(LICE_pixel_chan* d, int r, int g, int b, int a, int)
  {
    const int f = factor(a);
    d[0] = (LICE_pixel_chan)rgb(d[0], b, f);
    d[1] = (LICE_pixel_chan)rgb(d[1], g, f);
    d[2] = (LICE_pixel_chan)rgb(d[2], r, f);
    d[3] = (LICE_pixel_chan)alpha(d[3], a);
  }
  static inline LICE_pixel px(LICE_pixel d, LICE_pixel s, int)
  {
    const int a = LICE_Chan(s, 24), f = factor(a);
    return LICE_PackChan(rgb(LICE_Chan(d, 0), LICE_Chan(s, 0), f), 0) |
           LICE_PackChan(rgb(LICE_Chan(d, 8), LICE_Chan(s, 8), f), 8) |
           LICE_PackChan(rgb(LICE_Chan(d, 16), LICE_Chan(s, 16), f), 16) |
           LICE_PackChan(alpha(LICE_Chan(d, 24), a), 24);
  }
};

struct _LICE_CombinePixelsAddSourceAlpha
{
  static inline int weight(int a, int W) { return a ? LICE_SourceAlphaWeight(W, a) : 0; }
  static inline void doPix(LICE_pixel_chan* d, int r, int g, int b, int a, int W)
  {
    _LICE_CombinePixelsAdd::doPix(d, r, g, b, a, weight(a, W));
  }
  static inline LICE_pixel px(LICE_pixel d, LICE_pixel s, int W)
  {
    return _LICE_CombinePixelsAdd::px(d, s, weight(LICE_Chan(s, 24), W));
  }
};

struct _LICE_CombinePixelsColorDodgeSourceAlpha
{
  static inline void doPix(LICE_pixel_chan* d, int r, int g, int b, int a, int W)
  {
    _LICE_CombinePixelsColorDodge::doPix(d, r, g, b, a, LICE_SourceAlphaWeight(W, a));
  }
};

template <class MUL> struct LICE_MulSourceAlphaT
{
  static inline int weight(int a, int W) { return a ? LICE_SourceAlphaWeight(W, a) : 0; }
  static inline void doPix(LICE_pixel_chan* d, int r, int g, int b, int a, int W)
  {
    MUL::doPix(d, r, g, b, a, weight(a, W));
  }
  static inline LICE_pixel px(LICE_pixel d, LICE_pixel s, int W)
  {
    return MUL::px(d, s, weight(LICE_Chan(s, 24), W));
  }
};
struct _LICE_CombinePixelsMulSourceAlphaNoClamp : LICE_MulSourceAlphaT<_LICE_CombinePixelsMulNoClamp>
{
};
struct _LICE_CombinePixelsMulSourceAlphaClamp : LICE_MulSourceAlphaT<_LICE_CombinePixelsMulClamp>
{
};

struct _LICE_CombinePixelsOverlaySourceAlpha
{
  static inline void doPix(LICE_pixel_chan* d, int r, int g, int b, int a, int W)
  {
    _LICE_CombinePixelsOverlay::doPix(d, r, g, b, a, LICE_SourceAlphaWeight(W, a));
  }
};

struct _LICE_CombinePixelsHSVAdjustSourceAlpha
{
  static inline void doPix(LICE_pixel_chan* d, int r, int g, int b, int a, int W)
  {
    _LICE_CombinePixelsHSVAdjust::doPix(d, r, g, b, a, LICE_SourceAlphaWeight(W, a));
  }
};

// True when combiner C has the whole-pixel form px.
template <class C, class = void> struct LICE_HasPx : std::false_type
{
};
template <class C>
struct LICE_HasPx<C, std::void_t<decltype(C::px(LICE_pixel(), LICE_pixel(), 0))>> : std::true_type
{
};

template <class C> struct LICE_CombinerTag
{
  using type = C;
};

// Calls f(LICE_CombinerTag<Combiner>{}) with the combiner for (mode, W) and
// returns true, or returns false when nothing is to be drawn. The choice is
// made once per call so that f can run one loop per combiner. Honours the
// source-alpha flag; pass mode & ~LICE_BLIT_USE_ALPHA to ignore it. W must
// lie within +/-LICE_kMaxWeight (LICE_Weight and LICE_ClampWeight see to it). With
// clamp, the clamped twins are used for every weight.
template <class F> bool LICE_SelectCombiner(int mode, int W, bool clamp, F&& f)
{
  if (W == 0) return false;
  const bool inRange = !clamp && W > 0 && W <= 256;
  switch (mode & (LICE_BLIT_MODE_MASK | LICE_BLIT_USE_ALPHA))
  {
  case LICE_BLIT_MODE_COPY:
    if (W < 1) return false;
    if (W == 256) f(LICE_CombinerTag<_LICE_CombinePixelsClobberNoClamp>{});
    else if (inRange) f(LICE_CombinerTag<_LICE_CombinePixelsCopyNoClamp>{});
    else f(LICE_CombinerTag<_LICE_CombinePixelsCopyClamp>{});
    return true;
  case LICE_BLIT_MODE_COPY | LICE_BLIT_USE_ALPHA:
    if (W == 256) f(LICE_CombinerTag<_LICE_CombinePixelsCopySourceAlphaIgnoreAlphaParmNoClamp>{});
    else if (inRange) f(LICE_CombinerTag<_LICE_CombinePixelsCopySourceAlphaNoClamp>{});
    else f(LICE_CombinerTag<_LICE_CombinePixelsCopySourceAlphaClamp>{});
    return true;
  case LICE_BLIT_MODE_ADD: f(LICE_CombinerTag<_LICE_CombinePixelsAdd>{}); return true;
  case LICE_BLIT_MODE_ADD | LICE_BLIT_USE_ALPHA:
    f(LICE_CombinerTag<_LICE_CombinePixelsAddSourceAlpha>{});
    return true;
  case LICE_BLIT_MODE_DODGE: f(LICE_CombinerTag<_LICE_CombinePixelsColorDodge>{}); return true;
  case LICE_BLIT_MODE_DODGE | LICE_BLIT_USE_ALPHA:
    f(LICE_CombinerTag<_LICE_CombinePixelsColorDodgeSourceAlpha>{});
    return true;
  case LICE_BLIT_MODE_MUL:
    if (inRange) f(LICE_CombinerTag<_LICE_CombinePixelsMulNoClamp>{});
    else f(LICE_CombinerTag<_LICE_CombinePixelsMulClamp>{});
    return true;
  case LICE_BLIT_MODE_MUL | LICE_BLIT_USE_ALPHA:
    if (inRange) f(LICE_CombinerTag<_LICE_CombinePixelsMulSourceAlphaNoClamp>{});
    else f(LICE_CombinerTag<_LICE_CombinePixelsMulSourceAlphaClamp>{});
    return true;
  case LICE_BLIT_MODE_OVERLAY: f(LICE_CombinerTag<_LICE_CombinePixelsOverlay>{}); return true;
  case LICE_BLIT_MODE_OVERLAY | LICE_BLIT_USE_ALPHA:
    f(LICE_CombinerTag<_LICE_CombinePixelsOverlaySourceAlpha>{});
    return true;
  case LICE_BLIT_MODE_HSVADJ: f(LICE_CombinerTag<_LICE_CombinePixelsHSVAdjust>{}); return true;
  case LICE_BLIT_MODE_HSVADJ | LICE_BLIT_USE_ALPHA:
    f(LICE_CombinerTag<_LICE_CombinePixelsHSVAdjustSourceAlpha>{});
    return true;
  default: return false;
  }
}
