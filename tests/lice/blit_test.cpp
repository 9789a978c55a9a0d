// LICE_Blit and LICE_Copy: clipping, the shortcuts, channel copy, flipped bitmaps.

#include "lice.h"
#include "lice_test_util.h"

#include <gtest/gtest.h>

TEST(Blit, NegativeDestinationClipsTheSourceTopLeft)
{
  LICE_MemBitmap src(10, 10), dst(12, 12);
  FillWith(&src, PosPixel);
  LICE_Clear(&dst, 0);
  LICE_Blit(&dst, &src, -3, -2, nullptr, 1.0f, 0);
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 12; ++x)
      EXPECT_EQ(LICE_GetPixel(&dst, x, y), x < 7 && y < 8 ? PosPixel(x + 3, y + 2) : 0u) << x << "," << y;
}

TEST(Blit, SourceRectangleIsLimitedToTheSourceAndNegativeCornersMoveTheDestination)
{
  LICE_MemBitmap src(4, 4), dst(6, 6);
  FillWith(&src, PosPixel);
  LICE_Clear(&dst, 0);
  // left -1, top -2: drawn from (0,0) of the source at (2+1, 1+2); right/bottom cut at 4.
  const RECT r = {-1, -2, 9, 9};
  LICE_Blit(&dst, &src, 2, 1, &r, 1.0f, 0);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 6; ++x)
      EXPECT_EQ(LICE_GetPixel(&dst, x, y), x >= 3 && y >= 3 ? PosPixel(x - 3, y - 3) : 0u) << x << "," << y;
}

TEST(Blit, RightAndBottomEdgesOfTheDestinationClip)
{
  LICE_MemBitmap src(4, 4), dst(5, 5);
  FillWith(&src, PosPixel);
  LICE_Clear(&dst, 0);
  LICE_Blit(&dst, &src, 3, 2, 1, 0, 3, 4, 0.5f, 0);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 5; ++x)
    {
      const LICE_pixel want = x >= 3 && y >= 2 ? (PosPixel(x - 2, y - 2) >> 1) & 0x7F7F7F7F : 0;
      EXPECT_EQ(LICE_GetPixel(&dst, x, y), want) << x << "," << y;
    }
  // Entirely outside: nothing at all.
  LICE_Blit(&dst, &src, 5, 0, nullptr, 1.0f, 0);
  LICE_Blit(&dst, &src, -4, 0, nullptr, 1.0f, 0);
  EXPECT_EQ(LICE_GetPixel(&dst, 4, 0), 0u);
  EXPECT_EQ(LICE_GetPixel(&dst, 0, 0), 0u);
}

TEST(Blit, HalfOpacityHalvesEveryByteIncludingAlpha)
{
  LICE_MemBitmap src(1, 1), dst(1, 1);
  LICE_Clear(&dst, 0xFF800302);
  LICE_Clear(&src, 0x01FF0405);
  LICE_Blit(&dst, &src, 0, 0, nullptr, 0.5f, 0);
  EXPECT_EQ(LICE_GetPixel(&dst, 0, 0), 0x7FBF0303u);
  LICE_Clear(&dst, 0x01010101);
  LICE_Clear(&src, 0x01010101);
  LICE_Blit(&dst, &src, 0, 0, nullptr, 0.5f, 0);
  EXPECT_EQ(LICE_GetPixel(&dst, 0, 0), 0u);
}

TEST(Blit, ChannelCopyMovesOneByteWhateverTheOpacity)
{
  LICE_MemBitmap src(2, 1), dst(2, 1);
  LICE_Clear(&src, 0xAABBCCDD);
  LICE_Clear(&dst, 0x11223344);
  LICE_Blit(&dst, &src, 0, 0, nullptr, 0.3f, LICE_BLIT_MODE_CHANCOPY | (2 << 2) | 0); // blue -> red
  EXPECT_EQ(LICE_GetPixel(&dst, 1, 0), 0x11DD3344u);
  LICE_Blit(&dst, &src, 0, 0, nullptr, 1.0f, LICE_BLIT_MODE_CHANCOPY | (0 << 2) | 3); // alpha -> blue
  EXPECT_EQ(LICE_GetPixel(&dst, 0, 0), 0x11DD33AAu);
}

TEST(Blit, CombinerPathMatchesTheSinglePixelCombination)
{
  LICE_MemBitmap src(3, 2), dst(3, 2);
  FillWith(&src, PosPixel);
  for (int mode : {0, 1, 2, 3, 4, 5, 0x10000, 0x10001, 0x10003})
  {
    LICE_Clear(&dst, 0x80C04020);
    LICE_Blit(&dst, &src, 0, 0, nullptr, 0.7f, mode);
    for (int x = 0; x < 3; ++x)
      EXPECT_EQ(LICE_GetPixel(&dst, x, 1), LICE_CombinePixels(0x80C04020, PosPixel(x, 1), 0.7f, mode))
          << mode;
  }
  LICE_Clear(&dst, 0x80C04020);
  LICE_Blit(&dst, &src, 0, 0, nullptr, 0.7f, 9); // unknown operation
  EXPECT_EQ(LICE_GetPixel(&dst, 2, 1), 0x80C04020u);
}

TEST(Blit, FlippedBitmapsAreAddressedFromTheBottomRow)
{
  LICE_MemBitmap src(2, 3);
  FlippedBitmap flipped(2, 3);
  FillWith(&src, PosPixel);
  LICE_Blit(&flipped, &src, 0, 0, nullptr, 1.0f, 0);
  EXPECT_EQ(MemAt(&flipped, 1, 2), PosPixel(1, 0)); // image row 0 is the last in memory
  EXPECT_EQ(MemAt(&flipped, 0, 0), PosPixel(0, 2));
  LICE_MemBitmap back(2, 3);
  LICE_Blit(&back, &flipped, 0, 0, nullptr, 0.9f, 0x10000);
  LICE_Blit(&back, &flipped, 0, 0, nullptr, 1.0f, 0);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 2; ++x) EXPECT_EQ(LICE_GetPixel(&back, x, y), PosPixel(x, y));
}

TEST(Blit, OntoItselfReadsTheSourceBeforeWriting)
{
  LICE_MemBitmap bm(4, 4);
  FillWith(&bm, PosPixel);
  LICE_Blit(&bm, &bm, 1, 1, nullptr, 1.0f, 0);
  EXPECT_EQ(LICE_GetPixel(&bm, 3, 3), PosPixel(2, 2));
  EXPECT_EQ(LICE_GetPixel(&bm, 1, 1), PosPixel(0, 0));
  EXPECT_EQ(LICE_GetPixel(&bm, 0, 3), PosPixel(0, 3));
}

TEST(Blit, CopyResizesTheDestination)
{
  LICE_MemBitmap src(3, 2), dst(7, 7);
  FillWith(&src, PosPixel);
  LICE_Copy(&dst, &src);
  ASSERT_EQ(dst.getWidth(), 3);
  ASSERT_EQ(dst.getHeight(), 2);
  EXPECT_EQ(LICE_GetPixel(&dst, 2, 1), PosPixel(2, 1));
}
