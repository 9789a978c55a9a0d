// Circles, arcs, filled circles and rounded-rectangle outlines.
//
// Each shape is a coverage function over a bounding box, evaluated once per
// pixel, so no pixel is composited twice. Pixel (x, y) is the point (x, y).
// Outlines are one pixel wide: a pixel at distance e from the curve is drawn
// when e < 0.5, or antialiased with coverage 1 - e.

#include "lice.h"
#include "lice_plot.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr double kTwoPi = 6.283185307179586;

template <class Cov>
void ForBox(const LICE_Plotter& p, double x0, double y0, double x1, double y1, Cov cov)
{
  if (!(x0 <= x1) || !(y0 <= y1)) return; // also rejects NaN
  const int ix0 = static_cast<int>(std::max(0.0, std::floor(x0)));
  const int iy0 = static_cast<int>(std::max(0.0, std::floor(y0)));
  const int ix1 = static_cast<int>(std::min<double>(p.a.width - 1, std::ceil(x1)));
  const int iy1 = static_cast<int>(std::min<double>(p.a.height - 1, std::ceil(y1)));
  for (int y = iy0; y <= iy1; ++y)
    for (int x = ix0; x <= ix1; ++x) p.plot(x, y, cov(x, y));
}

int OutlineCoverage(double e, bool aa)
{
  e = std::fabs(e);
  if (aa) return LICE_Coverage(1.0 - e);
  return e < 0.5 ? 256 : 0;
}

bool Usable(float cx, float cy, float r)
{
  const float kFar = 1e9f;
  return std::fabs(cx) < kFar && std::fabs(cy) < kFar && r >= 0.0f && r < kFar;
}
} // namespace

void LICE_Circle(LICE_IBitmap* dest, float cx, float cy, float r, LICE_pixel color, float opacity,
                 int mode, bool aa)
{
  const LICE_Plotter p(dest, color, opacity, mode);
  if (!p.ok() || !Usable(cx, cy, r)) return;
  ForBox(p, cx - r - 1.0, cy - r - 1.0, cx + r + 1.0, cy + r + 1.0, [&](int x, int y) {
    return OutlineCoverage(std::hypot(x - cx, y - cy) - r, aa);
  });
}

void LICE_Arc(LICE_IBitmap* dest, float cx, float cy, float r, float minAngle, float maxAngle,
              LICE_pixel color, float opacity, int mode, bool aa)
{
  const LICE_Plotter p(dest, color, opacity, mode);
  if (!p.ok() || !Usable(cx, cy, r) || !(minAngle <= maxAngle)) return;
  const double lo = minAngle, span = static_cast<double>(maxAngle) - minAngle;
  ForBox(p, cx - r - 1.0, cy - r - 1.0, cx + r + 1.0, cy + r + 1.0, [&](int x, int y) {
    const double dx = x - cx, dy = y - cy;
    if (span < kTwoPi)
    {
      // Angle from the top, clockwise on screen, counted from minAngle.
      double a = std::fmod(std::atan2(dx, -dy) - lo, kTwoPi);
      if (a < 0) a += kTwoPi;
      if (a > span) return 0;
    }
    return OutlineCoverage(std::hypot(dx, dy) - r, aa);
  });
}

void LICE_FillCircle(LICE_IBitmap* dest, float cx, float cy, float r, LICE_pixel color,
                     float opacity, int mode, bool aa)
{
  const LICE_Plotter p(dest, color, opacity, mode);
  if (!p.ok() || !Usable(cx, cy, r)) return;
  ForBox(p, cx - r - 1.0, cy - r - 1.0, cx + r + 1.0, cy + r + 1.0, [&](int x, int y) {
    const double d = std::hypot(x - cx, y - cy);
    if (aa) return LICE_Coverage(r + 0.5 - d);
    return d <= r ? 256 : 0;
  });
}

void LICE_RoundRect(LICE_IBitmap* dest, float x, float y, float w, float h, int cornerradius,
                    LICE_pixel color, float opacity, int mode, bool aa)
{
  const LICE_Plotter p(dest, color, opacity, mode);
  if (!p.ok() || !Usable(x, y, 0) || !(w >= 0 && h >= 0 && w < 1e9f && h < 1e9f)) return;
  const double r = std::max(0.0, std::min<double>({static_cast<double>(cornerradius), w / 2.0, h / 2.0}));
  const double mx = x + w / 2.0, my = y + h / 2.0;
  const double bx = w / 2.0 - r, by = h / 2.0 - r;
  // Distance to the outline: the rectangle shrunk by r, then grown by r.
  ForBox(p, x - 1.0, y - 1.0, x + w + 1.0, y + h + 1.0, [&](int px, int py) {
    const double qx = std::fabs(px - mx) - bx, qy = std::fabs(py - my) - by;
    const double outside = std::hypot(std::max(qx, 0.0), std::max(qy, 0.0));
    const double inside = std::min(std::max(qx, qy), 0.0);
    return OutlineCoverage(outside + inside - r, aa);
  });
}
