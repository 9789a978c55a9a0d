// LICE_ScaledBlit and LICE_RotatedBlit on small bitmaps, pixel by pixel.

#include "lice.h"
#include "lice_test_util.h"

#include <cmath>
#include <gtest/gtest.h>

namespace
{
LICE_pixel Grey(int v)
{
  return LICE_RGBA(v, v, v, v);
}

// 2 x 2 source: 0 100 / 200 40 in every channel.
void Quad(LICE_IBitmap* src)
{
  src->resize(2, 2);
  LICE_PutPixel(src, 0, 0, Grey(0), 1.0f, 0);
  LICE_PutPixel(src, 1, 0, Grey(100), 1.0f, 0);
  LICE_PutPixel(src, 0, 1, Grey(200), 1.0f, 0);
  LICE_PutPixel(src, 1, 1, Grey(40), 1.0f, 0);
}

LICE_pixel Tens(int x, int y)
{
  return LICE_RGBA(10 * x + y, 0, 0, 255);
}

void ExpectSame(LICE_IBitmap* a, LICE_IBitmap* b)
{
  ASSERT_EQ(a->getWidth(), b->getWidth());
  for (int y = 0; y < a->getHeight(); ++y)
    for (int x = 0; x < a->getWidth(); ++x)
      EXPECT_EQ(LICE_GetPixel(a, x, y), LICE_GetPixel(b, x, y)) << x << "," << y;
}
} // namespace

TEST(ScaledBlit, EqualSizesWithWholeOffsetsGiveTheBlitsPixels)
{
  LICE_MemBitmap src(5, 4), a(4, 4), b(4, 4);
  FillWith(&src, PosPixel);
  for (int mode : {0, 1, 0x10000, 0x100, 0x10103})
    for (float op : {1.0f, 0.5f, 0.7f})
    {
      LICE_Clear(&a, 0x80402010);
      LICE_Clear(&b, 0x80402010);
      LICE_ScaledBlit(&a, &src, -1, 1, 4, 3, 1.02f, 0.0f, 4.0f, 3.0f, op, mode);
      LICE_Blit(&b, &src, -1, 1, 1, 0, 4, 3, op, mode);
      ExpectSame(&a, &b);
    }
}

TEST(ScaledBlit, NearestDoublesAndMirroringShowsEveryColumn)
{
  LICE_MemBitmap src(3, 2), dst(6, 4);
  FillWith(&src, PosPixel);
  LICE_ScaledBlit(&dst, &src, 0, 0, 6, 4, 0, 0, 3, 2, 1.0f, 0);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x) EXPECT_EQ(LICE_GetPixel(&dst, x, y), PosPixel(x / 2, y / 2));
  LICE_MemBitmap flip(3, 2);
  LICE_ScaledBlit(&flip, &src, 3, 2, -3, -2, 0, 0, 3, 2, 0.9f, LICE_BLIT_USE_ALPHA);
  LICE_ScaledBlit(&flip, &src, 3, 2, -3, -2, 0, 0, 3, 2, 1.0f, 0);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(LICE_GetPixel(&flip, x, y), PosPixel(2 - x, 1 - y));
}

TEST(ScaledBlit, HalfOpacityNearestUsesTheWholePixelHalfMix)
{
  LICE_MemBitmap src(1, 1), dst(2, 2);
  LICE_Clear(&src, 0x01FF0101);
  LICE_Clear(&dst, 0x01010101);
  LICE_ScaledBlit(&dst, &src, 0, 0, 2, 2, 0, 0, 1, 1, 0.5f, 0);
  EXPECT_EQ(LICE_GetPixel(&dst, 1, 1), 0x007F0000u);
}

TEST(ScaledBlit, BilinearWeightsAndTheLastRowAndColumn)
{
  LICE_MemBitmap src, dst(4, 4);
  Quad(&src);
  LICE_ScaledBlit(&dst, &src, 0, 0, 4, 4, 0, 0, 2, 2, 1.0f, LICE_BLIT_FILTER_BILINEAR);
  EXPECT_EQ(LICE_GetPixel(&dst, 1, 1), Grey(85));  // (0 + 100 + 200 + 40) / 4
  EXPECT_EQ(LICE_GetPixel(&dst, 0, 1), Grey(100)); // fx = 0: halfway down column 0
  EXPECT_EQ(LICE_GetPixel(&dst, 3, 1), Grey(70));  // last column: 100 and 40 by fy
  EXPECT_EQ(LICE_GetPixel(&dst, 1, 3), Grey(120)); // last row: 200 and 40 by fx
  EXPECT_EQ(LICE_GetPixel(&dst, 3, 3), Grey(40));  // bottom-right as it is
  EXPECT_EQ(LICE_GetPixel(&dst, 2, 0), Grey(100));
  // Steps of 2/3: fx = 43690. Row 0: 100 * 43690 >> 16 = 66; last row: (200 * 21846 + 40 * 43690) >> 16 = 93.
  LICE_MemBitmap d3(3, 2);
  LICE_ScaledBlit(&d3, &src, 0, 0, 3, 2, 0, 0, 2, 2, 1.0f, LICE_BLIT_FILTER_BILINEAR);
  EXPECT_EQ(LICE_GetPixel(&d3, 1, 0), Grey(66));
  EXPECT_EQ(LICE_GetPixel(&d3, 1, 1), Grey(93));
}

TEST(ScaledBlit, ShrinkingAveragesABoxOfTapsInsideTheSource)
{
  LICE_MemBitmap src(10, 10), dst(2, 2);
  FillWith(&src, Tens);
  // Step 3: 3 x 3 boxes from x - 1; the first box loses its column and row -1.
  LICE_ScaledBlit(&dst, &src, 0, 0, 2, 2, 0, 0, 6, 6, 1.0f, LICE_BLIT_FILTER_BILINEAR);
  EXPECT_EQ(LICE_GetPixel(&dst, 0, 0), Tens(0, 5)); // (0 + 1 + 10 + 11) / 4 = 5
  EXPECT_EQ(LICE_GetPixel(&dst, 1, 1), Tens(3, 3));
  // Step 5: 5 x 5 boxes from x - 2.
  LICE_ScaledBlit(&dst, &src, 0, 0, 2, 2, 0, 0, 10, 10, 1.0f, LICE_BLIT_FILTER_BILINEAR);
  EXPECT_EQ(LICE_GetPixel(&dst, 0, 0), Tens(1, 1));
  EXPECT_EQ(LICE_GetPixel(&dst, 1, 1), Tens(5, 5));
}

TEST(RotatedBlit, NoTurnCopiesAndAQuarterTurnGoesClockwise)
{
  LICE_MemBitmap src(4, 4), dst(4, 4), ref(4, 4);
  FillWith(&src, PosPixel);
  for (int mode : {0, LICE_BLIT_FILTER_BILINEAR})
  {
    LICE_Clear(&dst, 0);
    LICE_RotatedBlit(&dst, &src, 0, 0, 4, 4, 0, 0, 4, 4, 0.0f, false, 1.0f, mode);
    ExpectSame(&dst, &src);
  }
  LICE_Clear(&dst, 0);
  LICE_RotatedBlit(&dst, &src, 0, 0, 4, 4, 0, 0, 4, 4, static_cast<float>(M_PI / 2), false, 1.0f, 0);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(LICE_GetPixel(&dst, x, y), PosPixel(y, 3 - x)) << x << "," << y;
}

TEST(RotatedBlit, ClipsToTheSourceRectangleWhenAsked)
{
  LICE_MemBitmap src(4, 4), dst(4, 4);
  FillWith(&src, PosPixel);
  LICE_Clear(&dst, 0);
  // A 2 x 2 rectangle drawn into 4 x 4, moved right by one source pixel.
  LICE_RotatedBlit(&dst, &src, 0, 0, 4, 4, 1, 1, 2, 2, 0.0f, true, 1.0f, 0, 1.0f, 0.0f);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x)
      EXPECT_EQ(LICE_GetPixel(&dst, x, y), x < 2 ? PosPixel(2 + x / 2, 1 + y / 2) : 0u) << x << "," << y;
}

TEST(ScaledBlit, ClippingTheDestinationDoesNotMoveTheSamples)
{
  LICE_MemBitmap src(5, 4), whole(13, 9), clipped(13, 9);
  FillWith(&src, PosPixel);
  for (int mode : {0, LICE_BLIT_FILTER_BILINEAR})
  {
    LICE_Clear(&whole, 0);
    LICE_Clear(&clipped, 0);
    LICE_ScaledBlit(&whole, &src, 0, 0, 13, 9, 0.3f, 0.2f, 4.5f, 3.7f, 1.0f, mode);
    LICE_ScaledBlit(&clipped, &src, -3, -2, 13, 9, 0.3f, 0.2f, 4.5f, 3.7f, 1.0f, mode);
    for (int y = 0; y < 7; ++y)
      for (int x = 0; x < 10; ++x)
        EXPECT_EQ(LICE_GetPixel(&clipped, x, y), LICE_GetPixel(&whole, x + 3, y + 2)) << x << "," << y;
  }
}
