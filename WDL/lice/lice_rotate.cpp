// LICE_RotatedBlit: scaling with the source rectangle turned about its centre.

#include "lice.h"
#include "lice_combine.h"
#include "lice_fastpaths.h"
#include "lice_rows.h"
#include "lice_sample.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <type_traits>

namespace
{
struct RotateJob
{
  LICE_RowAccess d{nullptr}, s{nullptr};
  LICE_SampleBounds b{};
  int i0 = 0, i1 = 0, j0 = 0, j1 = 0; // destination columns and rows, relative to dx, dy
  long long dx = 0, dy = 0;
  // Source position (16.16) of destination pixel (i, j): start + i * di + j * dj.
  double colStart = 0, rowStart = 0, colDi = 0, colDj = 0, rowDi = 0, rowDj = 0;
};

template <class C> void RotateNearest(const RotateJob& r, int W)
{
  const int64_t cdi = std::llround(r.colDi * 65536.0), rdi = std::llround(r.rowDi * 65536.0);
  for (int j = r.j0; j < r.j1; ++j)
  {
    LICE_pixel* drow = r.d.row(static_cast<int>(r.dy + j)) + r.dx;
    // From column 0 in whole steps, so that clipping does not move samples.
    int64_t cp = std::llround((r.colStart + j * r.colDj) * 65536.0) + cdi * r.i0;
    int64_t rp = std::llround((r.rowStart + j * r.rowDj) * 65536.0) + rdi * r.i0;
    for (int i = r.i0; i < r.i1; ++i, cp += cdi, rp += rdi)
    {
      const int x = static_cast<int>(cp >> 16), y = static_cast<int>(rp >> 16);
      if (!r.b.contains(x, y)) continue;
      LICE_CombineSample<C>(drow + i, *r.s.at(x, y), W);
    }
  }
}

// Bilinear rows in runs of up to kRun pixels: in each, the pixels whose
// 2 x 2 blocks lie inside the bounds (consecutive, since positions move in
// a straight line and the bounds are a rectangle) go through the row loop,
// the others pixel by pixel.
template <class C> void RotateBilinear(const RotateJob& r, int W)
{
  constexpr int kRun = 64;
  constexpr bool kDirect = std::is_same_v<C, _LICE_CombinePixelsClobberNoClamp>;
  const LICE_RowKernels& k = LICE_Kernels();
  int offs[kRun];
  unsigned int fxfy[kRun];
  LICE_pixel buf[kRun];
  const int64_t cdi = std::llround(r.colDi * 65536.0), rdi = std::llround(r.rowDi * 65536.0);
  auto inside = [&](int64_t c, int64_t q) {
    const int64_t x = c >> 16, y = q >> 16;
    return x >= r.b.left && x + 1 < r.b.right && y >= r.b.top && y + 1 < r.b.bottom;
  };
  for (int j = r.j0; j < r.j1; ++j)
  {
    LICE_pixel* drow = r.d.row(static_cast<int>(r.dy + j)) + r.dx;
    const int64_t cp0 = std::llround((r.colStart + j * r.colDj) * 65536.0) + cdi * r.i0;
    const int64_t rp0 = std::llround((r.rowStart + j * r.rowDj) * 65536.0) + rdi * r.i0;
    auto single = [&](int i) {
      const int64_t cp = cp0 + cdi * (i - r.i0), rp = rp0 + rdi * (i - r.i0);
      const int x = static_cast<int>(cp >> 16), y = static_cast<int>(rp >> 16);
      if (!r.b.contains(x, y)) return;
      LICE_CombineSample<C>(drow + i,
                            LICE_SampleBilinear(r.s, r.b, x, y, static_cast<unsigned int>(cp & 0xffff),
                                                static_cast<unsigned int>(rp & 0xffff)),
                            W);
    };
    for (int i0 = r.i0; i0 < r.i1; i0 += kRun)
    {
      const int n = std::min(kRun, r.i1 - i0);
      int64_t c = cp0 + cdi * (i0 - r.i0), q = rp0 + rdi * (i0 - r.i0);
      int a = 0;
      for (; a < n && !inside(c, q); ++a, c += cdi, q += rdi) single(i0 + a);
      int b = a;
      for (; b < n && inside(c, q); ++b, c += cdi, q += rdi)
      {
        offs[b - a] = static_cast<int>((q >> 16) * r.s.step + (c >> 16));
        fxfy[b - a] = static_cast<unsigned int>(c & 0xffff) | static_cast<unsigned int>((q & 0xffff) << 16);
      }
      if (b > a)
      {
        if constexpr (kDirect) k.bilinear(drow + i0 + a, r.s.row0, r.s.step, offs, fxfy, 0, b - a, 0);
        else
        {
          k.bilinear(buf, r.s.row0, r.s.step, offs, fxfy, 0, b - a, 0);
          LICE_CombineRow<C>(drow + i0 + a, buf, b - a, W);
        }
      }
      for (int i = b; i < n; ++i) single(i0 + i);
    }
  }
}
} // namespace

void LICE_RotatedBlit(LICE_IBitmap* dest, LICE_IBitmap* src, int dstx, int dsty, int dstw,
                      int dsth, float srcx, float srcy, float srcw, float srch, float angle,
                      bool cliptosourcerect, float opacity, int mode, float rotxcent,
                      float rotycent)
{
  if (!dest || !src || !dstw || !dsth) return;
  if (!LICE_UsableCoord(srcx) || !LICE_UsableCoord(srcy) || !LICE_UsableCoord(srcw) ||
      !LICE_UsableCoord(srch) || !LICE_UsableCoord(angle) || !LICE_UsableCoord(rotxcent) ||
      !LICE_UsableCoord(rotycent))
    return;
  LICE_MemBitmap copy;
  if (dest == src || (src->getBits() && src->getBits() == dest->getBits()))
  {
    LICE_Copy(&copy, src);
    src = &copy;
  }
  RotateJob r;
  r.d = LICE_RowAccess(dest);
  r.s = LICE_RowAccess(src);
  if (!r.d.row0 || !r.s.row0) return;

  double sx0 = srcx, sy0 = srcy, sw = srcw, sh = srch;
  long long dx = dstx, dy = dsty, dw = dstw, dh = dsth;
  if (dw < 0)
  {
    dx += dw;
    dw = -dw;
    sx0 += sw;
    sw = -sw;
  }
  if (dh < 0)
  {
    dy += dh;
    dh = -dh;
    sy0 += sh;
    sh = -sh;
  }
  r.b = {0, 0, r.s.width, r.s.height};
  if (cliptosourcerect)
  {
    r.b.left = std::max(r.b.left, static_cast<int>(std::max(-1.0, std::floor(std::min(sx0, sx0 + sw)))));
    r.b.top = std::max(r.b.top, static_cast<int>(std::max(-1.0, std::floor(std::min(sy0, sy0 + sh)))));
    r.b.right = std::min<double>(r.b.right, std::ceil(std::max(sx0, sx0 + sw)));
    r.b.bottom = std::min<double>(r.b.bottom, std::ceil(std::max(sy0, sy0 + sh)));
    if (r.b.left >= r.b.right || r.b.top >= r.b.bottom) return;
  }

  const double sx = sw / static_cast<double>(dw), sy = sh / static_cast<double>(dh);
  // Shrinking by more than 65536 leaves nothing to see and would overflow
  // the fixed-point walk.
  if (std::fabs(sx) > 65536.0 || std::fabs(sy) > 65536.0) return;
  const double cs = std::cos(static_cast<double>(angle)), sn = std::sin(static_cast<double>(angle));
  const double col0 = sx0 - (0.5 * (dw * sx * cs + dh * sx * sn - sw) - rotxcent);
  const double row0 = sy0 - (0.5 * (dh * sy * cs - dw * sy * sn - sh) - rotycent);
  r.colDi = sx * cs;
  r.colDj = sx * sn;
  r.rowDi = -sy * sn;
  r.rowDj = sy * cs;
  // Pixel centres are mapped, so a turn by a quarter lands every source pixel
  // on a destination pixel; bilinear taps sit half a pixel up and left of it.
  const double half = (mode & LICE_BLIT_FILTER_MASK) == LICE_BLIT_FILTER_BILINEAR ? 0.5 : 0.0;
  r.colStart = col0 + 0.5 * (r.colDi + r.colDj) - half;
  r.rowStart = row0 + 0.5 * (r.rowDi + r.rowDj) - half;

  r.dx = dx;
  r.dy = dy;
  r.i0 = static_cast<int>(std::max<long long>(0, -dx));
  r.j0 = static_cast<int>(std::max<long long>(0, -dy));
  r.i1 = static_cast<int>(std::min<long long>(dw, r.d.width - dx));
  r.j1 = static_cast<int>(std::min<long long>(dh, r.d.height - dy));
  if (r.i0 >= r.i1 || r.j0 >= r.j1) return;

  const int W = LICE_Weight(opacity);
  const bool bilinear = half != 0.0;
  LICE_SelectCombiner(mode, W, false, [&](auto tag) {
    typedef typename decltype(tag)::type C;
    if (bilinear) RotateBilinear<C>(r, W);
    else RotateNearest<C>(r, W);
  });
}
