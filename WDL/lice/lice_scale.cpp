// LICE_ScaledBlit: nearest, bilinear and box-filtered scaling, with mirroring.

#include "lice.h"
#include "lice_combine.h"
#include "lice_fastpaths.h"
#include "lice_rows.h"
#include "lice_sample.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <type_traits>
#include <vector>

namespace
{
enum Filter
{
  kNearest,
  kBilinear,
  kBox
};

// One destination run per row and the source position of each of its pixels.
struct ScaleJob
{
  LICE_RowAccess d{nullptr}, s{nullptr};
  LICE_SampleBounds b{};
  int dx0 = 0, w = 0; // destination columns dx0 .. dx0 + w - 1
  std::vector<int> xs, fxs;
  std::vector<int> dys, ys, fys; // destination row, source row, fraction
  int boxN = 0;
};

// Bilinear rows: the columns whose 2 x 2 blocks lie inside the bounds go
// through the row loop in runs, the others through the edge rules. The
// source columns are monotonic, so the inside ones are consecutive.
template <class C> void ScaleBilinear(const ScaleJob& j, int W)
{
  constexpr int kRun = 64;
  constexpr bool kDirect = std::is_same_v<C, _LICE_CombinePixelsClobberNoClamp>;
  const LICE_RowKernels& k = LICE_Kernels();
  LICE_pixel buf[kRun];
  // The fractions (below 65536) serve as the low halves of the kernel's
  // fraction pairs; each row adds its own fy as the high half.
  const unsigned int* fx = reinterpret_cast<const unsigned int*>(j.fxs.data());
  int in0 = 0, in1 = 0; // inside columns
  while (in0 < j.w && j.xs[in0] + 1 >= j.b.right) ++in0;
  for (in1 = in0; in1 < j.w && j.xs[in1] + 1 < j.b.right;) ++in1;
  for (size_t r = 0; r < j.dys.size(); ++r)
  {
    LICE_pixel* drow = j.d.row(j.dys[r]) + j.dx0;
    const int y = j.ys[r];
    const unsigned int fy = static_cast<unsigned int>(j.fys[r]);
    const LICE_pixel* srow = j.s.row(y);
    auto edge = [&](int i) {
      LICE_CombineSample<C>(drow + i, LICE_SampleBilinear(j.s, j.b, j.xs[i], y, static_cast<unsigned int>(j.fxs[i]), fy),
                            W);
    };
    if (y + 1 >= j.b.bottom)
    {
      for (int i = 0; i < j.w; ++i) edge(i);
      continue;
    }
    for (int i = 0; i < in0; ++i) edge(i);
    if constexpr (kDirect)
    {
      if (in1 > in0) k.bilinear(drow + in0, srow, j.s.step, &j.xs[in0], fx + in0, fy << 16, in1 - in0, j.s.width);
    }
    else
      for (int i0 = in0; i0 < in1; i0 += kRun)
      {
        const int n = std::min(kRun, in1 - i0);
        k.bilinear(buf, srow, j.s.step, &j.xs[i0], fx + i0, fy << 16, n, j.s.width);
        LICE_CombineRow<C>(drow + i0, buf, n, W);
      }
    for (int i = in1; i < j.w; ++i) edge(i);
  }
}

template <class C, int F> void ScaleLoop(const ScaleJob& j, int W)
{
  if constexpr (F == kBilinear)
  {
    ScaleBilinear<C>(j, W);
    return;
  }
  const int half = j.boxN / 2;
  for (size_t r = 0; r < j.dys.size(); ++r)
  {
    LICE_pixel* drow = j.d.row(j.dys[r]) + j.dx0;
    const int y = j.ys[r];
    const LICE_pixel* srow = j.s.row(y);
    for (int i = 0; i < j.w; ++i)
    {
      LICE_pixel px;
      if (F == kNearest) px = srow[j.xs[i]];
      else if (!LICE_SampleBox(j.s, j.b, j.xs[i] - half, y - half, j.boxN, &px))
        continue;
      LICE_CombineSample<C>(drow + i, px, W);
    }
  }
}
// Positions pos0 + i * step (16.16) for i in [0, n) whose whole part lies in
// [lo, hi); they are monotonic, so the valid ones form one run, and the walk
// stops once it has passed the far end (positions then stay small).
void Positions(int64_t pos0, int64_t step, int n, int lo, int hi, int* first,
               std::vector<int>* whole, std::vector<int>* frac)
{
  *first = -1;
  int64_t p = pos0;
  for (int i = 0; i < n; ++i, p += step)
  {
    const int64_t v = p >> 16; // floor, also for negative positions
    if ((step >= 0 && v >= hi) || (step < 0 && v < lo)) break;
    if (v < lo || v >= hi) continue;
    if (*first < 0) *first = i;
    whole->push_back(static_cast<int>(v));
    frac->push_back(static_cast<int>(p & 0xffff));
  }
}
} // namespace

void LICE_ScaledBlit(LICE_IBitmap* dest, LICE_IBitmap* src, int dstx, int dsty, int dstw,
                     int dsth, float srcx, float srcy, float srcw, float srch, float opacity,
                     int mode)
{
  if (!dest || !src || !dstw || !dsth || opacity == 0.0f) return;
  if (!LICE_UsableCoord(srcx) || !LICE_UsableCoord(srcy) || !LICE_UsableCoord(srcw) ||
      !LICE_UsableCoord(srch))
    return;
  const bool bilinear = (mode & LICE_BLIT_FILTER_MASK) == LICE_BLIT_FILTER_BILINEAR;
  auto nearWhole = [](float v) { return std::fabs(v - std::floor(v + 0.5f)) < 0.03f; };
  if (dstw > 0 && dsth > 0 && std::fabs(srcw - static_cast<float>(dstw)) < 0.001f &&
      std::fabs(srch - static_cast<float>(dsth)) < 0.001f &&
      (!bilinear || (nearWhole(srcx) && nearWhole(srcy))))
  {
    LICE_Blit(dest, src, dstx, dsty, static_cast<int>(srcx + 0.5f), static_cast<int>(srcy + 0.5f),
              dstw, dsth, opacity, mode);
    return;
  }

  // Drawing a bitmap onto itself: sample a copy.
  LICE_MemBitmap copy;
  if (dest == src || (src->getBits() && src->getBits() == dest->getBits()))
  {
    LICE_Copy(&copy, src);
    src = &copy;
  }

  ScaleJob j;
  j.d = LICE_RowAccess(dest);
  j.s = LICE_RowAccess(src);
  if (!j.d.row0 || !j.s.row0) return;

  long long dx = dstx, dy = dsty, dw = dstw, dh = dsth;
  double sx = srcx, sy = srcy, sw = srcw, sh = srch;
  if (dw < 0)
  {
    dx += dw;
    dw = -dw;
    sx += sw;
    sw = -sw;
  }
  if (dh < 0)
  {
    dy += dh;
    dh = -dh;
    sy += sh;
    sh = -sh;
  }
  const double xstep = sw / static_cast<double>(dw), ystep = sh / static_cast<double>(dh);
  j.b.left = static_cast<int>(std::max(0.0, std::floor(std::min(sx, sx + sw))));
  j.b.top = static_cast<int>(std::max(0.0, std::floor(std::min(sy, sy + sh))));
  j.b.right = static_cast<int>(std::min<double>(j.s.width, std::ceil(std::max(sx, sx + sw))));
  j.b.bottom = static_cast<int>(std::min<double>(j.s.height, std::ceil(std::max(sy, sy + sh))));
  if (j.b.left >= j.b.right || j.b.top >= j.b.bottom) return;

  // Each destination pixel samples the near edge of the source span it
  // covers; walking the source backwards, that edge is one step in from the
  // starting side, so that a mirrored copy shows every source pixel.
  const int64_t idx = static_cast<int64_t>(xstep * 65536.0), idy = static_cast<int64_t>(ystep * 65536.0);
  // Clipped-off destination pixels advance the start by whole fixed-point
  // steps, so a pixel samples the same place however much is clipped.
  // Far-off positions only need to stay far off (and inside int64).
  auto advance = [](double start, int64_t step, long long n) {
    const __int128 p = static_cast<__int128>(static_cast<int64_t>(start * 65536.0)) +
                       static_cast<__int128>(step) * n;
    const __int128 lim = static_cast<__int128>(1) << 50;
    return static_cast<int64_t>(p < -lim ? -lim : (p > lim ? lim : p));
  };
  const int64_t posx = advance(xstep < 0 ? sx + xstep : sx, idx, dx < 0 ? -dx : 0);
  const int64_t posy = advance(ystep < 0 ? sy + ystep : sy, idy, dy < 0 ? -dy : 0);
  if (dx < 0)
  {
    dw += dx;
    dx = 0;
  }
  if (dy < 0)
  {
    dh += dy;
    dy = 0;
  }
  dw = std::min<long long>(dw, j.d.width - dx);
  dh = std::min<long long>(dh, j.d.height - dy);
  if (dw <= 0 || dh <= 0) return;

  int firstCol = -1, firstRow = -1;
  Positions(posx, idx, static_cast<int>(dw), j.b.left, j.b.right, &firstCol, &j.xs, &j.fxs);
  Positions(posy, idy, static_cast<int>(dh), j.b.top, j.b.bottom, &firstRow, &j.ys, &j.fys);
  if (firstCol < 0 || firstRow < 0) return;
  j.dx0 = static_cast<int>(dx) + firstCol;
  j.w = static_cast<int>(j.xs.size());
  for (size_t r = 0; r < j.ys.size(); ++r) j.dys.push_back(static_cast<int>(dy) + firstRow + static_cast<int>(r));

  const int W = LICE_Weight(opacity);
  if (!bilinear && (mode & (LICE_BLIT_MODE_MASK | LICE_BLIT_USE_ALPHA)) == LICE_BLIT_MODE_COPY &&
      (W == 256 || W == 128))
  {
    for (size_t r = 0; r < j.dys.size(); ++r)
    {
      LICE_pixel* __restrict drow = j.d.row(j.dys[r]) + j.dx0;
      const LICE_pixel* srow = j.s.row(j.ys[r]);
      if (W == 256)
        for (int i = 0; i < j.w; ++i) drow[i] = srow[j.xs[i]];
      else
        for (int i = 0; i < j.w; ++i)
          drow[i] = ((drow[i] >> 1) & 0x7F7F7F7Fu) + ((srow[j.xs[i]] >> 1) & 0x7F7F7F7Fu);
    }
    return;
  }

  int filter = kNearest;
  if (bilinear)
  {
    filter = kBilinear;
    if (std::fabs(xstep) >= 1.7 && std::fabs(ystep) >= 1.7)
    {
      filter = kBox;
      j.boxN = std::max(std::llabs(idx), std::llabs(idy)) <= 0x30000 ? 3 : 5;
    }
  }
  LICE_SelectCombiner(mode, W, false, [&](auto tag) {
    typedef typename decltype(tag)::type C;
    if (filter == kNearest) ScaleLoop<C, kNearest>(j, W);
    else if (filter == kBilinear) ScaleLoop<C, kBilinear>(j, W);
    else ScaleLoop<C, kBox>(j, W);
  });
}
