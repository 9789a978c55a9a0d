// LICE_Blit, LICE_Copy and the single-pixel operations.

#include "lice.h"
#include "lice_combine.h"
#include "lice_fastpaths.h"
#include "lice_rows.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace
{
// One loop per combiner: the combiner is chosen once per call.
template <class C>
void BlitLoop(LICE_pixel* dst, ptrdiff_t dstep, const LICE_pixel* src, ptrdiff_t sstep, int w,
              int h, int W)
{
  for (int y = 0; y < h; ++y, dst += dstep, src += sstep) LICE_CombineRow<C>(dst, src, w, W);
}

void HalfMixRows(LICE_pixel* dst, ptrdiff_t dstep, const LICE_pixel* src, ptrdiff_t sstep, int w,
                 int h)
{
  for (int y = 0; y < h; ++y, dst += dstep, src += sstep)
  {
    LICE_pixel* __restrict d = dst;
    const LICE_pixel* __restrict s = src;
    for (int x = 0; x < w; ++x) d[x] = ((d[x] >> 1) & 0x7F7F7F7Fu) + ((s[x] >> 1) & 0x7F7F7F7Fu);
  }
}

bool SharesStorage(LICE_IBitmap* a, LICE_IBitmap* b)
{
  return a == b || (a->getBits() && a->getBits() == b->getBits());
}
} // namespace

void LICE_Blit(LICE_IBitmap* dest, LICE_IBitmap* src, int dstx, int dsty, const RECT* srcrect,
               float opacity, int mode)
{
  if (!dest || !src || opacity == 0.0f) return;
  const long long sw = src->getWidth(), sh = src->getHeight();
  long long left = 0, top = 0, right = sw, bottom = sh;
  long long dx = dstx, dy = dsty;
  if (srcrect)
  {
    left = srcrect->left;
    top = srcrect->top;
    right = std::min<long long>(srcrect->right, sw);
    bottom = std::min<long long>(srcrect->bottom, sh);
    if (left < 0)
    {
      dx -= left;
      left = 0;
    }
    if (top < 0)
    {
      dy -= top;
      top = 0;
    }
  }
  if (dx < 0)
  {
    left -= dx;
    dx = 0;
  }
  if (dy < 0)
  {
    top -= dy;
    dy = 0;
  }
  const long long dw = dest->getWidth(), dh = dest->getHeight();
  if (left >= right || top >= bottom || dx >= dw || dy >= dh) return;
  right = std::min(right, left + dw - dx);
  bottom = std::min(bottom, top + dh - dy);
  if (left >= right || top >= bottom) return;

  // Drawing a bitmap onto itself: read from a copy so that no pixel is read
  // after it was overwritten.
  LICE_MemBitmap tmp;
  if (SharesStorage(dest, src))
  {
    const int tw = static_cast<int>(right - left), th = static_cast<int>(bottom - top);
    tmp.resize(tw, th);
    LICE_Blit(&tmp, src, 0, 0, static_cast<int>(left), static_cast<int>(top), tw, th, 1.0f,
              LICE_BLIT_MODE_COPY);
    src = &tmp;
    right -= left;
    bottom -= top;
    left = top = 0;
  }

  const LICE_RowAccess d(dest), s(src);
  if (!d.row0 || !s.row0) return;
  const int w = static_cast<int>(right - left), h = static_cast<int>(bottom - top);
  LICE_pixel* drow = d.at(static_cast<int>(dx), static_cast<int>(dy));
  const LICE_pixel* srow = s.at(static_cast<int>(left), static_cast<int>(top));

  if ((mode & LICE_BLIT_MODE_MASK) >= LICE_BLIT_MODE_CHANCOPY)
  {
    const int sc = mode & 3, dc = (mode >> 2) & 3;
    for (int y = 0; y < h; ++y, drow += d.step, srow += s.step)
    {
      LICE_pixel_chan* __restrict dp = reinterpret_cast<LICE_pixel_chan*>(drow);
      const LICE_pixel_chan* __restrict sp = reinterpret_cast<const LICE_pixel_chan*>(srow);
      for (int x = 0; x < w; ++x) dp[x * 4 + dc] = sp[x * 4 + sc];
    }
    return;
  }
  if ((mode & (LICE_BLIT_MODE_MASK | LICE_BLIT_USE_ALPHA)) == LICE_BLIT_MODE_COPY)
  {
    if (opacity == 1.0f)
    {
      for (int y = 0; y < h; ++y, drow += d.step, srow += s.step)
        std::memmove(drow, srow, static_cast<size_t>(w) * sizeof(LICE_pixel));
      return;
    }
    if (opacity == 0.5f)
    {
      HalfMixRows(drow, d.step, srow, s.step, w, h);
      return;
    }
  }
  const int W = LICE_Weight(opacity);
  LICE_SelectCombiner(mode, W, false, [&](auto tag) {
    typedef typename decltype(tag)::type C;
    BlitLoop<C>(drow, d.step, srow, s.step, w, h, W);
  });
}

void LICE_Blit(LICE_IBitmap* dest, LICE_IBitmap* src, int dstx, int dsty, int srcx, int srcy,
               int srcw, int srch, float opacity, int mode)
{
  auto edge = [](long long v) {
    return static_cast<int>(std::min<long long>(std::max<long long>(v, INT_MIN), INT_MAX));
  };
  const RECT r = {srcx, srcy, edge(1LL * srcx + srcw), edge(1LL * srcy + srch)};
  LICE_Blit(dest, src, dstx, dsty, &r, opacity, mode);
}

void LICE_Copy(LICE_IBitmap* dest, LICE_IBitmap* src)
{
  if (!dest || !src) return;
  dest->resize(src->getWidth(), src->getHeight());
  LICE_Blit(dest, src, 0, 0, nullptr, 1.0f, LICE_BLIT_MODE_COPY);
}

LICE_pixel LICE_GetPixel(LICE_IBitmap* bm, int x, int y)
{
  const LICE_RowAccess a(bm);
  if (!a.row0 || x < 0 || y < 0 || x >= a.width || y >= a.height) return 0;
  return *a.at(x, y);
}

LICE_pixel LICE_CombinePixels(LICE_pixel dest, LICE_pixel src, float opacity, int mode)
{
  const int W = LICE_Weight(opacity);
  LICE_pixel out = dest;
  LICE_SelectCombiner(mode, W, false, [&](auto tag) {
    typedef typename decltype(tag)::type C;
    C::doPix(reinterpret_cast<LICE_pixel_chan*>(&out), static_cast<int>(LICE_GETR(src)),
             static_cast<int>(LICE_GETG(src)), static_cast<int>(LICE_GETB(src)),
             static_cast<int>(LICE_GETA(src)), W);
  });
  return out;
}

namespace
{
// The in-place combine behind both public forms; clamp picks the clamped
// Copy, Mul and source-alpha combiners.
void CombinePixels2(LICE_pixel* px, int r, int g, int b, int a, int W, int mode, bool clamp)
{
  if (!px) return;
  W = LICE_ClampWeight(W);
  r = LICE_Clamp255(r);
  g = LICE_Clamp255(g);
  b = LICE_Clamp255(b);
  a = LICE_Clamp255(a);
  LICE_SelectCombiner(mode, W, clamp, [&](auto tag) {
    typedef typename decltype(tag)::type C;
    C::doPix(reinterpret_cast<LICE_pixel_chan*>(px), r, g, b, a, W);
  });
}
} // namespace

void LICE_CombinePixels2(LICE_pixel* px, int r, int g, int b, int a, int W, int mode)
{
  CombinePixels2(px, r, g, b, a, W, mode, false);
}

void LICE_CombinePixels2Clamp(LICE_pixel* px, int r, int g, int b, int a, int W, int mode)
{
  CombinePixels2(px, r, g, b, a, W, mode, true);
}
