#include "swell.h"
#include "swell-font.h"
#include "swell-internal.h"
#include "text_test_util.h"

#include <gtest/gtest.h>
#include <thread>
#include <vector>

namespace
{
TEXTMETRIC Metrics(HFONT f)
{
  TestContext c(4, 4);
  SelectObject(c.dc, f);
  TEXTMETRIC tm = {};
  EXPECT_EQ(GetTextMetrics(c.dc, &tm), 1);
  return tm;
}

bool SameMetrics(const TEXTMETRIC& a, const TEXTMETRIC& b)
{
  return a.tmHeight == b.tmHeight && a.tmAscent == b.tmAscent && a.tmDescent == b.tmDescent &&
         a.tmInternalLeading == b.tmInternalLeading && a.tmAveCharWidth == b.tmAveCharWidth;
}
} // namespace

TEST(CreateFont, SizeComesFromHeightOrWidthAndOutOfRangeSizesBecomeTen)
{
  HFONT f12 = MakeFont(12), f10 = MakeFont(10), f40 = MakeFont(40);
  ASSERT_TRUE(f12 && f10 && f40);
  EXPECT_FLOAT_EQ(f12->mSize, 12.0f);
  const TEXTMETRIC m12 = Metrics(f12), m10 = Metrics(f10), m40 = Metrics(f40);
  EXPECT_GT(m40.tmHeight, m12.tmHeight);
  EXPECT_GT(m12.tmHeight, m10.tmHeight);

  HFONT byWidth = MakeFont(0, 0, "", -12), negative = MakeFont(-12);
  EXPECT_TRUE(SameMetrics(Metrics(byWidth), m12));
  EXPECT_TRUE(SameMetrics(Metrics(negative), m12));
  for (int h : {0, 1, -1, 10000, 100000, 8193})
  {
    HFONT f = MakeFont(h);
    ASSERT_NE(f, nullptr) << h;
    EXPECT_FLOAT_EQ(f->mSize, 10.0f) << h;
    EXPECT_TRUE(SameMetrics(Metrics(f), m10)) << h;
    DeleteObject(f);
  }
  HFONT f2 = MakeFont(2), f8192 = MakeFont(-8192);
  EXPECT_FLOAT_EQ(f2->mSize, 2.0f);
  EXPECT_FLOAT_EQ(f8192->mSize, 8192.0f);
  for (HFONT f : {f12, f10, f40, byWidth, negative, f2, f8192}) DeleteObject(f);
}

TEST(CreateFont, QualityOtherThanZeroThreeOrFourIsStoredAsZero)
{
  for (int q : {0, 1, 2, 3, 4, 5, -1})
  {
    HFONT f = MakeFont(12, q);
    EXPECT_EQ(f->mQuality, q == 3 || q == 4 ? q : 0) << q;
    EXPECT_EQ(f->mFace->mMono, q == 3);
    DeleteObject(f);
  }
}

TEST(CreateFont, NamesTheSystemLacksStillGiveAFontThatDraws)
{
  for (const char* name : {"Monaco", "No Such Font Family", "sans:weight=200", "\xE9t\xE9", ""})
  {
    HFONT f = CreateFont(12, 0, 0, 0, FW_BOLD, 1, 0, 0, 0, 0, 0, 0, 0, name);
    ASSERT_NE(f, nullptr) << name;
    TestContext c(60, 20);
    SelectObject(c.dc, f);
    EXPECT_GT(Measure(c.dc, "Hi").right, 0) << name;
    DeleteObject(f);
  }
  std::string longName(5000, 'x');
  HFONT f = MakeFont(12, 0, longName.c_str());
  EXPECT_NE(f, nullptr);
  DeleteObject(f);
}

TEST(CreateFont, BoldRequestsResolveToABolderFace)
{
  std::string plain, bold;
  int i1 = 0, i2 = 0;
  ASSERT_TRUE(SWELL_ResolveFontName("DejaVu Sans", &plain, &i1));
  ASSERT_TRUE(SWELL_ResolveFontName("DejaVu Sans Bold", &bold, &i2));
  EXPECT_NE(plain, bold);
}

TEST(GetTextMetrics, NullContextLeavesTheDefaultsAndReturnsZero)
{
  TEXTMETRIC tm;
  EXPECT_EQ(GetTextMetrics(nullptr, &tm), 0);
  EXPECT_EQ(tm.tmHeight, 16);
  EXPECT_EQ(tm.tmAscent, 12);
  EXPECT_EQ(tm.tmDescent, 4);
  EXPECT_EQ(tm.tmInternalLeading, 3);
  EXPECT_EQ(tm.tmAveCharWidth, 10);
}

TEST(GetTextMetrics, HeightIsTheSumPlusOneAndWidthTwoThirdsOfTheSum)
{
  for (int size : {10, 13, 37})
  {
    HFONT f = MakeFont(size);
    const TEXTMETRIC tm = Metrics(f);
    const int sum = tm.tmAscent + tm.tmDescent + tm.tmInternalLeading;
    EXPECT_EQ(tm.tmAscent, static_cast<int>(f->mFace->mAscent));
    EXPECT_EQ(tm.tmDescent, static_cast<int>(f->mFace->mDescent));
    EXPECT_EQ(tm.tmHeight, sum + 1);
    EXPECT_EQ(tm.tmAveCharWidth, sum * 2 / 3);
    DeleteObject(f);
  }
}

TEST(GetTextMetrics, WithoutAFontTheDefaultSansAtTenPointsIsUsed)
{
  HFONT f = MakeFont(10, 0, "sans-serif");
  TestContext c(4, 4);
  TEXTMETRIC none;
  GetTextMetrics(c.dc, &none);
  EXPECT_TRUE(SameMetrics(none, Metrics(f)));
  DeleteObject(f);
}

TEST(SelectObject, ReturnsThePreviousObjectOfTheSameKind)
{
  TestContext c(4, 4);
  HFONT a = MakeFont(10), b = MakeFont(20);
  EXPECT_EQ(SelectObject(c.dc, a), nullptr);
  EXPECT_EQ(SelectObject(c.dc, b), a);
  EXPECT_EQ(SelectObject(c.dc, a), b);
  EXPECT_EQ(SelectObject(nullptr, a), nullptr);
  EXPECT_EQ(SelectObject(c.dc, nullptr), nullptr);
  SWELL_ClearFont(c.dc);
  EXPECT_EQ(SelectObject(c.dc, b), nullptr);
  DeleteObject(a);
  DeleteObject(b);
  DeleteObject(nullptr);
}

TEST(TextColor, NullContextGivesMinusOneAndColoursKeepTheirLowBytes)
{
  EXPECT_EQ(GetTextColor(nullptr), -1);
  SetTextColor(nullptr, 5);
  SetBkColor(nullptr, 5);
  SetBkMode(nullptr, 1);
  TestContext c(4, 4);
  EXPECT_EQ(GetTextColor(c.dc), 0);
  SetTextColor(c.dc, static_cast<int>(0xFF123456u));
  EXPECT_EQ(GetTextColor(c.dc), 0x123456);
}

TEST(Fonts, ManyCanBeCreatedAndDeleted)
{
  for (int i = 0; i < 1000; ++i)
  {
    HFONT f = MakeFont(8 + i % 20, i % 5, i % 2 ? "DejaVu Sans" : "Monaco");
    ASSERT_NE(f, nullptr);
    DeleteObject(f);
  }
}

TEST(Fonts, TwoThreadsCreateFontsAndMeasureAtOnce)
{
  auto work = [](int seed, int* out) {
    int total = 0;
    TestContext c(64, 32);
    for (int i = 0; i < 40; ++i)
    {
      HFONT f = MakeFont(9 + (seed + i) % 7, 0, i % 3 ? "Monaco" : "DejaVu Serif");
      SelectObject(c.dc, f);
      total += Measure(c.dc, "Swap Mono").right;
      RECT r = {0, 0, 64, 32};
      total += SWELL_DrawText(c.dc, "Ag", -1, &r, 0);
      SWELL_ClearFont(c.dc);
      DeleteObject(f);
      r = {0, 0, 64, 32};
      total += SWELL_DrawText(c.dc, "default", -1, &r, 0); // the shared default font
    }
    *out = total;
  };
  int a = 0, b = 0;
  std::thread t1(work, 0, &a), t2(work, 3, &b);
  t1.join();
  t2.join();
  EXPECT_GT(a, 0);
  EXPECT_GT(b, 0);
}
