#pragma once
// The structures behind HDC and HGDIOBJ. Memory contexts own their pixel
// buffer; the text state is what SelectObject and the colour calls set.

#include "swell-types.h"

struct SWELL_FontFace; // swell-font.h

struct HDC__
{
  void* mAllocation; // the raw allocation, freed with the context
  void* mBits;       // mAllocation rounded up to 64 bytes
  int mWidth;        // pixels; also the row span
  int mHeight;
  HGDIOBJ mCurPen;
  HGDIOBJ mCurBrush;
  HGDIOBJ mCurFont;
  int mTextColor; // 0x00RRGGBB
  int mBkColor;   // 0x00RRGGBB
  int mBkMode;    // 1 (OPAQUE) fills behind the text
};

enum SWELL_ObjectType
{
  SWELL_kPen = 1,
  SWELL_kBrush = 2,
  SWELL_kFont = 3,
};

struct HGDIOBJ__
{
  int mType; // SWELL_ObjectType
  float mSize;       // fonts: pixels per em
  float mEscapement; // fonts: degrees
  int mQuality;      // fonts: 0, 3 or 4
  SWELL_FontFace* mFace; // fonts: owned
};
