#include "hosted_quorvane.h"
#include "test_plugs.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <memory>
#include <vector>

namespace
{
std::vector<unsigned char> Bytes(const ByteChunk& c)
{
  return std::vector<unsigned char>(c.GetBytes(), c.GetBytes() + c.Size());
}
std::unique_ptr<Quorvane> Make() { return MakeInitializedQuorvane(); }
} // namespace

TEST(ByteChunk, PrimitivesAreLittleEndianWithoutPadding)
{
  ByteChunk c;
  const int i = 0x01020304;
  const double d = 1.0;
  EXPECT_EQ(c.Put(&i), 4);
  EXPECT_EQ(c.PutBool(true), 5);
  EXPECT_EQ(c.Put(&d), 13);
  EXPECT_EQ(c.PutStr("ab"), 19);
  const std::vector<unsigned char> want = {0x04, 0x03, 0x02, 0x01, 0x01, 0, 0, 0, 0, 0, 0, 0xF0,
                                           0x3F, 0x02, 0, 0, 0, 'a', 'b'};
  EXPECT_EQ(Bytes(c), want);
}

TEST(ByteChunk, ReadersChainOnFailureAndLeaveDestinationsAlone)
{
  ByteChunk c;
  const int i = 7;
  c.Put(&i);
  int a = 0, b = 99;
  int pos = c.Get(&a, 0);
  EXPECT_EQ(pos, 4);
  EXPECT_EQ(a, 7);
  pos = c.Get(&b, pos);
  EXPECT_EQ(pos, -1);
  EXPECT_EQ(b, 99);
  EXPECT_EQ(c.Get(&b, -1), -1);
  bool flag = true;
  EXPECT_EQ(c.GetBool(&flag, 4), -1);
  EXPECT_EQ(c.GetBool(&flag, -1), -1);
  EXPECT_EQ(c.GetBytes(&a, 4, 1), -1); // would end past the size
}

TEST(ByteChunk, GetStrRules)
{
  ByteChunk c;
  c.PutStr("");
  WDL_String s("keep");
  EXPECT_EQ(c.GetStr(&s, 0), 4); // stored length 0: "" and start + 4
  EXPECT_STREQ(s.Get(), "");

  ByteChunk cut;
  const int len = 10;
  cut.Put(&len);
  cut.PutBytes("abc", 3);
  s.Set("keep");
  EXPECT_EQ(cut.GetStr(&s, 0), 14); // past the end: the next read fails
  EXPECT_STREQ(s.Get(), "keep");
  bool b;
  EXPECT_EQ(cut.GetBool(&b, 14), -1);

  ByteChunk negative;
  const int neg = -8;
  negative.Put(&neg);
  EXPECT_EQ(negative.GetStr(&s, 0), -1); // would move backwards
}

TEST(ByteChunk, ResizeZeroFillsAndReturnsOldSize)
{
  ByteChunk c;
  c.PutBool(true);
  EXPECT_EQ(c.Resize(3), 1);
  EXPECT_EQ(Bytes(c), (std::vector<unsigned char>{1, 0, 0}));
  c.Clear();
  EXPECT_EQ(c.Size(), 0);
}

TEST(ParamState, QuorvaneStateWithSwapOnIsSixteenExactBytes)
{
  auto plug = Make();
  HostSet(*plug, Quorvane::kSwap, 1.0);
  ByteChunk c;
  EXPECT_TRUE(plug->SerializeState(&c));
  const std::vector<unsigned char> want = {0, 0, 0, 0, 0, 0, 0xF0, 0x3F, 0, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(Bytes(c), want);
}

TEST(ParamState, RestoreSetsValuesAndCallsOnParamChangeInOrder)
{
  TestPlug plug(2, "2-2");
  plug.GetParam(0)->InitBool("a", false);
  plug.GetParam(1)->InitDouble("b", 0.0, -1.0, 1.0, 0.01);
  ByteChunk c;
  const double v0 = 7.0, v1 = -0.25;
  c.Put(&v0);
  c.Put(&v1);
  EXPECT_EQ(plug.UnserializeState(&c, 0), 16);
  EXPECT_EQ(plug.GetParam(0)->Value(), 1.0); // clamped, not snapped
  EXPECT_EQ(plug.GetParam(1)->Value(), -0.25);
  EXPECT_EQ(plug.changes, (std::vector<int>{0, 1}));
  EXPECT_EQ(plug.MutexDepth(), 0);
}

TEST(ParamState, ShortStateZeroesTheRestAndReturnsMinusOne)
{
  TestPlug plug(2, "2-2");
  plug.GetParam(0)->InitDouble("a", 0.0, 0.0, 10.0, 1.0);
  plug.GetParam(1)->InitDouble("b", 5.0, 2.0, 10.0, 1.0);
  ByteChunk c;
  const double v0 = 3.0;
  c.Put(&v0);
  EXPECT_EQ(plug.UnserializeState(&c, 0), -1);
  EXPECT_EQ(plug.GetParam(0)->Value(), 3.0);
  EXPECT_EQ(plug.GetParam(1)->Value(), 2.0); // 0.0 clamped into [2, 10]
  EXPECT_EQ(plug.changes, (std::vector<int>{0, 1}));
}

TEST(ParamState, RestoredFractionTurnsQuorvaneSwitchOn)
{
  auto plug = Make();
  ByteChunk c;
  const double v0 = 0.3, v1 = 0.0;
  c.Put(&v0);
  c.Put(&v1);
  plug->UnserializeState(&c, 0);
  EXPECT_EQ(plug->GetParam(0)->Value(), 0.3);
  EXPECT_TRUE(plug->IsSwapOn());
  EXPECT_FALSE(plug->GetParam(0)->Bool());
}

TEST(ParamState, NotANumberInStoredStateLandsInRange)
{
  auto plug = Make();
  ByteChunk c;
  const double nan = std::numeric_limits<double>::quiet_NaN(), one = 1.0;
  c.Put(&nan);
  c.Put(&one);
  plug->UnserializeState(&c, 0);
  EXPECT_EQ(plug->GetParam(0)->Value(), 0.0);
  EXPECT_FALSE(plug->IsSwapOn());
  EXPECT_TRUE(plug->IsMonoOn());
}

TEST(ParamState, CompareStateToleratesFloatRounding)
{
  TestPlug plug(1, "1-1");
  plug.GetParam(0)->InitDouble("a", 0.5, 0.0, 1.0, 0.001);
  double stored[3] = {9.0, 0.5 + 0.000001, 0.0};
  EXPECT_TRUE(plug.CompareState(reinterpret_cast<unsigned char*>(stored), 1));
  EXPECT_FALSE(plug.CompareState(reinterpret_cast<unsigned char*>(stored), 0));
  stored[1] = 0.501;
  EXPECT_FALSE(plug.CompareState(reinterpret_cast<unsigned char*>(stored), 1));
  TestPlug none(0, "1-1");
  EXPECT_TRUE(none.CompareState(nullptr, 0));
}
