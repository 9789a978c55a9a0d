#include "lice_bitmap.h"
#include "swell.h"

#include <climits>
#include <cstdlib>

namespace
{
// Largest pixel storage one bitmap may hold; keeps every byte offset of a
// bitmap inside int range for the row arithmetic of the drawing code.
constexpr long long kMaxBitmapBytes = INT_MAX;

void* AlignUp64(void* p)
{
  return reinterpret_cast<void*>((reinterpret_cast<uintptr_t>(p) + 63u) & ~uintptr_t(63));
}
} // namespace

LICE_MemBitmap::LICE_MemBitmap(int w, int h, unsigned int linealign)
{
  if (linealign >= 2)
  {
    unsigned int lowest = linealign & (~linealign + 1u);
    if (lowest > 16) lowest = 16;
    mLineAlign = lowest - 1;
  }
  if (w > 0 && h > 0) resize(w, h);
}

LICE_MemBitmap::~LICE_MemBitmap()
{
  std::free(mFb);
}

LICE_pixel* LICE_MemBitmap::getBits()
{
  return mFb ? static_cast<LICE_pixel*>(AlignUp64(mFb)) : nullptr;
}

bool LICE_MemBitmap::resize(int w, int h)
{
  if (w == mWidth && h == mHeight) return false;
  mWidth = w;
  mHeight = h;

  const long long mask = mLineAlign;
  const long long span = (static_cast<long long>(w) + mask) & ~mask;
  const long long needed = static_cast<long long>(h) * span * 4;

  if (needed > 0 && w > 0 && h > 0 && needed <= kMaxBitmapBytes)
  {
    const size_t want = static_cast<size_t>(needed);
    if (!mFb)
    {
      mFb = std::malloc(want + 63);
      mAllocSize = mFb ? want : 0;
    }
    else if (mAllocSize < want)
    {
      // Grow by an extra quarter so that a run of slightly larger sizes does
      // not reallocate every time.
      const size_t grown = want + want / 4;
      void* p = std::realloc(mFb, grown + 63);
      if (p)
      {
        mFb = p;
        mAllocSize = grown;
      }
      else
      {
        std::free(mFb);
        mFb = std::malloc(want + 63);
        mAllocSize = mFb ? want : 0;
      }
    }
  }
  else
  {
    std::free(mFb);
    mFb = nullptr;
    mAllocSize = 0;
  }
  if (!mFb) mWidth = mHeight = 0;
  return true;
}

LICE_SysBitmap::LICE_SysBitmap(int w, int h)
{
  resize(w, h);
}

LICE_SysBitmap::~LICE_SysBitmap()
{
  SWELL_DeleteGfxContext(mDC);
}

bool LICE_SysBitmap::resize(int w, int h)
{
  if (w == mWidth && h == mHeight) return false;
  mWidth = w;
  mHeight = h;
  if (w && h && mAllocW >= w && mAllocH >= h && mBits) return true;

  const long long span = (static_cast<long long>(w) + 3) & ~3LL;
  SWELL_DeleteGfxContext(mDC);
  mDC = nullptr;
  mBits = nullptr;
  mAllocW = span > 0 && span <= INT_MAX ? static_cast<int>(span) : 0;
  mAllocH = h;
  // The new size stays reported, but there are no pixels to draw into.
  if (mAllocW < 1 || h < 1) return false;
  if (span * h * 4 <= kMaxBitmapBytes)
  {
    mDC = SWELL_CreateMemContext(nullptr, mAllocW, mAllocH);
    mBits = static_cast<LICE_pixel*>(SWELL_GetCtxFrameBuffer(mDC));
  }
  if (!mBits)
  {
    mWidth = mHeight = 0;
    SWELL_DeleteGfxContext(mDC);
    mDC = nullptr;
  }
  return true;
}
