#include "IParam.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

TEST(IParamBool, InitBoolGivesSwitchWithOffOnTexts)
{
  IParam p;
  p.InitBool("Swap", false, "Swap", "");
  EXPECT_EQ(p.Type(), IParam::kTypeBool);
  EXPECT_EQ(p.Value(), 0.0);
  EXPECT_EQ(p.GetMin(), 0.0);
  EXPECT_EQ(p.GetMax(), 1.0);
  EXPECT_EQ(p.GetStep(), 1.0);
  EXPECT_EQ(p.GetShape(), 1.0);
  EXPECT_EQ(p.GetDisplayPrecision(), 0);
  ASSERT_EQ(p.GetNDisplayTexts(), 2);
  int v = -1;
  EXPECT_STREQ(p.GetDisplayTextAtIdx(1, &v), "on");
  EXPECT_EQ(v, 1);

  char buf[32];
  p.GetDisplayForHost(buf);
  EXPECT_STREQ(buf, "off");
  EXPECT_STREQ(p.GetLabelForHost(), ""); // a display text exists for 0
  p.Set(1.0);
  p.GetDisplayForHost(buf);
  EXPECT_STREQ(buf, "on");
  p.GetDisplayForHostNoDisplayText(buf);
  EXPECT_STREQ(buf, "1");
}

TEST(IParamBool, SetNormalizedRoundsHalfUpToTheStep)
{
  IParam p;
  p.InitBool("b", false);
  p.SetNormalized(0.49);
  EXPECT_EQ(p.Value(), 0.0);
  EXPECT_FALSE(p.Bool());
  p.SetNormalized(0.5); // floor(0.5 + 0.5) = 1
  EXPECT_EQ(p.Value(), 1.0);
  EXPECT_TRUE(p.Bool());
}

TEST(IParamBool, BoolThresholdIsHalf)
{
  IParam p;
  p.InitDouble("d", 0.0, 0.0, 1.0, 0.01);
  p.Set(0.5);
  EXPECT_TRUE(p.Bool());
  p.Set(0.49);
  EXPECT_FALSE(p.Bool());
}

TEST(IParamInt, SnapsToStepAndClampsFromAbove)
{
  IParam p;
  p.InitInt("n", 0, 0, 10);
  EXPECT_EQ(p.Type(), IParam::kTypeInt);
  p.SetNormalized(0.26); // 2.6 -> 3
  EXPECT_EQ(p.Value(), 3.0);
  p.SetNormalized(1.0);
  EXPECT_EQ(p.Value(), 10.0);
  // The argument is not clamped: above 1 clamps only through the maximum.
  p.SetNormalized(1.5);
  EXPECT_EQ(p.Value(), 10.0);
}

TEST(IParamInt, SnapCountsFromZeroNotFromMinimumAndKindIsFixedByFirstInit)
{
  IParam p;
  p.InitInt("n", 0, 0, 1);
  p.InitDouble("d", 0.0, 0.5, 2.5, 1.0); // kind stays int
  EXPECT_EQ(p.Type(), IParam::kTypeInt);
  p.SetNormalized(0.5); // 1.5 -> floor(2.0) = 2, not 1.5 or 2.5
  EXPECT_EQ(p.Value(), 2.0);
  p.SetNormalized(0.0); // 0.5 -> floor(1.0) = 1: no lower clamp needed here
  EXPECT_EQ(p.Value(), 1.0);
}

TEST(IParamEnum, RangeIsZeroToCountMinusOne)
{
  IParam p;
  p.InitEnum("e", 1, 4);
  EXPECT_EQ(p.Type(), IParam::kTypeEnum);
  EXPECT_EQ(p.GetMin(), 0.0);
  EXPECT_EQ(p.GetMax(), 3.0);
  EXPECT_EQ(p.Value(), 1.0);
}

TEST(IParamDouble, MaximumIsAtLeastMinimumPlusStepAndDefaultIsNotClamped)
{
  IParam p;
  p.InitDouble("d", 5.0, 0.0, 0.5, 1.0, "", "", 1.0);
  EXPECT_EQ(p.GetMax(), 1.0);
  EXPECT_EQ(p.Value(), 5.0);
  EXPECT_EQ(p.GetDefault(), 5.0);
}

TEST(IParamDouble, PrecisionFollowsStepAndPrintingTruncatesTowardZero)
{
  IParam p;
  p.InitDouble("d", 1.5, 0.0, 10.0, 0.01);
  EXPECT_EQ(p.GetDisplayPrecision(), 2);
  char buf[64];
  p.GetDisplayForHost(buf);
  EXPECT_STREQ(buf, "1.50");

  IParam q;
  q.InitDouble("q", 0.0, -10.0, 10.0, 1.0);
  q.Set(2.7);
  q.GetDisplayForHost(buf);
  EXPECT_STREQ(buf, "2");
  q.Set(-2.7);
  q.GetDisplayForHost(buf);
  EXPECT_STREQ(buf, "-2");

  IParam r;
  r.InitDouble("r", 0.0, 0.0, 1.0, 0.1);
  EXPECT_EQ(r.GetDisplayPrecision(), 1);
  IParam tiny;
  tiny.InitDouble("t", 0.0, 0.0, 1.0, 1e-9);
  EXPECT_EQ(tiny.GetDisplayPrecision(), 6); // capped
}

TEST(IParamDouble, NormalisedDisplayMapsWithoutSnapping)
{
  IParam p;
  p.InitDouble("d", 0.0, 0.0, 100.0, 0.1, "", "", 2.0);
  char buf[64];
  p.GetDisplayForHost(0.5, true, buf); // 0.25 * 100 = 25
  EXPECT_STREQ(buf, "25.0");
}

TEST(IParamShape, ShapeIsTheExponentBothWays)
{
  IParam p;
  p.InitDouble("d", 0.0, 0.0, 100.0, 1.0, "", "", 2.0);
  EXPECT_DOUBLE_EQ(p.GetNormalized(25.0), 0.5); // sqrt(0.25)
  p.SetNormalized(0.5);                          // double kind: no snap
  EXPECT_DOUBLE_EQ(p.Value(), 25.0);
  EXPECT_DOUBLE_EQ(p.GetNonNormalized(0.1), 1.0); // 0.01 * 100
  p.SetShape(0.0);                                // ignored
  EXPECT_EQ(p.GetShape(), 2.0);
}

TEST(IParamShape, GetNormalizedClampsFirst)
{
  IParam p;
  p.InitDouble("d", 0.0, 0.0, 1.0, 0.01);
  EXPECT_EQ(p.GetNormalized(1.7), 1.0);
  EXPECT_EQ(p.GetNormalized(-3.0), 0.0);
}

TEST(IParamSet, ClampsButDoesNotSnap)
{
  IParam p;
  p.InitBool("b", false);
  p.Set(7.0);
  EXPECT_EQ(p.Value(), 1.0);
  p.Set(0.3);
  EXPECT_EQ(p.Value(), 0.3);
  EXPECT_FALSE(p.Bool());
  p.Set(-1.0);
  EXPECT_EQ(p.Value(), 0.0);
}

TEST(IParamTexts, MapDisplayTextIsCaseSensitiveAndFirstMatchWins)
{
  IParam p;
  p.InitBool("b", false);
  int v = 42;
  EXPECT_FALSE(p.MapDisplayText("On", &v));
  EXPECT_EQ(v, 42);
  EXPECT_TRUE(p.MapDisplayText("on", &v));
  EXPECT_EQ(v, 1);

  p.InitBool("b", false); // appends a second pair
  EXPECT_EQ(p.GetNDisplayTexts(), 4);
  p.SetDisplayText(1, "ON");
  EXPECT_STREQ(p.GetDisplayText(1), "on");
  EXPECT_STREQ(p.GetDisplayText(5), "");
  EXPECT_STREQ(p.GetDisplayTextAtIdx(99), "");
}

TEST(IParamTexts, LabelShownOnlyWithoutDisplayText)
{
  IParam p;
  p.InitInt("n", 0, 0, 3, "dB", "grp");
  p.SetDisplayText(2, "two");
  EXPECT_STREQ(p.GetLabelForHost(), "dB");
  p.Set(2.0);
  EXPECT_STREQ(p.GetLabelForHost(), "");
  EXPECT_STREQ(p.GetParamGroupForHost(), "grp");
  EXPECT_STREQ(p.GetNameForHost(), "n");
}

TEST(IParamTexts, LongNamesKeepATerminatedPrefix)
{
  IParam p;
  const char* longName = "A parameter name much longer than thirty-one characters";
  p.InitBool(longName, false, longName, longName);
  EXPECT_EQ(std::strlen(p.GetNameForHost()), 31u);
  EXPECT_EQ(std::strncmp(p.GetNameForHost(), longName, 31), 0);
  EXPECT_EQ(std::strlen(p.GetParamGroupForHost()), 31u);
  p.SetDisplayText(3, longName);
  EXPECT_EQ(std::strlen(p.GetDisplayText(3)), 31u);
}

TEST(IParamFree, MappingsAndDecibels)
{
  EXPECT_DOUBLE_EQ(FromNormalizedParam(0.5, -10.0, 10.0, 1.0), 0.0);
  EXPECT_DOUBLE_EQ(ToNormalizedParam(0.0, -10.0, 10.0, 1.0), 0.5);
  EXPECT_DOUBLE_EQ(FromNormalizedParam(0.5, 0.0, 8.0, 3.0), 1.0);
  // The truncated constant, not ln(10)/20: exp(-0.6907755278982)
  EXPECT_EQ(DBToAmp(-6.0), std::exp(-6.0 * 0.1151292546497));
  EXPECT_NEAR(DBToAmp(-6.0), 0.501187, 1e-6);
  IParam p;
  p.InitDouble("g", -6.0, -60.0, 0.0, 0.1);
  EXPECT_EQ(p.DBToAmp(), DBToAmp(-6.0));
}
