// LICE_FillRect, LICE_Clear, LICE_ClearRect and the single-pixel operations.

#include "lice.h"
#include "lice_test_util.h"

#include <gtest/gtest.h>

TEST(FillRect, ClipsEveryEdge)
{
  LICE_MemBitmap bm(4, 4);
  LICE_Clear(&bm, 0);
  LICE_FillRect(&bm, -1, -2, 3, 4, 0xFFFFFFFF, 1.0f, 0); // -> x 0..1, y 0..1
  LICE_FillRect(&bm, 3, 3, 9, 9, 0x01010101, 1.0f, 0);   // -> the corner pixel
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x)
    {
      const LICE_pixel want = x < 2 && y < 2 ? 0xFFFFFFFF : (x == 3 && y == 3 ? 0x01010101 : 0);
      EXPECT_EQ(LICE_GetPixel(&bm, x, y), want) << x << "," << y;
    }
  LICE_FillRect(&bm, 4, 0, 1, 1, 0xFFFFFFFF, 1.0f, 0);
  LICE_FillRect(&bm, 0, -1, 4, 1, 0xFFFFFFFF, 1.0f, 0);
  LICE_FillRect(&bm, 2, 2, 0, 1, 0xFFFFFFFF, 1.0f, 0);
  EXPECT_EQ(LICE_GetPixel(&bm, 3, 0), 0u);
  EXPECT_EQ(LICE_GetPixel(&bm, 2, 2), 0u);
}

TEST(FillRect, WholePixelShortcutsForQuarterSteps)
{
  LICE_MemBitmap bm(1, 1);
  const LICE_pixel d = 0xFF804000, c = 0x80FF0410;
  LICE_Clear(&bm, d);
  LICE_FillRect(&bm, 0, 0, 1, 1, c, 1.0f, 0);
  EXPECT_EQ(LICE_GetPixel(&bm, 0, 0), c); // the colour's own alpha is written
  LICE_Clear(&bm, d);
  LICE_FillRect(&bm, 0, 0, 1, 1, c, 0.5f, 0); // 7F 40 20 00 + 40 7F 02 08
  EXPECT_EQ(LICE_GetPixel(&bm, 0, 0), 0xBFBF2208u);
  LICE_Clear(&bm, d);
  LICE_FillRect(&bm, 0, 0, 1, 1, c, 0.25f, 0); // 7F 40 20 00 + 3F 20 10 00 + 20 3F 01 04
  EXPECT_EQ(LICE_GetPixel(&bm, 0, 0), 0xDE9F3104u);
  LICE_Clear(&bm, d);
  LICE_FillRect(&bm, 0, 0, 1, 1, c, 0.75f, 0); // 3F 20 10 00 + 40 7F 02 08 + 20 3F 01 04
  EXPECT_EQ(LICE_GetPixel(&bm, 0, 0), 0x9FDE130Cu);
}

TEST(FillRect, OtherOpacitiesUseTheWeightAsSourceAlpha)
{
  LICE_MemBitmap bm(2, 1);
  LICE_PutPixel(&bm, 0, 0, LICE_RGBA(0, 255, 10, 0), 1.0f, 0);
  LICE_PutPixel(&bm, 1, 0, LICE_RGBA(0, 255, 10, 255), 1.0f, 0);
  // W = 100, f = 156. alpha: 100 + (0 - 100) * 156 / 256 = 40; 100 + 155 * 156 / 256 = 194.
  // red 200 + (0 - 200) * 156 / 256 = 79; green 0 + 255 * 156 / 256 = 155; blue 10.
  LICE_FillRect(&bm, 0, 0, 2, 1, LICE_RGBA(200, 0, 10, 7), 100.0f / 256.0f, 0);
  EXPECT_EQ(LICE_GetPixel(&bm, 0, 0), LICE_RGBA(79, 155, 10, 40));
  EXPECT_EQ(LICE_GetPixel(&bm, 1, 0), LICE_RGBA(79, 155, 10, 194));
}

TEST(FillRect, SourceAlphaFlagScalesTheOpacityByTheColourAlpha)
{
  LICE_MemBitmap bm(1, 1);
  LICE_Clear(&bm, 0x11223344);
  LICE_FillRect(&bm, 0, 0, 1, 1, 0x00FFFFFF, 1.0f, LICE_BLIT_USE_ALPHA);
  EXPECT_EQ(LICE_GetPixel(&bm, 0, 0), 0x11223344u);
  LICE_FillRect(&bm, 0, 0, 1, 1, 0xFF00FF00, 1.0f, LICE_BLIT_USE_ALPHA);
  EXPECT_EQ(LICE_GetPixel(&bm, 0, 0), 0xFF00FF00u);
  // alpha 0x80: 128 / 255 -> W = 128 (half-mix shortcut).
  LICE_Clear(&bm, 0);
  LICE_FillRect(&bm, 0, 0, 1, 1, 0x80FEFEFE, 1.0f, LICE_BLIT_USE_ALPHA);
  EXPECT_EQ(LICE_GetPixel(&bm, 0, 0), 0x407F7F7Fu);
}

TEST(FillRect, AddUsesTheWeightForAlphaAndUnknownOperationsDrawNothing)
{
  LICE_MemBitmap bm(1, 1);
  LICE_Clear(&bm, LICE_RGBA(10, 250, 0, 20));
  LICE_FillRect(&bm, 0, 0, 1, 1, LICE_RGBA(100, 100, 255, 0), 0.5f, LICE_BLIT_MODE_ADD);
  // +50, +50 (limited), +127; alpha + 128 * 128 / 256 = 64.
  EXPECT_EQ(LICE_GetPixel(&bm, 0, 0), LICE_RGBA(60, 255, 127, 84));
  LICE_FillRect(&bm, 0, 0, 1, 1, 0xFFFFFFFF, 0.5f, 7);
  EXPECT_EQ(LICE_GetPixel(&bm, 0, 0), LICE_RGBA(60, 255, 127, 84));
}

TEST(Pixels, ClearRectMasksAndGetPutStayInside)
{
  LICE_MemBitmap bm(3, 3);
  LICE_Clear(&bm, 0x12345678);
  LICE_ClearRect(&bm, 1, -1, 5, 2, 0x00FFFF00, 0xAB000000);
  EXPECT_EQ(LICE_GetPixel(&bm, 2, 0), 0xAB345600u);
  EXPECT_EQ(LICE_GetPixel(&bm, 0, 0), 0x12345678u);
  EXPECT_EQ(LICE_GetPixel(&bm, 1, 1), 0x12345678u);
  EXPECT_EQ(LICE_GetPixel(&bm, 3, 0), 0u);
  EXPECT_EQ(LICE_GetPixel(&bm, 0, -1), 0u);
  EXPECT_EQ(LICE_GetPixel(nullptr, 0, 0), 0u);
  LICE_PutPixel(&bm, -1, 0, 0, 1.0f, 0);
  LICE_PutPixel(&bm, 0, 3, 0, 1.0f, 0);
  // The source-alpha flag is ignored: a half-transparent colour is written as it is.
  LICE_PutPixel(&bm, 0, 0, 0x80FFFFFF, 1.0f, LICE_BLIT_USE_ALPHA);
  EXPECT_EQ(LICE_GetPixel(&bm, 0, 0), 0x80FFFFFFu);
  // Add with the colour's own alpha byte: 0x80 + 0x10 * 128 / 256.
  LICE_PutPixel(&bm, 0, 0, 0x10000000, 0.5f, LICE_BLIT_MODE_ADD);
  EXPECT_EQ(LICE_GetPixel(&bm, 0, 0), 0x88FFFFFFu);
}
