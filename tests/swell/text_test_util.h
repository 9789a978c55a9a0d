#pragma once
// Helpers for text tests: fonts by size and a context whose pixels can be read.

#include "swell.h"

#include <cstdint>
#include <string>

inline HFONT MakeFont(int height, int quality = 0, const char* name = "", int width = 0)
{
  return CreateFont(height, width, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, quality, 0, name);
}

struct TestContext
{
  HDC dc;
  int w, h;
  TestContext(int width, int height, uint32_t fill = 0)
      : dc(SWELL_CreateMemContext(nullptr, width, height)), w(width), h(height)
  {
    for (int i = 0; i < w * h; ++i) px()[i] = fill;
  }
  ~TestContext() { SWELL_DeleteGfxContext(dc); }
  TestContext(const TestContext&) = delete;
  TestContext& operator=(const TestContext&) = delete;
  uint32_t* px() { return static_cast<uint32_t*>(SWELL_GetCtxFrameBuffer(dc)); }
  uint32_t at(int x, int y) { return px()[y * w + x]; }
};

// Measured width and height of s with the context's font.
inline RECT Measure(HDC dc, const char* s, int format = 0, int len = -1)
{
  RECT r = {0, 0, 0, 0};
  SWELL_DrawText(dc, s, len, &r, format | DT_CALCRECT);
  return r;
}

// Bounding box of the pixels that differ from fill; right/bottom exclusive,
// left > right when none.
inline RECT ChangedBox(TestContext& c, uint32_t fill)
{
  RECT b = {c.w, c.h, -1, -1};
  for (int y = 0; y < c.h; ++y)
    for (int x = 0; x < c.w; ++x)
      if (c.at(x, y) != fill)
      {
        if (x < b.left) b.left = x;
        if (y < b.top) b.top = y;
        if (x + 1 > b.right) b.right = x + 1;
        if (y + 1 > b.bottom) b.bottom = y + 1;
      }
  return b;
}
