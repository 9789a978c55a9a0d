#pragma once
// Row addressing shared by the compositing code: image row y of a bitmap,
// honouring its flipped flag, and the step from one image row to the next.

#include "lice_bitmap.h"

#include <cstddef>

struct LICE_RowAccess
{
  LICE_pixel* row0 = nullptr; // image row 0
  ptrdiff_t step = 0;         // pixels from image row y to row y + 1
  int width = 0;
  int height = 0;

  // A bitmap with no pixels, no span or an empty size gives row0 == null.
  explicit LICE_RowAccess(LICE_IBitmap* bm)
  {
    if (!bm) return;
    LICE_pixel* bits = bm->getBits();
    const int span = bm->getRowSpan();
    width = bm->getWidth();
    height = bm->getHeight();
    if (!bits || span <= 0 || width <= 0 || height <= 0)
    {
      width = height = 0;
      return;
    }
    if (bm->isFlipped())
    {
      row0 = bits + static_cast<ptrdiff_t>(height - 1) * span;
      step = -static_cast<ptrdiff_t>(span);
    }
    else
    {
      row0 = bits;
      step = span;
    }
  }

  LICE_pixel* row(int y) const { return row0 + step * y; }
  LICE_pixel* at(int x, int y) const { return row0 + step * y + x; }
};
