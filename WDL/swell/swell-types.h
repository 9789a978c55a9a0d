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

// Drawing object handle (fonts, pens, brushes); the structure behind it
// belongs to swell. HFONT is the same handle, so SelectObject takes either.
struct HGDIOBJ__;
typedef HGDIOBJ__* HGDIOBJ;
typedef HGDIOBJ__* HFONT;

// Text metrics in whole pixels, as GetTextMetrics fills them.
struct TEXTMETRIC
{
  int tmHeight;
  int tmAscent;
  int tmDescent;
  int tmInternalLeading;
  int tmAveCharWidth;
};
