// Solid fills: LICE_FillRect, LICE_Clear, LICE_ClearRect, LICE_PutPixel.

#include "lice.h"
#include "lice_combine.h"
#include "lice_fastpaths.h"
#include "lice_rows.h"

#include <algorithm>

namespace
{
inline LICE_pixel Half(LICE_pixel p)
{
  return (p >> 1) & 0x7F7F7F7Fu;
}
inline LICE_pixel Quarter(LICE_pixel p)
{
  return (p >> 2) & 0x3F3F3F3Fu;
}

// Opaque, half, quarter and three-quarter copies of a colour work on the
// whole 32-bit value: the masks stop bits from crossing into the next byte.
// Returns false when W is not one of those weights.
template <class Row> bool CopyShortcut(Row&& forEachRow, int W, LICE_pixel color)
{
  switch (W)
  {
  case 256:
  {
    const LICE_RowKernels& k = LICE_Kernels();
    forEachRow([&](LICE_pixel* p, int w) { k.solidFill(p, w, color); });
    return true;
  }
  case 128:
  {
    const LICE_pixel c = Half(color);
    forEachRow([=](LICE_pixel* __restrict p, int w) {
      for (int x = 0; x < w; ++x) p[x] = Half(p[x]) + c;
    });
    return true;
  }
  case 64:
  {
    const LICE_pixel c = Quarter(color);
    forEachRow([=](LICE_pixel* __restrict p, int w) {
      for (int x = 0; x < w; ++x) p[x] = Half(p[x]) + Quarter(p[x]) + c;
    });
    return true;
  }
  case 192:
  {
    const LICE_pixel c = Half(color) + Quarter(color);
    forEachRow([=](LICE_pixel* __restrict p, int w) {
      for (int x = 0; x < w; ++x) p[x] = Quarter(p[x]) + c;
    });
    return true;
  }
  default: return false;
  }
}

template <class C>
void FillLoop(LICE_pixel* row, ptrdiff_t step, int w, int h, int r, int g, int b, int a, int W)
{
  // The whole-pixel form needs every source channel in 0-255; the alpha
  // stands for the weight, which may lie outside.
  constexpr bool kPx = LICE_HasPx<C>::value;
  const bool usePx = kPx && a >= 0 && a <= 255;
  const LICE_pixel src = LICE_RGBA(r, g, b, a);
  for (int y = 0; y < h; ++y, row += step)
  {
    if constexpr (kPx)
    {
      if (usePx)
      {
        LICE_pixel* __restrict p = row;
        for (int x = 0; x < w; ++x) p[x] = C::px(p[x], src, W);
        continue;
      }
    }
    LICE_pixel_chan* __restrict d = reinterpret_cast<LICE_pixel_chan*>(row);
    for (int x = 0; x < w; ++x) C::doPix(d + x * 4, r, g, b, a, W);
  }
}

// Clips (x, y, w, h) to the bitmap; false when nothing is left.
bool ClipRect(const LICE_RowAccess& a, int& x, int& y, int& w, int& h)
{
  if (!a.row0) return false;
  long long lx = x, ly = y, lw = w, lh = h;
  if (lx < 0)
  {
    lw += lx;
    lx = 0;
  }
  if (ly < 0)
  {
    lh += ly;
    ly = 0;
  }
  if (lw <= 0 || lh <= 0 || lx >= a.width || ly >= a.height) return false;
  x = static_cast<int>(lx);
  y = static_cast<int>(ly);
  w = static_cast<int>(std::min<long long>(lw, a.width - lx));
  h = static_cast<int>(std::min<long long>(lh, a.height - ly));
  return true;
}
} // namespace

void LICE_FillRect(LICE_IBitmap* dest, int x, int y, int w, int h, LICE_pixel color,
                   float opacity, int mode)
{
  if (!dest) return;
  if (mode & LICE_BLIT_USE_ALPHA) opacity *= static_cast<float>(color >> 24) / 255.0f;
  const LICE_RowAccess a(dest);
  if (opacity == 0.0f || !ClipRect(a, x, y, w, h)) return;
  LICE_pixel* row = a.at(x, y);
  const int W = LICE_Weight(opacity);
  const int op = mode & LICE_BLIT_MODE_MASK;

  if (op == LICE_BLIT_MODE_COPY)
  {
    auto rows = [&](auto fn) {
      LICE_pixel* p = row;
      for (int i = 0; i < h; ++i, p += a.step) fn(p, w);
    };
    if (CopyShortcut(rows, W, color)) return;
  }
  // The colour's own alpha byte is not used from here on: the weight stands
  // in for it, as the source alpha.
  const LICE_pixel src = (color & 0xFFFFFFu) | (static_cast<LICE_pixel>(W & 0xFF) << 24);
  if (op == LICE_BLIT_MODE_COPY && W >= 1 && W <= 255)
  {
    const LICE_RowKernels& k = LICE_Kernels();
    for (int i = 0; i < h; ++i, row += a.step) k.copyFill(row, w, src, W);
    return;
  }
  if (op == LICE_BLIT_MODE_ADD && W >= 0 && W <= 255)
  {
    // A strip of the colour serves as the source of the byte loop.
    constexpr int kStrip = 64;
    LICE_pixel strip[kStrip];
    for (LICE_pixel& p : strip) p = src;
    const LICE_RowKernels& k = LICE_Kernels();
    for (int i = 0; i < h; ++i, row += a.step)
      for (int c = 0; c < w; c += kStrip)
      {
        const int n = (w - c < kStrip ? w - c : kStrip) * 4;
        k.addBytes(reinterpret_cast<LICE_pixel_chan*>(row + c), reinterpret_cast<const LICE_pixel_chan*>(strip), n,
                   W);
      }
    return;
  }
  LICE_SelectCombiner(op, W, false, [&](auto tag) {
    FillLoop<typename decltype(tag)::type>(row, a.step, w, h, static_cast<int>(LICE_GETR(color)),
                                           static_cast<int>(LICE_GETG(color)),
                                           static_cast<int>(LICE_GETB(color)), W, W);
  });
}

void LICE_Clear(LICE_IBitmap* dest, LICE_pixel color)
{
  const LICE_RowAccess a(dest);
  if (!a.row0) return;
  const LICE_RowKernels& k = LICE_Kernels();
  LICE_pixel* row = a.row0;
  for (int y = 0; y < a.height; ++y, row += a.step) k.solidFill(row, a.width, color);
}

void LICE_ClearRect(LICE_IBitmap* dest, int x, int y, int w, int h, LICE_pixel mask,
                    LICE_pixel orbits)
{
  const LICE_RowAccess a(dest);
  if (!ClipRect(a, x, y, w, h)) return;
  LICE_pixel* row = a.at(x, y);
  for (int i = 0; i < h; ++i, row += a.step)
  {
    LICE_pixel* __restrict p = row;
    for (int j = 0; j < w; ++j) p[j] = (p[j] & mask) | orbits;
  }
}

void LICE_PutPixel(LICE_IBitmap* bm, int x, int y, LICE_pixel color, float opacity, int mode)
{
  const LICE_RowAccess a(bm);
  if (!a.row0 || x < 0 || y < 0 || x >= a.width || y >= a.height) return;
  LICE_pixel* p = a.at(x, y);
  const int W = LICE_Weight(opacity);
  const int op = mode & LICE_BLIT_MODE_MASK;
  if (op == LICE_BLIT_MODE_COPY && CopyShortcut([&](auto fn) { fn(p, 1); }, W, color)) return;
  LICE_CombinePixels2(p, static_cast<int>(LICE_GETR(color)), static_cast<int>(LICE_GETG(color)),
                      static_cast<int>(LICE_GETB(color)), static_cast<int>(LICE_GETA(color)), W,
                      op);
}
