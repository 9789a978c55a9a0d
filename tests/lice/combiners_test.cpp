// Each combiner against values worked out by hand from its formula.

#include "lice.h"
#include "lice_combine.h"

#include <gtest/gtest.h>

namespace
{
// Opacity giving the integer weight W exactly.
float Op(int W)
{
  return static_cast<float>(W) / 256.0f;
}
const int kAlpha = LICE_BLIT_USE_ALPHA;
} // namespace

TEST(Combiners, CopyMixTruncatesNegativeDividendsTowardZero)
{
  // f = 256 - 100 = 156; red: 200 + (-190 * 156) / 256 = 200 - 115 (floor would give 116).
  const LICE_pixel d = LICE_RGBA(10, 200, 0, 255), s = LICE_RGBA(200, 10, 255, 0);
  EXPECT_EQ(LICE_CombinePixels(d, s, Op(100), 0), LICE_RGBA(85, 125, 100, 155));
  EXPECT_EQ(LICE_CombinePixels(d, s, 1.0f, 0), s);
}

TEST(Combiners, CopyDrawsNothingBelowWeightOneAndUnknownOpsDrawNothing)
{
  const LICE_pixel d = 0x11223344, s = 0xAABBCCDD;
  EXPECT_EQ(LICE_CombinePixels(d, s, 0.003f, 0), d);  // W = 0
  EXPECT_EQ(LICE_CombinePixels(d, s, -0.5f, 0), d);   // W = -128
  EXPECT_EQ(LICE_CombinePixels(d, s, 1.0f, 6), d);
  EXPECT_EQ(LICE_CombinePixels(d, s, 1.0f, 0xEF), d);
  EXPECT_EQ(LICE_CombinePixels(d, s, 1.0f, 0xF8), d); // channel copy is a blit-only mode
}

TEST(Combiners, CopyAboveFullWeightIsClampedInsteadOfWrapping)
{
  // W = 384, f = -128: 0 + (255 - 0) * -128 / 256 = -127 -> 0; 255 + (0 - 255) * -128/256 = 382 -> 255.
  EXPECT_EQ(LICE_CombinePixels(LICE_RGBA(255, 0, 0, 0), LICE_RGBA(0, 255, 0, 0), Op(384), 0),
            LICE_RGBA(0, 255, 0, 0));
}

TEST(Combiners, AddClampsAndTruncatesNegativeWeights)
{
  const LICE_pixel d = LICE_RGBA(250, 10, 200, 100), s = LICE_RGBA(100, 100, 255, 200);
  EXPECT_EQ(LICE_CombinePixels(d, s, Op(128), LICE_BLIT_MODE_ADD), LICE_RGBA(255, 60, 255, 200));
  // blue: 200 + 255 * -128 / 256 = 200 - 127 = 73
  EXPECT_EQ(LICE_CombinePixels(d, s, Op(-128), LICE_BLIT_MODE_ADD), LICE_RGBA(200, 0, 73, 0));
}

TEST(Combiners, ColorDodgeDividesByTheInvertedSource)
{
  // t = 128: 100 * 256 / 128 = 200; t = 64: 25600 / 192 = 133; t = 255: 0 stays 0; t = 0: unchanged.
  EXPECT_EQ(LICE_CombinePixels(LICE_RGBA(100, 100, 0, 100), LICE_RGBA(128, 64, 255, 0), 1.0f,
                               LICE_BLIT_MODE_DODGE),
            LICE_RGBA(200, 133, 0, 100));
  EXPECT_EQ(LICE_CombinePixels(LICE_RGBA(1, 0, 0, 0), LICE_RGBA(255, 0, 0, 0), 1.0f,
                               LICE_BLIT_MODE_DODGE),
            LICE_RGBA(255, 0, 0, 0));
}

TEST(Combiners, MultiplyAndItsClampedTwinAboveFullWeight)
{
  // W = 256: 200 * 128 * 256 >> 16 = 100. W = 128: 200 * (32768 + 16384) >> 16 = 150.
  EXPECT_EQ(LICE_CombinePixels(LICE_RGBA(200, 0, 0, 0), LICE_RGBA(128, 0, 0, 0), 1.0f, 3) >> 16 & 255, 100u);
  EXPECT_EQ(LICE_CombinePixels(LICE_RGBA(200, 0, 0, 0), LICE_RGBA(128, 0, 0, 0), Op(128), 3) >> 16 & 255, 150u);
  // W = 300, s = 0: 200 * -11264 >> 16 = -35, clamped to 0 (not wrapped to 221).
  LICE_pixel p = LICE_RGBA(200, 0, 0, 0);
  LICE_CombinePixels2(&p, 0, 0, 0, 0, 300, LICE_BLIT_MODE_MUL);
  EXPECT_EQ(p, LICE_RGBA(0, 0, 0, 0));
}

TEST(Combiners, OverlayDarkensBelowMidGreyAndBrightensAbove)
{
  // W = 256: k = 256 s. s = 255: 100 * (-12700 + 65280) >> 15 = 160; s = 0: 100 * 12800 >> 15 = 39.
  EXPECT_EQ(LICE_CombinePixels(LICE_RGBA(100, 100, 255, 100), LICE_RGBA(255, 0, 128, 128), 1.0f,
                               LICE_BLIT_MODE_OVERLAY),
            LICE_RGBA(160, 39, 255, 100));
  // W = 200, s = 255: k = 58168; 100 * (-9921 + 58168) >> 15 = 147.
  EXPECT_EQ(LICE_CombinePixels(LICE_RGBA(100, 0, 0, 0), LICE_RGBA(255, 0, 0, 0), Op(200),
                               LICE_BLIT_MODE_OVERLAY) >> 16 & 255, 147u);
}

TEST(Combiners, HsvConversionFollowsTheIntegerSectors)
{
  EXPECT_EQ(__LICE_RGB2HSV_invtab[0], 0);
  EXPECT_EQ(__LICE_RGB2HSV_invtab[1], 65535);
  EXPECT_EQ(__LICE_RGB2HSV_invtab[3], 21844);
  EXPECT_EQ(__LICE_RGB2HSV_invtab[255], 256);
  int h, s, v;
  __LICE_RGB2HSV(200, 100, 50, &h, &s, &v); // sat 150 * 326 / 256, hue 50 * 436 / 1024
  EXPECT_EQ(h, 21);
  EXPECT_EQ(s, 191);
  EXPECT_EQ(v, 200);
  __LICE_RGB2HSV(10, 50, 200, &h, &s, &v); // 256 + (-40 * 344) / 1024 = 256 - 13
  EXPECT_EQ(h, 243);
  __LICE_RGB2HSV(200, 50, 100, &h, &s, &v); // 383 + (-50 * 436) / 1024 = 383 - 21
  EXPECT_EQ(h, 362);
  EXPECT_EQ(__LICE_HSV2Pix(0, 255, 255, 7), LICE_RGBA(255, 0, 0, 7));
}

TEST(Combiners, HsvAdjustTurnsHueAndSetsAlpha)
{
  const LICE_pixel d = LICE_RGBA(200, 100, 50, 9);
  // Mid-grey source keeps h, s, v (the integer round trip gives G = 200 * 8171 / 16384 = 99);
  // the alpha byte becomes the source alpha.
  EXPECT_EQ(LICE_CombinePixels(d, LICE_RGBA(128, 128, 128, 77), 1.0f, 5), LICE_RGBA(200, 99, 50, 77));
  // h 21 + 190 = 211: R = m = 50, G = 200 * (16384 - 191 * 19) / 16384 = 155, B = v.
  EXPECT_EQ(LICE_CombinePixels(d, LICE_RGBA(255, 128, 128, 1), 1.0f, 5), LICE_RGBA(50, 155, 200, 1));
  // h 21 - 192 wraps to 213: G = 200 * (16384 - 191 * 21) / 16384 = 151.
  EXPECT_EQ(LICE_CombinePixels(d, LICE_RGBA(0, 128, 128, 1), 1.0f, 5), LICE_RGBA(50, 151, 200, 1));
  // Saturation pulled below 0 is clamped: grey at the value.
  EXPECT_EQ(LICE_CombinePixels(d, LICE_RGBA(128, 0, 128, 1), 1.0f, 5), LICE_RGBA(200, 200, 200, 1));
}

TEST(Combiners, SourceAlphaZeroLeavesTheDestinationAlone)
{
  const LICE_pixel d = 0x80402010, s = LICE_RGBA(255, 255, 255, 0);
  for (int op : {0, 1, 3})
    for (int W : {256, 128, 37})
      EXPECT_EQ(LICE_CombinePixels(d, s, Op(W), op | kAlpha), d) << op << " " << W;
}

TEST(Combiners, SourceAlphaCopyAtFullAndPartialWeight)
{
  const LICE_pixel opaque = LICE_RGBA(255, 0, 100, 255);
  EXPECT_EQ(LICE_CombinePixels(opaque, 0x12345678 | 0xFF000000u, 1.0f, kAlpha), 0xFF345678u);
  // sa 128 at W 256: s + (d - s) * 127 / 256; alpha 128 + 255 limited to 255.
  EXPECT_EQ(LICE_CombinePixels(opaque, LICE_RGBA(0, 200, 100, 128), 1.0f, kAlpha),
            LICE_RGBA(126, 101, 100, 255));
  // W 128, sa 128: W' = 128 * 129 / 256 = 64; f = 192; alpha 64 + 0.
  EXPECT_EQ(LICE_CombinePixels(LICE_RGBA(255, 0, 100, 0), LICE_RGBA(0, 200, 100, 128), Op(128), kAlpha),
            LICE_RGBA(191, 50, 100, 64));
}

TEST(Combiners, SourceAlphaAddSaturates)
{
  EXPECT_EQ(LICE_CombinePixels(LICE_RGBA(200, 0, 10, 200), LICE_RGBA(255, 100, 0, 255), 1.0f,
                               LICE_BLIT_MODE_ADD | kAlpha),
            LICE_RGBA(255, 100, 10, 255));
}

TEST(Combiners, ClampFormLimitsSourceAlphaCopyOutsideTheWeightRange)
{
  // W = 512, sa = 255: W' = 512, f = -256: 0 + (200 - 0) * -256 / 256 = -200 -> 0; alpha 255.
  LICE_pixel p = LICE_RGBA(200, 0, 0, 0);
  LICE_CombinePixels2Clamp(&p, 0, 0, 0, 255, 512, kAlpha | 0);
  EXPECT_EQ(p, LICE_RGBA(0, 0, 0, 255));
  LICE_pixel q = 0x01020304;
  LICE_CombinePixels2(&q, 255, 255, 255, 255, 0, 0);
  EXPECT_EQ(q, 0x01020304u);
}
