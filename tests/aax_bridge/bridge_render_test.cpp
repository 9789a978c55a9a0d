// The native render procedure over host-built contexts: what Quorvane
// renders, bypass and latency, contexts a host got wrong, the private block,
// MIDI input, the side-chain and host time.
#include "../iplug/hosted_quorvane.h"
#include "bridge_plugs.h"

#include "AAX_CHostServices.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace aaxhost;

namespace
{
void Fill(RenderContext& ctx, std::initializer_list<float> l, std::initializer_list<float> r)
{
  std::copy(l.begin(), l.end(), ctx.Input(0));
  std::copy(r.begin(), r.end(), ctx.Input(1));
  ctx.SetFrames(static_cast<int32_t>(l.size()));
}
} // namespace

TEST(BridgeRender, TwoInstancesInOneCallRenderTheirOwnSwitchesExactly)
{
  StandInHost host;
  struct Case
  {
    double swap, mono;
    float l0, r0, l1, r1;
  };
  // Inputs (0.25, -0.5) and (1, 0.5); mono is the float average after the swap.
  const Case cases[] = {{0, 0, 0.25f, -0.5f, 1.0f, 0.5f},
                        {1, 0, -0.5f, 0.25f, 0.5f, 1.0f},
                        {0, 1, -0.125f, -0.125f, 0.75f, 0.75f},
                        {1, 1, -0.125f, -0.125f, 0.75f, 0.75f}};
  for (size_t pair = 0; pair < 4; pair += 2)
  {
    HostInstance a(host, QuorvaneCreate()), b(host, QuorvaneCreate());
    RenderContext ca(RenderLayout(), host.Transport()), cb(RenderLayout(), host.Transport());
    ASSERT_EQ(a.Initialize(), 0);
    ASSERT_EQ(b.Initialize(), 0);
    ASSERT_EQ(a.InitializeFieldData(ca), 0);
    ASSERT_EQ(b.InitializeFieldData(cb), 0);
    const Case& x = cases[pair];
    const Case& y = cases[pair + 1];
    a.Parameters()->UpdateParameterNormalizedValue("1", x.swap, AAX_EUpdateSource(0));
    a.Parameters()->UpdateParameterNormalizedValue("2", x.mono, AAX_EUpdateSource(0));
    b.Parameters()->UpdateParameterNormalizedValue("1", y.swap, AAX_EUpdateSource(0));
    b.Parameters()->UpdateParameterNormalizedValue("2", y.mono, AAX_EUpdateSource(0));
    Fill(ca, {0.25f, 1.0f}, {-0.5f, 0.5f});
    Fill(cb, {0.25f, 1.0f}, {-0.5f, 0.5f});
    RenderBatch{&ca, &cb}.Run(QuorvaneRender());
    for (auto [ctx, c] : {std::pair{&ca, &x}, std::pair{&cb, &y}})
    {
      EXPECT_EQ(ctx->Output(0)[0], c->l0) << c->swap << c->mono;
      EXPECT_EQ(ctx->Output(1)[0], c->r0) << c->swap << c->mono;
      EXPECT_EQ(ctx->Output(0)[1], c->l1) << c->swap << c->mono;
      EXPECT_EQ(ctx->Output(1)[1], c->r1) << c->swap << c->mono;
    }
  }
}

TEST(BridgeRender, BypassPassesInputThroughDelayedByTheLatencyAcrossBlocks)
{
  // Before Initialize there is no controller to tell: the base takes it.
  std::unique_ptr<IPlugAAX> bare(MakePlug());
  bare->SetLatency(5);
  EXPECT_EQ(bare->GetLatency(), 5);

  HostedQuorvane fx;
  ASSERT_TRUE(fx.Valid());
  fx.Set(Quorvane::kSwap, 1.0);
  fx.SetBypass(true);
  Fill(fx.Context(), {1, 2, 3}, {-1, -2, -3});
  fx.Render(3);
  EXPECT_EQ(fx.Context().Output(0)[2], 3.0f); // not swapped: bypassed
  EXPECT_EQ(fx.Context().Output(1)[0], -1.0f);

  fx.Plug().SetLatency(2);
  EXPECT_EQ(fx.Host().Controller()->State().signalLatency, 2);
  const float expectL[] = {0, 0, 1, 2, 3, 4, 5, 6};
  for (int block = 0; block < 2; ++block)
  {
    const float base = 1.0f + 4.0f * static_cast<float>(block);
    Fill(fx.Context(), {base, base + 1, base + 2, base + 3}, {-base, -base - 1, -base - 2, -base - 3});
    fx.Render(4);
    for (int s = 0; s < 4; ++s)
    {
      EXPECT_EQ(fx.Context().Output(0)[s], expectL[block * 4 + s]) << block << " " << s;
      EXPECT_EQ(fx.Context().Output(1)[s], -expectL[block * 4 + s]) << block << " " << s;
    }
  }
  fx.SetBypass(false); // processing again: swapped, not delayed
  Fill(fx.Context(), {7}, {8});
  fx.Render(1);
  EXPECT_EQ(fx.Context().Output(0)[0], 8.0f);
}

TEST(BridgeRender, ContextsWithoutInstanceBuffersOrFramesRenderNothing)
{
  StandInHost host;
  HostInstance inst(host, AsCreationProc(&RecordingAAXPlug::CreatePlain));
  ASSERT_EQ(inst.Initialize(), 0);
  RecordingAAXPlug* plug = PlugOf<RecordingAAXPlug>(inst);
  RenderContext good, noBlock, emptyBlock, noBuffers, negative, nullChannel;
  for (RenderContext* c : {&good, &noBlock, &emptyBlock, &noBuffers, &negative, &nullChannel})
  {
    ASSERT_EQ(inst.InitializeFieldData(*c), 0);
    c->SetFrames(8);
  }
  noBlock.Field(kFieldPrivate) = nullptr;
  std::memset(emptyBlock.PrivateBlock(), 0, 8);
  noBuffers.Field(kFieldAudioIn) = nullptr;
  negative.SetFrames(-5);
  float* nullChannels[] = {nullptr, nullptr};
  nullChannel.Field(kFieldAudioIn) = nullChannels;
  RenderBatch batch{&noBlock, &emptyBlock, &noBuffers, &negative, &nullChannel};
  batch.AddRaw(nullptr);
  batch.Run(BridgeRenderProc());
  EXPECT_EQ(plug->blocks, 0);
  RenderBatch{&good}.Run(BridgeRenderProc());
  EXPECT_EQ(plug->blocks, 1);
}

TEST(BridgeRender, ARenderAfterUninitializeReadsNoFreedBypass)
{
  // Uninitialize deletes the host parameters, the master bypass among them;
  // a host that renders once more must get the plug-in's processing, not a
  // read of freed memory (which a sanitizer build reports).
  StandInHost host;
  HostInstance inst(host, QuorvaneCreate());
  RenderContext ctx(RenderLayout(), host.Transport());
  ASSERT_EQ(inst.Initialize(), 0);
  ASSERT_EQ(inst.InitializeFieldData(ctx), 0);
  inst.Parameters()->UpdateParameterNormalizedValue("1", 1.0, AAX_EUpdateSource(0));
  inst.Parameters()->UpdateParameterNormalizedValue("MasterBypassID", 1.0, AAX_EUpdateSource(0));
  ASSERT_EQ(inst.Uninitialize(), 0);
  Fill(ctx, {0.25f}, {-0.5f});
  RenderBatch{&ctx}.Run(QuorvaneRender());
  EXPECT_EQ(ctx.Output(0)[0], -0.5f); // swapped: the bypass is gone with its parameter
}

TEST(BridgeRender, FrameCountsAboveTheBlockSizeAreCut)
{
  RenderLayout layout;
  layout.maxFrames = 1100;
  HostedQuorvane fx(layout);
  ASSERT_TRUE(fx.Valid());
  fx.Context().FillInput(0, 0.5f);
  for (int s = 0; s < 1100; ++s) fx.Context().Output(0)[s] = -7.0f;
  fx.Render(1100);
  EXPECT_EQ(fx.Context().Output(0)[1023], 0.5f);
  EXPECT_EQ(fx.Context().Output(0)[1024], -7.0f);
}

TEST(BridgeRender, PrivateBlockTakesExactlyTheInstancePointer)
{
  StandInHost host;
  AAX_CHostServices::Set(host.Unknown());
  HostInstance inst(host, QuorvaneCreate());
  ASSERT_EQ(inst.Initialize(), 0);
  unsigned char block[12];
  std::memset(block, 0xAB, sizeof block);
  EXPECT_EQ(inst.Parameters()->ResetFieldData(8, block, 8), 0);
  AAX_CIPlugParameters* expected = PlugOf<Quorvane>(inst);
  void* stored = nullptr;
  std::memcpy(&stored, block, 8);
  EXPECT_EQ(stored, static_cast<void*>(expected));
  EXPECT_EQ(block[8], 0xAB);
  EXPECT_TRUE(host.Services()->Asserts().empty());

  // A block of the wrong size is reported; one too small for the pointer is
  // left as it was.
  std::memset(block, 0xAB, sizeof block);
  EXPECT_EQ(inst.Parameters()->ResetFieldData(8, block, 4), 0);
  EXPECT_EQ(block[0], 0xAB);
  ASSERT_EQ(host.Services()->Asserts().size(), 1u);
  const AssertRecord a = host.Services()->Asserts()[0];
  EXPECT_EQ(a.file, "WDL/IPlug/AAX/AAX_CIPlugParameters");
  EXPECT_EQ(a.line, 9);
  EXPECT_EQ(a.note, "iDataSize == sizeof(AAX_SIPlugPrivateData)");
  EXPECT_EQ(a.flags, 3);
  // Other fields are zero-filled by the effect-parameters base.
  EXPECT_EQ(inst.Parameters()->ResetFieldData(5, block, 4), 0);
  EXPECT_EQ(block[3], 0);
  AAX_CHostServices::Set(nullptr);
}

TEST(BridgeRender, MidiPacketsReachThePlugInInOrderWithTheirFields)
{
  RenderLayout layout;
  layout.inputMIDI = true;
  HostedEffect fx(AsCreationProc(&RecordingAAXPlug::CreateMidi), BridgeRenderProc(), layout);
  ASSERT_TRUE(fx.Valid());
  auto* plug = dynamic_cast<RecordingAAXPlug*>(fx.Parameters());
  fx.Context().InputMIDI()->Add(3, 0x90, 60, 100);
  fx.Context().InputMIDI()->Add(17, 0xB1, 7, 64);
  fx.Context().InputMIDI()->Add(17, 0x80, 60, 0);
  fx.Render(32);
  ASSERT_EQ(plug->midi.size(), 3u);
  const int expect[3][4] = {{3, 0x90, 60, 100}, {17, 0xB1, 7, 64}, {17, 0x80, 60, 0}};
  for (int i = 0; i < 3; ++i)
  {
    EXPECT_EQ(plug->midi[i].mOffset, expect[i][0]);
    EXPECT_EQ(plug->midi[i].mStatus, expect[i][1]);
    EXPECT_EQ(plug->midi[i].mData1, expect[i][2]);
    EXPECT_EQ(plug->midi[i].mData2, expect[i][3]);
  }
}

TEST(BridgeRender, SideChainScratchIsClearedWhenTheConnectionChanges)
{
  RenderLayout layout;
  layout.inputs = 3;
  layout.sideChain = true;
  HostedEffect fx(AsCreationProc(&RecordingAAXPlug::CreateSideChain), BridgeRenderProc(), layout);
  ASSERT_TRUE(fx.Valid());
  auto* plug = dynamic_cast<RecordingAAXPlug*>(fx.Parameters());
  fx.Context().FillInput(2, 0.5f);
  fx.Render(4); // disconnected from the start: silence
  EXPECT_EQ(plug->sideChainSeen, 0.0);
  fx.Render(4); // still disconnected: what the plug-in wrote is still there
  EXPECT_EQ(plug->sideChainSeen, 9.0);
  fx.Context().SetSideChain(1);
  fx.Render(4); // connected: the host's side-chain buffer
  EXPECT_EQ(plug->sideChainSeen, 0.5);
  EXPECT_TRUE(plug->IsInChannelConnected(2));
  fx.Context().SetSideChain(0);
  fx.Render(4); // disconnected again: cleared
  EXPECT_EQ(plug->sideChainSeen, 0.0);
  EXPECT_FALSE(plug->IsInChannelConnected(2));
}

TEST(BridgeRender, TimeQueriesFollowTheHostTransportFromTheFirstRender)
{
  HostedQuorvane fx;
  ASSERT_TRUE(fx.Valid());
  Quorvane& plug = fx.Plug();
  ITimeInfo t;
  t.mLastBar = -3.0;
  plug.GetTime(&t);
  EXPECT_EQ(t.mTempo, 120.0);
  EXPECT_EQ(t.mSamplePos, 0.0);
  EXPECT_FALSE(t.mTransportIsRunning);
  EXPECT_FALSE(t.mTransportLoopEnabled);
  EXPECT_EQ(plug.GetSamplePos(), 0);

  TransportState st;
  st.tempo = 96.0;
  st.meterNumerator = 7;
  st.meterDenominator = 8;
  st.playing = true;
  st.tickPosition = 2400000; // 2.5 quarters
  st.looping = true;
  st.loopStartTick = 960000;
  st.loopEndTick = 4800000;
  st.nativeSampleLocation = (int64_t(1) << 32) + 1234;
  fx.Host().Transport()->SetState(st);
  fx.Render(0);
  plug.GetTime(&t);
  EXPECT_EQ(t.mTempo, 96.0);
  EXPECT_TRUE(t.mTransportIsRunning);
  EXPECT_EQ(t.mNumerator, 7);
  EXPECT_EQ(t.mDenominator, 8);
  EXPECT_EQ(t.mPPQPos, 2.5);
  EXPECT_EQ(t.mSamplePos, 4294968530.0);
  EXPECT_TRUE(t.mTransportLoopEnabled);
  EXPECT_EQ(t.mCycleStart, 1.0);
  EXPECT_EQ(t.mCycleEnd, 5.0);
  EXPECT_EQ(t.mLastBar, -3.0); // not written
  EXPECT_EQ(plug.GetSamplePos(), 1234);
  EXPECT_EQ(plug.GetTempo(), 96.0);
  int num = 0, den = 0;
  plug.GetTimeSig(&num, &den);
  EXPECT_EQ(num * 100 + den, 708);
}

TEST(BridgeRender, StemFormatsTheHostChangesBetweenCallsTakeEffectOnTheNextCall)
{
  HostedQuorvane fx;
  ASSERT_TRUE(fx.Valid());
  Fill(fx.Context(), {0.25f}, {-0.5f});
  fx.Render(1);
  EXPECT_EQ(fx.Context().Output(1)[0], -0.5f);

  ControllerState narrow = fx.Host().Controller()->State();
  narrow.inputStemFormat = AAX_STEM_FORMAT(0, 1);
  narrow.outputStemFormat = AAX_STEM_FORMAT(0, 1);
  fx.Host().Controller()->SetState(narrow);
  fx.Context().Output(1)[0] = 7.0f;
  fx.Render(1);
  // One channel each way: the right input reads silence and the right
  // output is the host's to keep.
  EXPECT_EQ(fx.Context().Output(0)[0], 0.25f);
  EXPECT_EQ(fx.Context().Output(1)[0], 7.0f);

  narrow.inputStemFormat = narrow.outputStemFormat = AAX_STEM_FORMAT(1, 2);
  fx.Host().Controller()->SetState(narrow);
  fx.Render(1);
  EXPECT_EQ(fx.Context().Output(1)[0], -0.5f);
}
