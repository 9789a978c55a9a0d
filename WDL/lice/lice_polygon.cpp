// Filled triangles and convex polygons by horizontal spans.

#include "lice.h"
#include "lice_plot.h"

#include <algorithm>
#include <climits>

namespace
{
long long FloorDiv(long long n, long long d)
{
  if (d < 0)
  {
    n = -n;
    d = -d;
  }
  return n >= 0 ? n / d : -((-n + d - 1) / d);
}
long long CeilDiv(long long n, long long d)
{
  return -FloorDiv(-n, d);
}
} // namespace

void LICE_FillConvexPolygon(LICE_IBitmap* dest, const int* x, const int* y, int npoints,
                            LICE_pixel color, float opacity, int mode)
{
  const LICE_Plotter p(dest, color, opacity, mode);
  if (!p.ok() || !x || !y || npoints < 1) return;
  const int ymin = std::max(*std::min_element(y, y + npoints), 0);
  const int ymax = std::min(*std::max_element(y, y + npoints), p.a.height - 1);
  for (int row = ymin; row <= ymax; ++row)
  {
    // Pixels whose point lies inside or on the polygon: from the ceiling of
    // the leftmost edge crossing to the floor of the rightmost, exactly.
    long long left = LLONG_MAX, right = LLONG_MIN;
    for (int i = 0; i < npoints; ++i)
    {
      const long long xa = x[i], ya = y[i];
      const long long xb = x[(i + 1) % npoints], yb = y[(i + 1) % npoints];
      if (row < std::min(ya, yb) || row > std::max(ya, yb)) continue;
      if (ya == yb)
      {
        left = std::min({left, xa, xb});
        right = std::max({right, xa, xb});
        continue;
      }
      const long long n = xa * (yb - ya) + (row - ya) * (xb - xa), d = yb - ya;
      left = std::min(left, CeilDiv(n, d));
      right = std::max(right, FloorDiv(n, d));
    }
    left = std::max(left, 0LL);
    right = std::min<long long>(right, p.a.width - 1);
    for (long long col = left; col <= right; ++col) p.plot(static_cast<int>(col), row);
  }
}

void LICE_FillTriangle(LICE_IBitmap* dest, int x1, int y1, int x2, int y2, int x3, int y3,
                       LICE_pixel color, float opacity, int mode)
{
  const int xs[3] = {x1, x2, x3}, ys[3] = {y1, y2, y3};
  LICE_FillConvexPolygon(dest, xs, ys, 3, color, opacity, mode);
}
