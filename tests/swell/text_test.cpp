#include "swell.h"
#include "swell-font.h"
#include "swell-internal.h"
#include "text_test_util.h"

#include <gtest/gtest.h>
#include <string>

namespace
{
constexpr uint32_t kFill = 0x11223344;

// A context of w x h filled with kFill, a 14-pixel font selected, white text.
struct Canvas : TestContext
{
  HFONT font;
  explicit Canvas(int width = 120, int height = 60, int quality = 0)
      : TestContext(width, height, kFill), font(MakeFont(14, quality))
  {
    SelectObject(dc, font);
    SetTextColor(dc, 0xFFFFFF);
  }
  ~Canvas() { DeleteObject(font); }
  int draw(const char* s, RECT r, int format)
  {
    return SWELL_DrawText(dc, s, -1, &r, format);
  }
};

int LineHeight(HDC dc)
{
  return Measure(dc, "x").bottom - 1;
}
} // namespace

TEST(DrawTextMeasure, PrefixAmpersandIsDroppedUnlessNoPrefix)
{
  Canvas c;
  const int ab = Measure(c.dc, "ab").right;
  EXPECT_EQ(Measure(c.dc, "a&b").right, ab);
  EXPECT_GT(Measure(c.dc, "a&b", DT_NOPREFIX).right, ab);
  EXPECT_EQ(Measure(c.dc, "a&&b").right, Measure(c.dc, "a&b", DT_NOPREFIX).right);
}

TEST(DrawTextMeasure, CarriageReturnsVanishAndSingleLineTurnsLineFeedsIntoSpaces)
{
  Canvas c;
  const RECT ab = Measure(c.dc, "ab");
  EXPECT_EQ(Measure(c.dc, "a\r\rb").right, ab.right);
  const RECT spaced = Measure(c.dc, "a\nb", DT_SINGLELINE);
  EXPECT_EQ(spaced.right, Measure(c.dc, "a b").right);
  EXPECT_EQ(spaced.bottom, ab.bottom);
}

TEST(DrawTextMeasure, HeightIsTheRoundedLineSumPlusOneAndLinesAddUp)
{
  Canvas c;
  SWELL_FontFace* f = c.font->mFace;
  const int line = static_cast<int>(f->mAscent + f->mDescent + f->mLeading + 1.5f);
  EXPECT_EQ(Measure(c.dc, "Hg").bottom, line + 1);
  const RECT two = Measure(c.dc, "Hg\nlonger line");
  EXPECT_EQ(two.bottom, 2 * line + 1);
  EXPECT_EQ(two.right, Measure(c.dc, "longer line").right);
  EXPECT_EQ(Measure(c.dc, "a\n\nb").bottom, 3 * line + 1);
  EXPECT_EQ(Measure(c.dc, "a\n").bottom, line + 1);
}

TEST(DrawTextMeasure, MeasuringMovesOnlyRightAndBottomAndReturnsTheHeight)
{
  Canvas c;
  RECT r = {5, 7, 1000, 1000};
  const int h = SWELL_DrawText(c.dc, "Swap", -1, &r, DT_CALCRECT);
  EXPECT_EQ(r.left, 5);
  EXPECT_EQ(r.top, 7);
  EXPECT_EQ(r.bottom, 7 + h);
  EXPECT_EQ(r.right, 5 + Measure(c.dc, "Swap").right);
  EXPECT_EQ(ChangedBox(c, kFill).right, -1); // nothing drawn
}

TEST(DrawTextMeasure, BadInputMeasuresSafely)
{
  Canvas c;
  RECT r = {0, 0, 10, 10};
  EXPECT_EQ(SWELL_DrawText(nullptr, "a", -1, &r, 0), 0);
  EXPECT_EQ(SWELL_DrawText(c.dc, nullptr, -1, &r, 0), 0);
  EXPECT_EQ(SWELL_DrawText(c.dc, "a", -1, nullptr, 0), 0);
  EXPECT_EQ(SWELL_DrawText(c.dc, "", -1, &r, 0), 0);
  EXPECT_EQ(SWELL_DrawText(c.dc, "&", -1, &r, 0), 0);
  EXPECT_EQ(SWELL_DrawText(c.dc, "abc", 0, &r, 0), 0);
  // Explicit lengths stop at a NUL; the cut keeps 4095 bytes.
  EXPECT_EQ(Measure(c.dc, "ab\0cd", 0, 5).right, Measure(c.dc, "ab").right);
  EXPECT_EQ(Measure(c.dc, "abcd", 0, 2).right, Measure(c.dc, "ab").right);
  const std::string many(5000, 'i'), cut(4095, 'i');
  EXPECT_EQ(Measure(c.dc, many.c_str()).right, Measure(c.dc, cut.c_str()).right);
  // A cut through a two-byte character drops it rather than turning the
  // whole text into Latin-1.
  std::string e(4094, 'i');
  e += "\xC3\xA9";
  EXPECT_EQ(Measure(c.dc, e.c_str()).right, Measure(c.dc, std::string(4094, 'i').c_str()).right);
}

TEST(DrawTextMeasure, InvalidUtf8IsReadAsWindowsLatin1)
{
  Canvas c;
  EXPECT_EQ(Measure(c.dc, "caf\xE9").right, Measure(c.dc, "caf\xC3\xA9").right);
  EXPECT_EQ(Measure(c.dc, "\x80").right, Measure(c.dc, "\xE2\x82\xAC").right); // euro sign
}

TEST(DrawText, CharactersTheFontLacksDrawAsABox)
{
  Canvas c;
  const int h = c.draw("\xEE\x80\x80", RECT{0, 0, 120, 60}, 0); // U+E000, private use
  EXPECT_GT(h, 0);
  EXPECT_GE(ChangedBox(c, kFill).right, 1);
}

TEST(DrawText, AlignmentMovesTheDrawnPixelsByTheWrittenOffsets)
{
  const char* s = "Mono";
  int w, h;
  RECT base;
  {
    Canvas c;
    const RECT m = Measure(c.dc, s);
    w = m.right;
    h = m.bottom;
    c.draw(s, RECT{10, 5, 110, 55}, 0);
    base = ChangedBox(c, kFill);
    ASSERT_GT(base.right, base.left);
    EXPECT_GE(base.top, 5);
    EXPECT_LE(base.bottom, 5 + h);
  }
  struct Case
  {
    int format, dx, dy;
  } cases[] = {
      {DT_RIGHT, 110 - w - 10, 0},
      {DT_CENTER, 10 + 100 / 2 - w / 2 - 10, 0},
      {DT_BOTTOM, 0, 55 - h - 5},
      {DT_VCENTER, 0, 5 + 50 / 2 - h / 2 - 5},
      {DT_CENTER | DT_VCENTER, 10 + 100 / 2 - w / 2 - 10, 5 + 50 / 2 - h / 2 - 5},
  };
  for (const Case& k : cases)
  {
    Canvas c;
    c.draw(s, RECT{10, 5, 110, 55}, k.format);
    const RECT b = ChangedBox(c, kFill);
    EXPECT_EQ(b.left, base.left + k.dx) << k.format;
    EXPECT_EQ(b.top, base.top + k.dy) << k.format;
    EXPECT_EQ(b.right - b.left, base.right - base.left) << k.format;
  }
}

TEST(DrawText, ClipsToTheRectangleUnlessNoClip)
{
  Canvas clipped, unclipped;
  const RECT r = {20, 10, 30, 16};
  clipped.draw("Wide text", r, 0);
  const RECT b = ChangedBox(clipped, kFill);
  EXPECT_GE(b.left, r.left);
  EXPECT_GE(b.top, r.top);
  EXPECT_LE(b.right, r.right);
  EXPECT_LE(b.bottom, r.bottom);
  EXPECT_GT(b.right, b.left);
  unclipped.draw("Wide text", r, DT_NOCLIP);
  EXPECT_GT(ChangedBox(unclipped, kFill).right, r.right);
  // Beyond the pixels, nothing is written (the sanitizers watch this).
  Canvas edge(20, 10);
  edge.draw("Wide text", RECT{-40, -8, 200, 200}, DT_NOCLIP);
  edge.draw("Wide text", RECT{2000000000, 0, 2100000000, 10}, DT_CENTER | DT_NOCLIP);
}

TEST(DrawText, OpaqueModeFillsTheTextBoxWithTheBackgroundColour)
{
  Canvas c;
  SetBkMode(c.dc, OPAQUE);
  SetBkColor(c.dc, 0x0000FF);
  const RECT m = Measure(c.dc, "ab");
  c.draw("ab", RECT{10, 10, 100, 50}, 0);
  EXPECT_EQ(c.at(10, 10), 0xFF0000FFu);
  EXPECT_EQ(c.at(10 + m.right - 1, 10 + m.bottom - 1), 0xFF0000FFu);
  EXPECT_EQ(c.at(10 + m.right, 10), kFill);
  EXPECT_EQ(c.at(10, 10 + m.bottom), kFill);
  EXPECT_EQ(c.at(9, 10), kFill);

  Canvas t;
  SetBkColor(t.dc, 0x0000FF);
  t.draw("ab", RECT{10, 10, 100, 50}, 0);
  EXPECT_EQ(t.at(10, 10), kFill);
}

TEST(DrawText, FullyCoveredPixelsCarryExactlyTheTextColour)
{
  Canvas c;
  SetTextColor(c.dc, 0x3366CC);
  c.draw("IHM", RECT{0, 0, 120, 60}, 0);
  int full = 0;
  for (int y = 0; y < c.h; ++y)
    for (int x = 0; x < c.w; ++x)
    {
      const uint32_t p = c.at(x, y);
      if ((p & 0xFFFFFF) != 0x3366CC) continue;
      ++full;
      EXPECT_EQ(p, 0xFF3366CCu);
    }
  EXPECT_GT(full, 10); // the stems of I, H and M cover whole pixels
}

TEST(DrawText, PartialCoverageMixesColourAndAlphaByCoverage)
{
  // On transparent black, white text at coverage c gives c in every byte.
  TestContext c(60, 30, 0);
  SetTextColor(c.dc, 0xFFFFFF);
  RECT r = {0, 0, 60, 30};
  SWELL_DrawText(c.dc, "ovo", -1, &r, 0);
  int partial = 0;
  for (int i = 0; i < 60 * 30; ++i)
  {
    const uint32_t p = c.px()[i];
    const uint32_t b = p & 0xFF;
    EXPECT_EQ(p, b * 0x01010101u);
    partial += b > 0 && b < 255;
  }
  EXPECT_GT(partial, 0);
}

TEST(DrawText, QualityThreeDrawsOnlyFullyOnOrOffPixels)
{
  Canvas c(120, 60, NONANTIALIASED_QUALITY);
  c.draw("Swap & Mono", RECT{0, 0, 120, 60}, DT_NOPREFIX);
  int on = 0;
  for (int i = 0; i < c.w * c.h; ++i)
  {
    const uint32_t p = c.px()[i];
    EXPECT_TRUE(p == kFill || p == 0xFFFFFFFFu) << std::hex << p;
    on += p != kFill;
  }
  EXPECT_GT(on, 20);
}

TEST(DrawText, GlyphsAreRenderedOncePerFont)
{
  Canvas c;
  c.draw("label", RECT{0, 0, 120, 60}, 0);
  const int after = c.font->mFace->mRasterCount;
  EXPECT_EQ(after, 4); // l, a, b, e
  for (int i = 0; i < 5; ++i) c.draw("label bell", RECT{0, 0, 120, 60}, 0);
  EXPECT_EQ(c.font->mFace->mRasterCount, after + 1); // only the space is new
}

TEST(DrawText, MultiLineTextDrawsEachLineBelowTheLast)
{
  Canvas c;
  const int step = LineHeight(c.dc);
  c.draw("I\nI", RECT{0, 0, 120, 60}, 0);
  const RECT both = ChangedBox(c, kFill);
  Canvas one;
  one.draw("I", RECT{0, 0, 120, 60}, 0);
  const RECT first = ChangedBox(one, kFill);
  EXPECT_EQ(both.top, first.top);
  EXPECT_NEAR(both.bottom - first.bottom, step, 1);
}
