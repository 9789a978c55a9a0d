#pragma once
// The structure behind an HDC. Memory contexts own their pixel buffer; the
// text state (selected font, colours, background mode) joins this structure
// when text drawing arrives.

struct HDC__
{
  void* mAllocation; // the raw allocation, freed with the context
  void* mBits;       // mAllocation rounded up to 64 bytes
  int mWidth;        // pixels; also the row span
  int mHeight;
};
