// Display delegates: texts limited and unlimited, and parsing, worked out by hand.
#include "AAX_CBinaryDisplayDelegate.h"
#include "AAX_CNumberDisplayDelegate.h"
#include "AAX_CStringDisplayDelegate.h"
#include "AAX_CUnitDisplayDelegateDecorator.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>

namespace
{
template <typename T> std::string Text(const AAX_IDisplayDelegate<T>& d, T v)
{
  AAX_CString s;
  d.ValueToString(v, &s);
  return s.StdString();
}
template <typename T> std::string Text(const AAX_IDisplayDelegate<T>& d, T v, int32_t limit)
{
  AAX_CString s("previous");
  d.ValueToString(v, limit, &s);
  return s.StdString();
}
} // namespace

TEST(NumberDisplay, CutsToTheLimitAndDropsATrailingPoint)
{
  AAX_CNumberDisplayDelegate<double, 2, 0> d;
  EXPECT_EQ(Text<double>(d, 1234.567), "1234.57");
  EXPECT_EQ(Text<double>(d, 1234.567, 5), "1234");
  EXPECT_EQ(Text<double>(d, 1234.567, 6), "1234.5");
  EXPECT_EQ(Text<double>(d, 1234.567, 7), "1234.57");
  EXPECT_EQ(Text<double>(d, 1234.567, 100), "1234.57");
  EXPECT_EQ(Text<double>(d, 1234.567, 0), "");
  EXPECT_EQ(Text<double>(d, 1234.567, -3), "");
  EXPECT_EQ(Text<double>(d, -0.5), "-0.50");
  AAX_CNumberDisplayDelegate<int, 2, 0> i;
  EXPECT_EQ(Text<int>(i, 3), "3.00");
  EXPECT_EQ(Text<int>(i, -12, 3), "-12");
}

TEST(NumberDisplay, ParsesTheLeadingNumberAndTruncatesForIntegers)
{
  AAX_CNumberDisplayDelegate<double, 2, 0> d;
  AAX_CNumberDisplayDelegate<int, 2, 0> i;
  double dv = 7;
  EXPECT_TRUE(d.StringToValue(AAX_CString("12.5abc"), &dv));
  EXPECT_EQ(dv, 12.5);
  EXPECT_FALSE(d.StringToValue(AAX_CString("abc"), &dv));
  EXPECT_EQ(dv, 0.0);
  int iv = 7;
  EXPECT_TRUE(i.StringToValue(AAX_CString("3.9"), &iv));
  EXPECT_EQ(iv, 3);
  EXPECT_TRUE(i.StringToValue(AAX_CString("-3.9"), &iv));
  EXPECT_EQ(iv, -3);
  EXPECT_TRUE(i.StringToValue(AAX_CString("1e30"), &iv)); // saturates, no overflow
  EXPECT_EQ(iv, std::numeric_limits<int>::max());
}

TEST(UnitDecorator, AppendsTheUnitOnlyWhenItFitsWhole)
{
  AAX_CUnitDisplayDelegateDecorator<double> d(AAX_CNumberDisplayDelegate<double, 2, 0>(),
                                              AAX_CString(" dB"));
  EXPECT_EQ(Text<double>(d, 0.5), "0.50 dB");
  EXPECT_EQ(Text<double>(d, 0.5, 6), "0.50"); // 6 - 4 < 3
  EXPECT_EQ(Text<double>(d, 0.5, 7), "0.50 dB");
  EXPECT_EQ(Text<double>(d, 0.5, 4), "0.50"); // no room at all
}

TEST(UnitDecorator, ParsesWithoutTheUnitOnlyWhenTheTextEndsWithIt)
{
  AAX_CUnitDisplayDelegateDecorator<double> d(AAX_CNumberDisplayDelegate<double, 2, 0>(),
                                              AAX_CString(" dB"));
  double v = 0;
  EXPECT_TRUE(d.StringToValue(AAX_CString("3.00 dB"), &v));
  EXPECT_EQ(v, 3.0);
  EXPECT_TRUE(d.StringToValue(AAX_CString("4.5"), &v)); // passed whole
  EXPECT_EQ(v, 4.5);
  EXPECT_FALSE(d.StringToValue(AAX_CString(" dB"), &v)); // the unit alone goes whole
  EXPECT_EQ(v, 0.0);
}

TEST(UnitDecorator, AppendsEvenWhenTheWrappedConversionFailsAndClonesDeeply)
{
  std::unique_ptr<AAX_IDisplayDelegate<int>> clone;
  {
    const AAX_CStringDisplayDelegate<int> names({{1, AAX_CString("One")}});
    const AAX_CUnitDisplayDelegateDecorator<int> d(names, AAX_CString("!"));
    clone.reset(d.Clone());
  } // the originals are gone; the clone owns its own wrapped delegate
  AAX_CString s;
  EXPECT_FALSE(clone->ValueToString(2, &s));
  EXPECT_EQ(s, "String Not Found!");
  EXPECT_TRUE(clone->ValueToString(1, &s));
  EXPECT_EQ(s, "One!");
}

TEST(BinaryDisplay, TheLongestLengthDecidesWhichTextIsShown)
{
  AAX_CBinaryDisplayDelegate<bool> d("Normal", "On");
  EXPECT_EQ(Text<bool>(d, true, 1), "On"); // no shortened pairs: full text
  d.AddShortenedStrings("N", "Y", 1);
  EXPECT_EQ(Text<bool>(d, false, 1), "N");
  EXPECT_EQ(Text<bool>(d, false, 0), "N"); // nothing fits: the shortest pair
  EXPECT_EQ(Text<bool>(d, false, -4), "N");
  EXPECT_EQ(Text<bool>(d, false, 6), "Normal");
  EXPECT_EQ(Text<bool>(d, true, 6), "On");
  EXPECT_EQ(Text<bool>(d, true, 2), "Y"); // 2 < 6, although "On" would fit
}

TEST(BinaryDisplay, ShortenedPairsAreKeptInLengthOrder)
{
  AAX_CBinaryDisplayDelegate<bool> d("Bypassed", "Active");
  d.AddShortenedStrings("Byp", "Act", 3);
  d.AddShortenedStrings("B", "A", 1);
  d.AddShortenedStrings("Bypss", "Activ", 5);
  EXPECT_EQ(Text<bool>(d, false, 2), "B");
  EXPECT_EQ(Text<bool>(d, false, 4), "Byp");
  EXPECT_EQ(Text<bool>(d, true, 7), "Activ");
  EXPECT_EQ(Text<bool>(d, true, 8), "Active");
}

TEST(BinaryDisplay, ParsingAnUnknownTextGivesFalseAndFails)
{
  AAX_CBinaryDisplayDelegate<bool> d("Off", "On");
  bool v = false;
  EXPECT_TRUE(d.StringToValue(AAX_CString("On"), &v));
  EXPECT_TRUE(v);
  EXPECT_FALSE(d.StringToValue(AAX_CString("on"), &v)); // case-sensitive
  EXPECT_FALSE(v);
  v = true;
  EXPECT_TRUE(d.StringToValue(AAX_CString("Off"), &v));
  EXPECT_FALSE(v);
}

TEST(StringDisplay, MapsBothWaysAndTheSmallerValueWinsASharedText)
{
  const AAX_CStringDisplayDelegate<int> d(
      {{3, AAX_CString("One")}, {1, AAX_CString("One")}, {2, AAX_CString("Two")}});
  EXPECT_EQ(Text<int>(d, 2), "Two");
  EXPECT_EQ(Text<int>(d, 3, 1), "One"); // no limit applied
  AAX_CString s;
  EXPECT_FALSE(d.ValueToString(5, &s));
  EXPECT_EQ(s, "String Not Found");
  int v = -1;
  EXPECT_TRUE(d.StringToValue(AAX_CString("One"), &v));
  EXPECT_EQ(v, 1);
  EXPECT_FALSE(d.StringToValue(AAX_CString("Four"), &v));
  EXPECT_EQ(v, 0);
}
