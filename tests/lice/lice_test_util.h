#pragma once
// Small helpers for exact pixel checks.

#include "lice.h"

#include <vector>

// A bitmap that reports itself flipped: image row 0 is the last row in memory.
class FlippedBitmap : public LICE_MemBitmap
{
public:
  FlippedBitmap(int w, int h) : LICE_MemBitmap(w, h, 1) {}
  bool isFlipped() override { return true; }
};

inline void FillWith(LICE_IBitmap* bm, LICE_pixel (*f)(int x, int y))
{
  for (int y = 0; y < bm->getHeight(); ++y)
    for (int x = 0; x < bm->getWidth(); ++x) LICE_PutPixel(bm, x, y, f(x, y), 1.0f, 0);
}

// Pixel with a distinct value per position, alpha included.
inline LICE_pixel PosPixel(int x, int y)
{
  return LICE_RGBA(x * 16 + y, 255 - x, y * 7 + 1, 100 + x + y * 10);
}

// Memory row of image row y (the raw buffer, ignoring any flip).
inline LICE_pixel MemAt(LICE_IBitmap* bm, int x, int memrow)
{
  return bm->getBits()[memrow * bm->getRowSpan() + x];
}
