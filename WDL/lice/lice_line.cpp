// Lines: one pixel per step of the longer axis, plain or antialiased (Wu).

#include "lice.h"
#include "lice_plot.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace
{
// n / d rounded half away from zero (d != 0); wide enough for any product
// of two int differences.
long long DivRound(__int128 n, long long d)
{
  const __int128 an = n < 0 ? -n : n, ad = d < 0 ? -static_cast<__int128>(d) : d;
  const __int128 q = (2 * an + ad) / (2 * ad);
  return static_cast<long long>((n < 0) != (d < 0) ? -q : q);
}

void IntLine(const LICE_Plotter& p, long long x1, long long y1, long long x2, long long y2)
{
  const long long dx = x2 - x1, dy = y2 - y1;
  const bool steep = std::llabs(dy) > std::llabs(dx);
  // Walk the longer axis; the other coordinate follows by exact rounding,
  // so clipping can start anywhere along the line.
  const long long a1 = steep ? y1 : x1, b1 = steep ? x1 : y1;
  const long long da = steep ? dy : dx, db = steep ? dx : dy;
  const long long limit = steep ? p.a.height : p.a.width;
  const long long lo = std::max(std::min(a1, a1 + da), 0LL);
  const long long hi = std::min(std::max(a1, a1 + da), limit - 1);
  for (long long a = lo; a <= hi; ++a)
  {
    const long long b = da ? b1 + DivRound(static_cast<__int128>(a - a1) * db, da) : b1;
    if (b < -1 || b > (steep ? p.a.width : p.a.height)) continue;
    if (steep) p.plot(static_cast<int>(b), static_cast<int>(a));
    else p.plot(static_cast<int>(a), static_cast<int>(b));
  }
}

void WuLine(const LICE_Plotter& p, double x1, double y1, double x2, double y2)
{
  const bool steep = std::fabs(y2 - y1) > std::fabs(x2 - x1);
  if (steep)
  {
    std::swap(x1, y1);
    std::swap(x2, y2);
  }
  if (x1 > x2)
  {
    std::swap(x1, x2);
    std::swap(y1, y2);
  }
  const double grad = x2 > x1 ? (y2 - y1) / (x2 - x1) : 0.0;
  const double limit = steep ? p.a.height : p.a.width;
  const double lo = std::max(std::floor(x1 + 0.5), 0.0);
  const double hi = std::min(std::floor(x2 + 0.5), limit - 1);
  for (double xd = lo; xd <= hi; xd += 1.0)
  {
    const double y = y1 + grad * (xd - x1);
    const double yf = std::floor(y);
    if (yf < -2.0 || yf > (steep ? p.a.width : p.a.height) + 1.0) continue;
    const int cov2 = LICE_Coverage(y - yf);
    const int x = static_cast<int>(xd), yi = static_cast<int>(yf);
    if (steep)
    {
      p.plot(yi, x, 256 - cov2);
      p.plot(yi + 1, x, cov2);
    }
    else
    {
      p.plot(x, yi, 256 - cov2);
      p.plot(x, yi + 1, cov2);
    }
  }
}
} // namespace

void LICE_Line(LICE_IBitmap* dest, int x1, int y1, int x2, int y2, LICE_pixel color,
               float opacity, int mode, bool aa)
{
  const LICE_Plotter p(dest, color, opacity, mode);
  if (!p.ok()) return;
  if (aa) WuLine(p, x1, y1, x2, y2);
  else IntLine(p, x1, y1, x2, y2);
}

void LICE_FLine(LICE_IBitmap* dest, float x1, float y1, float x2, float y2, LICE_pixel color,
                float opacity, int mode, bool aa)
{
  const LICE_Plotter p(dest, color, opacity, mode);
  // Coordinates this far out cannot be meant; they would overflow the
  // integer walk.
  const float kFar = 1e9f;
  if (!p.ok() || !(std::fabs(x1) < kFar) || !(std::fabs(y1) < kFar) || !(std::fabs(x2) < kFar) ||
      !(std::fabs(y2) < kFar))
    return;
  if (aa) WuLine(p, x1, y1, x2, y2);
  else
  {
    auto r = [](float v) { return static_cast<long long>(std::floor(static_cast<double>(v) + 0.5)); };
    IntLine(p, r(x1), r(y1), r(x2), r(y2));
  }
}
