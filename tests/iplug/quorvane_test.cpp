#include "hosted_quorvane.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{
struct Frame
{
  double l, r;
};

// One frame through the plug-in's double-precision hook.
Frame Process(Quorvane& plug, double l, double r)
{
  double inL[1] = {l}, inR[1] = {r}, outL[1] = {-9}, outR[1] = {-9};
  double* ins[] = {inL, inR};
  double* outs[] = {outL, outR};
  plug.ProcessDoubleReplacing(ins, outs, 1);
  return {outL[0], outR[0]};
}

std::unique_ptr<Quorvane> Make() { return MakeInitializedQuorvane(); }
} // namespace

TEST(Quorvane, IdentityAndWrapperSetUp)
{
  auto plug = Make();
  EXPECT_STREQ(plug->GetEffectName(), "Quorvane");
  EXPECT_STREQ(plug->GetProductName(), "");
  EXPECT_STREQ(plug->GetMfrName(), "Orvantine");
  EXPECT_EQ(plug->GetUniqueID(), 0x6C6E3070);
  EXPECT_EQ(plug->GetMfrID(), 0x4F76746E); // 'O' 'v' 't' 'n'
  EXPECT_EQ(plug->GetEffectVersion(true), 10000);
  EXPECT_EQ(plug->GetAPI(), kAPIAAX);
  EXPECT_FALSE(plug->DoesMIDI());
  EXPECT_FALSE(plug->DoesStateChunks());
  EXPECT_EQ(plug->NPresets(), 1);
  EXPECT_EQ(plug->GetLatency(), 0);
  // The wrapper's steps: channels connected, block size, host.
  EXPECT_TRUE(plug->IsInChannelConnected(1));
  EXPECT_TRUE(plug->IsOutChannelConnected(1));
  EXPECT_EQ(plug->GetBlockSize(), 1024);
  EXPECT_EQ(plug->GetHost(), kHostProTools);
  EXPECT_EQ(plug->GetHostVersion(false), 0x10000);
}

TEST(Quorvane, ParametersAreTwoOffSwitches)
{
  auto plug = Make();
  ASSERT_EQ(plug->NParams(), 2);
  const char* names[] = {"Swap", "Mono"};
  for (int i = 0; i < 2; ++i)
  {
    IParam* p = plug->GetParam(i);
    EXPECT_EQ(p->Type(), IParam::kTypeBool);
    EXPECT_STREQ(p->GetNameForHost(), names[i]);
    EXPECT_STREQ(p->GetLabelForHost(), "");
    EXPECT_STREQ(p->GetParamGroupForHost(), "");
    EXPECT_EQ(p->Value(), 0.0);
    char buf[32];
    p->GetDisplayForHost(buf);
    EXPECT_STREQ(buf, "off");
  }
  EXPECT_FALSE(plug->IsSwapOn());
  EXPECT_FALSE(plug->IsMonoOn());
}

TEST(Quorvane, SwapMonoAndBothInSinglePrecision)
{
  auto plug = Make();
  Frame f = Process(*plug, 0.25, -0.5);
  EXPECT_EQ(f.l, 0.25);
  EXPECT_EQ(f.r, -0.5);

  HostSet(*plug, Quorvane::kSwap, 1.0);
  f = Process(*plug, 0.25, -0.5);
  EXPECT_EQ(f.l, -0.5);
  EXPECT_EQ(f.r, 0.25);

  HostSet(*plug, Quorvane::kMono, 1.0); // swap and mono
  f = Process(*plug, 0.25, -0.5);
  EXPECT_EQ(f.l, -0.125);
  EXPECT_EQ(f.r, -0.125);

  HostSet(*plug, Quorvane::kSwap, 0.0); // mono alone
  f = Process(*plug, 0.25, -0.5);
  EXPECT_EQ(f.l, -0.125);
  EXPECT_EQ(f.r, -0.125);
}

TEST(Quorvane, PassThroughRoundsToSinglePrecision)
{
  auto plug = Make();
  const Frame f = Process(*plug, 0.1, 1.0 / 3.0);
  EXPECT_EQ(f.l, static_cast<double>(0.1f));
  EXPECT_NE(f.l, 0.1);
  EXPECT_EQ(f.r, static_cast<double>(static_cast<float>(1.0 / 3.0)));
}

TEST(Quorvane, MonoAveragesInSinglePrecision)
{
  // 1 + 2^-24 is not a float: both inputs round first, then the sum is
  // rounded to float: 0.5f * (float(1e-8) + 1.0f) == 0.5f.
  auto plug = Make();
  HostSet(*plug, Quorvane::kMono, 1.0);
  const Frame f = Process(*plug, 1.0, 1e-8);
  EXPECT_EQ(f.l, 0.5);
  EXPECT_EQ(f.r, 0.5);
  const Frame g = Process(*plug, 0.1, 0.2);
  EXPECT_EQ(g.l, static_cast<double>(0.5f * (0.2f + 0.1f)));
}

TEST(Quorvane, ProcessesInPlaceBuffers)
{
  auto plug = Make();
  HostSet(*plug, Quorvane::kSwap, 1.0);
  double l[3] = {1, 2, 3}, r[3] = {-1, -2, -3};
  double* bufs[] = {l, r};
  plug->ProcessDoubleReplacing(bufs, bufs, 3);
  EXPECT_EQ(l[2], -3.0);
  EXPECT_EQ(r[2], 3.0);
  EXPECT_EQ(l[0], -1.0);
}

TEST(Quorvane, ZeroFramesWritesNothing)
{
  auto plug = Make();
  double l[1] = {7}, r[1] = {8}, ol[1] = {42}, orr[1] = {43};
  double* ins[] = {l, r};
  double* outs[] = {ol, orr};
  plug->ProcessDoubleReplacing(ins, outs, 0);
  EXPECT_EQ(ol[0], 42.0);
  EXPECT_EQ(orr[0], 43.0);
}

TEST(Quorvane, FlagsCompareWithExactlyZeroNotTheBoolThreshold)
{
  auto plug = Make();
  // A restored state value between 0 and 1 is clamped, not snapped.
  plug->GetParam(Quorvane::kSwap)->Set(0.3);
  plug->OnParamChange(Quorvane::kSwap);
  EXPECT_TRUE(plug->IsSwapOn());
  EXPECT_FALSE(plug->GetParam(Quorvane::kSwap)->Bool());
  plug->GetParam(Quorvane::kSwap)->Set(0.0);
  plug->OnParamChange(Quorvane::kSwap);
  EXPECT_FALSE(plug->IsSwapOn());
  plug->OnParamChange(7); // no such parameter: nothing
  EXPECT_FALSE(plug->IsMonoOn());
}

TEST(Quorvane, GuiPathSnapsAndTurnsFlagsOn)
{
  auto plug = Make();
  plug->SetParameterFromGUI(Quorvane::kMono, 0.7);
  EXPECT_EQ(plug->GetParam(Quorvane::kMono)->Value(), 1.0);
  EXPECT_TRUE(plug->IsMonoOn());
  plug->SetParameterFromGUI(Quorvane::kMono, 0.2);
  EXPECT_FALSE(plug->IsMonoOn());
}

TEST(Quorvane, FloatRenderPathAppliesSwapFromTheNextBlock)
{
  HostedQuorvane fx;
  ASSERT_TRUE(fx.Valid());
  float l[2] = {0.25f, 0.75f}, r[2] = {-0.5f, -0.75f}, ol[2], orr[2];
  float* ins[] = {l, r};
  float* outs[] = {ol, orr};
  fx.Render(ins, outs, 2);
  EXPECT_EQ(ol[0], 0.25f);
  fx.Set(Quorvane::kSwap, 1.0);
  fx.Render(ins, outs, 2);
  EXPECT_EQ(ol[0], -0.5f);
  EXPECT_EQ(orr[1], 0.75f);
  // Bypass passes the input through untouched.
  fx.SetBypass(true);
  fx.Render(ins, outs, 2);
  EXPECT_EQ(ol[0], 0.25f);
  EXPECT_EQ(orr[1], -0.75f);
}
