#pragma once
// Win32-style plain types shared by the drawing layer and the bitmap library.

// A rectangle in pixels; right and bottom are exclusive.
struct RECT
{
  int left, top, right, bottom;
};

struct POINT
{
  int x, y;
};

// Drawing context handle; the structure behind it belongs to swell.
struct HDC__;
typedef HDC__* HDC;
