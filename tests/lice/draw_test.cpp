// Drawing primitives: which pixels they touch and with what weight.

#include "lice.h"

#include <cmath>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <utility>

namespace
{
const LICE_pixel kWhite = 0xFFFFFFFF;

// The bitmap as rows of '#' (the colour), '.' (untouched) and '?' (other).
std::string Picture(LICE_IBitmap* bm)
{
  std::string s;
  for (int y = 0; y < bm->getHeight(); ++y)
  {
    for (int x = 0; x < bm->getWidth(); ++x)
    {
      const LICE_pixel p = LICE_GetPixel(bm, x, y);
      s += p == kWhite ? '#' : (p == 0 ? '.' : '?');
    }
    s += '\n';
  }
  return s;
}

// Grey level of a pixel drawn in white over black (equals the coverage).
int Level(LICE_IBitmap* bm, int x, int y)
{
  return static_cast<int>(LICE_GETR(LICE_GetPixel(bm, x, y)));
}
} // namespace

TEST(Line, IntegerLinesRoundHalvesAwayFromTheStartAndClip)
{
  LICE_MemBitmap bm(5, 3);
  LICE_Clear(&bm, 0);
  LICE_Line(&bm, 0, 0, 4, 2, kWhite, 1.0f, 0, false);
  EXPECT_EQ(Picture(&bm), "#....\n.##..\n...##\n");
  LICE_Clear(&bm, 0);
  LICE_Line(&bm, -5, 1, 10, 1, kWhite, 1.0f, 0, false);
  LICE_Line(&bm, 2, -100, 2, 100, kWhite, 1.0f, 0, false);
  EXPECT_EQ(Picture(&bm), "..#..\n#####\n..#..\n");
}

TEST(Line, AntialiasedLinesSplitEachStepBetweenTwoPixels)
{
  LICE_MemBitmap bm(5, 2);
  LICE_Clear(&bm, 0);
  // Slope 1/4: rows 0 and 1 share each column by 3/4:1/4, 1/2:1/2, 1/4:3/4.
  LICE_Line(&bm, 0, 0, 4, 1, kWhite, 1.0f, 0, true);
  const int want[2][5] = {{255, 192, 128, 64, 0}, {0, 64, 128, 192, 255}};
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 5; ++x) EXPECT_EQ(Level(&bm, x, y), want[y][x]) << x << "," << y;
  // A diagonal through whole pixels is drawn solid; halved opacity halves it.
  LICE_MemBitmap d(3, 3);
  LICE_Clear(&d, 0);
  LICE_Line(&d, 2, 2, 0, 0, kWhite, 1.0f, 0, true);
  EXPECT_EQ(Picture(&d), "#..\n.#.\n..#\n");
  LICE_FLine(&d, 0.0f, 2.0f, 2.0f, 2.0f, kWhite, 0.5f, LICE_BLIT_MODE_ADD, true);
  EXPECT_EQ(LICE_GetPixel(&d, 0, 2), 0x7F7F7F7Fu);
}

TEST(Circle, OutlinesFilledDiscsAndArcs)
{
  LICE_MemBitmap bm(7, 7);
  LICE_Clear(&bm, 0);
  LICE_Circle(&bm, 3, 3, 2, kWhite, 1.0f, 0, false);
  EXPECT_EQ(Picture(&bm), ".......\n"
                          "..###..\n"
                          ".#...#.\n"
                          ".#...#.\n"
                          ".#...#.\n"
                          "..###..\n"
                          ".......\n");
  LICE_Clear(&bm, 0);
  LICE_Arc(&bm, 3, 3, 2, 0.0f, static_cast<float>(M_PI / 2), kWhite, 1.0f, 0, false);
  EXPECT_EQ(Picture(&bm), ".......\n"
                          "...##..\n"
                          ".....#.\n"
                          ".....#.\n"
                          ".......\n"
                          ".......\n"
                          ".......\n");
  LICE_Clear(&bm, 0);
  LICE_FillCircle(&bm, 1, 1, 1, kWhite, 1.0f, 0, false);
  EXPECT_EQ(Picture(&bm).substr(0, 24), ".#.....\n###....\n.#.....\n");
  LICE_Clear(&bm, 0);
  // Antialiased radius 1.5: the diagonal neighbours get 1.5 + 0.5 - sqrt(2) = 149/256.
  LICE_FillCircle(&bm, 2, 2, 1.5f, kWhite, 1.0f, 0, true);
  EXPECT_EQ(Level(&bm, 2, 2), 255);
  EXPECT_EQ(Level(&bm, 3, 2), 255);
  EXPECT_EQ(Level(&bm, 3, 3), 149);
  EXPECT_EQ(Level(&bm, 4, 2), 0);
  EXPECT_EQ(Level(&bm, 4, 4), 0);
}

TEST(RoundRect, SquareCornersTraceTheRectangleAndRoundOnesCutTheCorners)
{
  LICE_MemBitmap bm(8, 6);
  LICE_Clear(&bm, 0);
  LICE_RoundRect(&bm, 1, 1, 5, 3, 0, kWhite, 1.0f, 0, false);
  EXPECT_EQ(Picture(&bm), "........\n"
                          ".######.\n"
                          ".#....#.\n"
                          ".#....#.\n"
                          ".######.\n"
                          "........\n");
  LICE_Clear(&bm, 0);
  LICE_RoundRect(&bm, 0, 0, 7, 5, 2, kWhite, 1.0f, 0, false);
  EXPECT_EQ(LICE_GetPixel(&bm, 0, 0), 0u);
  EXPECT_EQ(LICE_GetPixel(&bm, 3, 0), kWhite);
  EXPECT_EQ(LICE_GetPixel(&bm, 0, 2), kWhite);
  EXPECT_EQ(LICE_GetPixel(&bm, 3, 2), 0u);
}

TEST(Polygon, TrianglesAndConvexPolygonsIncludeTheirEdgesAndClip)
{
  LICE_MemBitmap bm(6, 5);
  LICE_Clear(&bm, 0);
  LICE_FillTriangle(&bm, 0, 0, 4, 0, 0, 4, kWhite, 1.0f, 0);
  EXPECT_EQ(Picture(&bm), "#####.\n####..\n###...\n##....\n#.....\n");
  LICE_Clear(&bm, 0);
  const int xs[4] = {-2, 2, 2, -2}, ys[4] = {-2, -2, 2, 2};
  LICE_FillConvexPolygon(&bm, xs, ys, 4, kWhite, 1.0f, 0);
  EXPECT_EQ(Picture(&bm), "###...\n###...\n###...\n......\n......\n");
  // Row 1 crosses the edges at x = 0.75 and x = 2: the span is 1..2 (rounded inward).
  LICE_Clear(&bm, 0);
  LICE_FillTriangle(&bm, 1, 0, 5, 4, 0, 4, 0x02020202, 0.5f, LICE_BLIT_MODE_ADD);
  EXPECT_EQ(LICE_GetPixel(&bm, 1, 1), 0x01010101u);
  EXPECT_EQ(LICE_GetPixel(&bm, 2, 1), 0x01010101u);
  EXPECT_EQ(LICE_GetPixel(&bm, 3, 1), 0u);
  EXPECT_EQ(LICE_GetPixel(&bm, 0, 1), 0u);
}
