#pragma once
// The one way the drawing primitives touch a pixel: the colour composited
// with LICE_CombinePixels2 at the call's weight scaled by a coverage.

#include "lice.h"
#include "lice_combine.h"
#include "lice_rows.h"

struct LICE_Plotter
{
  LICE_RowAccess a;
  int r, g, b, al;
  int W;
  int mode;

  LICE_Plotter(LICE_IBitmap* bm, LICE_pixel color, float opacity, int m)
      : a(bm), r(static_cast<int>(LICE_GETR(color))), g(static_cast<int>(LICE_GETG(color))),
        b(static_cast<int>(LICE_GETB(color))), al(static_cast<int>(LICE_GETA(color))),
        W(LICE_Weight(opacity)), mode(m)
  {
  }

  bool ok() const { return a.row0 != nullptr && W != 0; }

  // coverage 0-256 (256 covers the pixel); outside pixels are ignored.
  void plot(int x, int y, int coverage = 256) const
  {
    if (x < 0 || y < 0 || x >= a.width || y >= a.height || coverage <= 0) return;
    const int w = coverage >= 256 ? W : W * coverage / 256;
    if (w) LICE_CombinePixels2(a.at(x, y), r, g, b, al, w, mode);
  }
};

// Coverage 0-256 from a fraction 0-1 (truncated).
static inline int LICE_Coverage(double c)
{
  return c <= 0.0 ? 0 : (c >= 1.0 ? 256 : static_cast<int>(c * 256.0));
}
