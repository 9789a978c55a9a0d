#include "lice_text.h"
#include "lice.h"
#include "lice_text_shared.h"

#include <gtest/gtest.h>
#include <cstring>

namespace
{
constexpr LICE_pixel kBlack = 0xFF000000;

HFONT Font(int size, int quality = 0)
{
  return CreateFont(size, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, quality, 0, "");
}

// Exposes the glyph cache to check masks against drawn pixels.
struct TestFont : LICE_CachedFont
{
  explicit TestFont(int flags, int size = 14) { SetFromHFont(Font(size), flags | LICE_FONT_FLAG_OWNS_HFONT); }
  using LICE_CachedFont::FindGlyph;
  const unsigned char* Mask(const charEnt* e) { return mCacheStore.data() + e->mPos - 1; }
};

void Fill(LICE_IBitmap* bm, LICE_pixel v)
{
  LICE_Clear(bm, v);
}

bool SamePixels(LICE_IBitmap* a, LICE_IBitmap* b)
{
  for (int y = 0; y < a->getHeight(); ++y)
    for (int x = 0; x < a->getWidth(); ++x)
      if (LICE_GetPixel(a, x, y) != LICE_GetPixel(b, x, y)) return false;
  return true;
}

bool Untouched(LICE_IBitmap* bm, LICE_pixel v)
{
  for (int y = 0; y < bm->getHeight(); ++y)
    for (int x = 0; x < bm->getWidth(); ++x)
      if (LICE_GetPixel(bm, x, y) != v) return false;
  return true;
}
} // namespace

TEST(CachedFont, LineHeightIsTheNativeMetricsHeight)
{
  HFONT f = Font(17);
  HDC dc = SWELL_CreateMemContext(nullptr, 4, 4);
  SelectObject(dc, f);
  TEXTMETRIC tm;
  GetTextMetrics(dc, &tm);
  SWELL_DeleteGfxContext(dc);
  LICE_CachedFont cf;
  EXPECT_EQ(cf.GetLineHeight(), 0);
  cf.SetFromHFont(f, LICE_FONT_FLAG_OWNS_HFONT);
  EXPECT_EQ(cf.GetLineHeight(), tm.tmHeight);
  EXPECT_EQ(cf.GetHFont(), f);
}

TEST(CachedFont, SettersReturnThePreviousValues)
{
  LICE_CachedFont cf;
  EXPECT_EQ(cf.SetTextColor(0x80FF0000), 0u);
  EXPECT_EQ(cf.SetTextColor(1), 0x80FF0000u);
  EXPECT_EQ(cf.SetBkColor(2), 0xFFFFFFFFu);
  EXPECT_EQ(cf.SetEffectColor(3), 0xFFFFFFFFu);
  EXPECT_EQ(cf.SetBkMode(1), 0);
  EXPECT_EQ(cf.GetTextColor(), 1u);
}

TEST(CachedFont, GlyphPathMeasuresTheSumOfAdvances)
{
  TestFont cf(0);
  const auto* a = cf.FindGlyph('a');
  const auto* b = cf.FindGlyph('b');
  ASSERT_TRUE(a && b);
  int right = a->mAdvance + b->mAdvance;
  right = std::max(right, a->mAdvance - b->mLeftBearing + b->mWidth);
  RECT r = {3, 4, 3, 4};
  const int h = cf.DrawText(nullptr, "ab", -1, &r, DT_CALCRECT);
  EXPECT_EQ(r.right, 3 + right);
  EXPECT_EQ(r.bottom, 4 + std::max(a->mHeight, b->mHeight));
  EXPECT_EQ(h, r.bottom - 4);
  // Carriage returns measure as nothing, line feeds as spaces in single-line
  // mode and as a new line (line height + spacing) otherwise.
  RECT cr = {0, 0, 0, 0}, sp = {0, 0, 0, 0}, lf = {0, 0, 0, 0}, two = {0, 0, 0, 0};
  cf.DrawText(nullptr, "a\rb", -1, &cr, DT_CALCRECT);
  cf.DrawText(nullptr, "a b", -1, &sp, DT_CALCRECT);
  cf.DrawText(nullptr, "a\nb", -1, &lf, DT_CALCRECT | DT_SINGLELINE);
  EXPECT_EQ(cr.right, 3 + right - 3);
  EXPECT_EQ(lf.right, sp.right);
  cf.SetLineSpacing(5);
  cf.DrawText(nullptr, "a\nb", -1, &two, DT_CALCRECT);
  EXPECT_EQ(two.bottom, cf.GetLineHeight() + 5 + b->mHeight);
}

TEST(CachedFont, TranslucentTextGoesThroughTheMasksAtTheWrittenWeight)
{
  TestFont cf(LICE_FONT_FLAG_FORCE_NATIVE);
  LICE_SysBitmap bm(60, 30);
  Fill(&bm, kBlack);
  cf.SetTextColor(LICE_RGBA(255, 0, 0, 128));
  RECT r = {10, 5, 60, 30};
  EXPECT_GT(cf.DrawText(&bm, "H", -1, &r, DT_NOCLIP | LICE_DT_USEFGALPHA), 0);
  // opacity 128/255 gives W = 128; a mask byte of 255 weighs 128 * 255 / 256 =
  // 127, so red = 255 + (0 - 255) * 129 / 256 = 127 and alpha stays 255.
  const auto* e = cf.FindGlyph('H');
  const unsigned char* m = cf.Mask(e);
  int full = 0;
  for (int y = 0; y < e->mHeight; ++y)
    for (int x = 0; x < e->mWidth; ++x)
    {
      const unsigned f = m[y * e->mWidth + x];
      const LICE_pixel p = LICE_GetPixel(&bm, 10 - e->mLeftBearing + x, 5 + y);
      if (f == 255)
      {
        ++full;
        EXPECT_EQ(p, 0xFF7F0000u);
      }
      else if (f == 0)
      {
        EXPECT_EQ(p, kBlack);
      }
    }
  EXPECT_GT(full, 0);
}

TEST(CachedFont, OpaqueTextWithContainerFlagsIsDrawnNatively)
{
  LICE_CachedFont cf;
  HFONT f = Font(14);
  cf.SetFromHFont(f, LICE_FONT_FLAG_OWNS_HFONT | LICE_FONT_FLAG_FORCE_NATIVE);
  cf.SetTextColor(LICE_RGBA(20, 200, 90, 255));
  LICE_SysBitmap viaFont(80, 30), direct(80, 30);
  LICE_MemBitmap viaScratch(80, 30);
  for (LICE_IBitmap* b : {(LICE_IBitmap*)&viaFont, (LICE_IBitmap*)&direct, (LICE_IBitmap*)&viaScratch})
    Fill(b, 0xFF404040);
  RECT r = {4, 2, 76, 28};
  cf.DrawText(&viaFont, "Sw&p", -1, &r, DT_CENTER | DT_NOCLIP);
  r = {4, 2, 76, 28};
  cf.DrawText(&viaScratch, "Sw&p", -1, &r, DT_CENTER | DT_NOCLIP);
  HDC dc = direct.getDC();
  SelectObject(dc, f);
  SetTextColor(dc, 0x14C85A);
  r = {4, 2, 76, 28};
  SWELL_DrawText(dc, "Sw&p", -1, &r, DT_CENTER | DT_NOCLIP | DT_NOPREFIX);
  SWELL_ClearFont(dc);
  EXPECT_FALSE(Untouched(&direct, 0xFF404040));
  EXPECT_TRUE(SamePixels(&viaFont, &direct));
  EXPECT_TRUE(SamePixels(&viaScratch, &direct));
}

TEST(CachedFont, RectangleOutsideTheBitmapDrawsNothing)
{
  for (int flags : {0, LICE_FONT_FLAG_FORCE_NATIVE})
  {
    TestFont cf(flags);
    cf.SetTextColor(0xFFFFFFFF);
    LICE_SysBitmap sys(40, 20);
    LICE_MemBitmap mem(40, 20);
    for (LICE_IBitmap* bm : {(LICE_IBitmap*)&sys, (LICE_IBitmap*)&mem})
    {
      Fill(bm, kBlack);
      for (RECT r : {RECT{50, 0, 90, 20}, RECT{-60, 0, -10, 20}, RECT{0, 25, 40, 45}})
        cf.DrawText(bm, "Mono", -1, &r, 0);
      EXPECT_TRUE(Untouched(bm, kBlack)) << flags;
    }
    RECT r = {0, 0, 40, 20};
    EXPECT_EQ(cf.DrawText(nullptr, "x", -1, &r, 0), 0);
    EXPECT_EQ(cf.DrawText(&sys, nullptr, -1, &r, 0), 0);
  }
}

TEST(CachedFont, GlyphPathClipsAndAlignsLikeTheRectangleSays)
{
  TestFont cf(0);
  cf.SetTextColor(0xFFFFFFFF);
  LICE_MemBitmap left(80, 30), right(80, 30), clipped(80, 30);
  for (LICE_MemBitmap* b : {&left, &right, &clipped}) Fill(b, kBlack);
  RECT m = {0, 0, 0, 0};
  cf.DrawText(nullptr, "Hi", -1, &m, DT_CALCRECT);
  RECT r = {0, 0, 70, 30};
  cf.DrawText(&left, "Hi", -1, &r, 0);
  cf.DrawText(&right, "Hi", -1, &r, DT_RIGHT);
  const int dx = 70 - m.right;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x + dx < 80; ++x)
      ASSERT_EQ(LICE_GetPixel(&left, x, y), LICE_GetPixel(&right, x + dx, y));
  RECT small = {0, 0, 3, 30};
  cf.DrawText(&clipped, "Hi", -1, &small, 0);
  for (int y = 0; y < 30; ++y)
    for (int x = 3; x < 80; ++x) ASSERT_EQ(LICE_GetPixel(&clipped, x, y), kBlack);
}

TEST(CachedFont, MonochromeMasksStoreTheWholeTextPixelAtFullOpacity)
{
  TestFont cf(LICE_FONT_FLAG_FX_MONO);
  cf.SetTextColor(LICE_RGBA(10, 20, 30, 77));
  LICE_MemBitmap bm(60, 30);
  Fill(&bm, kBlack);
  RECT r = {0, 0, 60, 30};
  cf.DrawText(&bm, "ovo", -1, &r, 0);
  int on = 0;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 60; ++x)
    {
      const LICE_pixel p = LICE_GetPixel(&bm, x, y);
      EXPECT_TRUE(p == kBlack || p == LICE_RGBA(10, 20, 30, 77));
      on += p != kBlack;
    }
  EXPECT_GT(on, 10);
}

TEST(CachedFont, EffectFontsGivePartialCoverageTheEffectColour)
{
  TestFont cf(LICE_FONT_FLAG_FX_OUTLINE);
  cf.SetTextColor(LICE_RGBA(255, 0, 0, 255));
  cf.SetEffectColor(LICE_RGBA(0, 0, 255, 255));
  LICE_MemBitmap bm(60, 30);
  Fill(&bm, kBlack);
  RECT r = {0, 0, 60, 30};
  cf.DrawText(&bm, "ovo", -1, &r, 0);
  bool red = false, blue = false;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 60; ++x)
    {
      const LICE_pixel p = LICE_GetPixel(&bm, x, y);
      EXPECT_TRUE(LICE_GETR(p) == 0 || LICE_GETB(p) == 0);
      red |= p == 0xFFFF0000u;
      blue |= LICE_GETB(p) > 0;
    }
  EXPECT_TRUE(red && blue);
}

TEST(CachedFont, PrecalcFontsRenderLowCharactersOnlyAndOthersHaveNoGlyph)
{
  TestFont cf(LICE_FONT_FLAG_PRECALCALL);
  RECT r = {0, 0, 0, 0};
  EXPECT_EQ(cf.DrawText(nullptr, "\xC3\xA9", -1, &r, DT_CALCRECT), 0);
  TestFont open(0);
  r = {0, 0, 0, 0};
  EXPECT_GT(open.DrawText(nullptr, "\xC3\xA9", -1, &r, DT_CALCRECT), 0);
  RECT latin1 = {0, 0, 0, 0};
  open.DrawText(nullptr, "\xE9", -1, &latin1, DT_CALCRECT);
  EXPECT_EQ(latin1.right, r.right);
}

TEST(CachedFont, InvertedMasksCoverTheWholeGlyphBox)
{
  TestFont cf(LICE_FONT_FLAG_FX_INVERT | LICE_FONT_FLAG_FX_BLUR);
  const auto* e = cf.FindGlyph('o');
  ASSERT_TRUE(e);
  int zeros = 0;
  for (int i = 0; i < e->mWidth * e->mHeight; ++i) zeros += cf.Mask(e)[i] == 0;
  EXPECT_LT(zeros, e->mWidth * e->mHeight / 4);
}

TEST(CachedFont, TheLastFontTakesTheSharedBitmapsWithIt)
{
  {
    TestFont a(0), b(0);
    RECT r = {0, 0, 0, 0};
    a.DrawText(nullptr, "x", -1, &r, DT_CALCRECT);
    EXPECT_NE(gLiceTextRenderBm, nullptr);
  }
  EXPECT_EQ(gLiceTextLiveFonts, 0);
  EXPECT_EQ(gLiceTextRenderBm, nullptr);
  EXPECT_EQ(gLiceTextNativeBm, nullptr);
}
