#pragma once
// 32-bit bitmaps. A pixel is 0xAARRGGBB with straight (not premultiplied)
// alpha; in memory its bytes are blue, green, red, alpha. A bitmap is used by
// one thread at a time: [any] below means any single thread.

#include <cstdint>
#include <cstddef>

#include "swell-types.h"

typedef unsigned int LICE_pixel;
typedef unsigned char LICE_pixel_chan;

// Byte positions of the channels inside a pixel in memory.
#define LICE_PIXEL_B 0
#define LICE_PIXEL_G 1
#define LICE_PIXEL_R 2
#define LICE_PIXEL_A 3

#define LICE_RGBA(r, g, b, a)                                                                    \
  (((LICE_pixel)(b) & 0xffu) | (((LICE_pixel)(g) & 0xffu) << 8) |                                \
   (((LICE_pixel)(r) & 0xffu) << 16) | (((LICE_pixel)(a) & 0xffu) << 24))
#define LICE_GETB(v) ((v) & 0xffu)
#define LICE_GETG(v) (((v) >> 8) & 0xffu)
#define LICE_GETR(v) (((v) >> 16) & 0xffu)
#define LICE_GETA(v) (((v) >> 24) & 0xffu)

class LICE_IBitmap
{
public:
  virtual ~LICE_IBitmap() {}

  // [any] Row 0 of the image (the last row in memory when flipped); owned by
  // the bitmap, valid until the next resize. Null when there is no storage.
  virtual LICE_pixel* getBits() = 0;
  // [any] Size in pixels.
  virtual int getWidth() = 0;
  virtual int getHeight() = 0;
  // [any] Pixels from the start of one row to the start of the next in memory.
  virtual int getRowSpan() = 0;
  // [any] True when image row 0 is the last row in memory.
  virtual bool isFlipped() { return false; }
  // [any] Sets the size; true if it changed. Pixels are undefined afterwards.
  virtual bool resize(int w, int h) = 0;
  // [gui] The drawing context behind the pixels, owned by the bitmap; or null.
  virtual HDC getDC() { return nullptr; }
  // [any] Extension hook; 0 when id is not understood.
  virtual intptr_t Extended(int id, void* data)
  {
    (void)id;
    (void)data;
    return 0;
  }
};

// Pixels in a heap buffer of its own. Rows are padded to the line alignment,
// storage grows by an extra quarter and never shrinks, pixels start on a
// 64-byte boundary.
class LICE_MemBitmap : public LICE_IBitmap
{
public:
  // [any] linealign in pixels (powers of two up to 16 are meaningful); a
  // positive w and h allocate at once.
  LICE_MemBitmap(int w = 0, int h = 0, unsigned int linealign = 4);
  ~LICE_MemBitmap() override;
  LICE_MemBitmap(const LICE_MemBitmap&) = delete;
  LICE_MemBitmap& operator=(const LICE_MemBitmap&) = delete;

  LICE_pixel* getBits() override;
  int getWidth() override { return mWidth; }
  int getHeight() override { return mHeight; }
  int getRowSpan() override { return (mWidth + static_cast<int>(mLineAlign)) & ~static_cast<int>(mLineAlign); }
  // [any] A failed allocation (or a size whose storage would exceed 2 GiB)
  // leaves the bitmap at 0 x 0 without storage and still returns true.
  bool resize(int w, int h) override;

  // [any] Bytes currently allocated for pixels (without the alignment spare).
  size_t getAllocSize() const { return mAllocSize; }

private:
  void* mFb = nullptr;
  size_t mAllocSize = 0;
  int mWidth = 0;
  int mHeight = 0;
  unsigned int mLineAlign = 0; // a mask: alignment in pixels minus one
};

// Pixels inside a memory drawing context, so that the view layer and the text
// engine can reach them through getDC(). Rows are padded to 4 pixels.
class LICE_SysBitmap : public LICE_IBitmap
{
public:
  LICE_SysBitmap(int w = 0, int h = 0);
  ~LICE_SysBitmap() override;
  LICE_SysBitmap(const LICE_SysBitmap&) = delete;
  LICE_SysBitmap& operator=(const LICE_SysBitmap&) = delete;

  LICE_pixel* getBits() override { return mBits; }
  int getWidth() override { return mWidth; }
  int getHeight() override { return mHeight; }
  int getRowSpan() override { return mAllocW; }
  // [gui] Keeps the storage when it is big enough; a size below 1 in either
  // direction leaves the new size reported but no pixels (returns false).
  bool resize(int w, int h) override;
  HDC getDC() override { return mDC; }

private:
  HDC mDC = nullptr;
  LICE_pixel* mBits = nullptr;
  int mWidth = 0;
  int mHeight = 0;
  int mAllocW = 0; // row span in pixels
  int mAllocH = 0; // rows allocated
};
