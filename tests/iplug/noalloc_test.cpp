// The processing entry points must not allocate: this program counts every
// global allocation and checks that none happens inside the render calls.

#include "hosted_quorvane.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <new>

#include "counting_allocator.h"

TEST(NoAllocation, RenderPathsAndParameterChangesAllocateNothing)
{
  // Initialised without a host, so that nothing the plug-in sends lands in
  // a host's (allocating) records: what is counted is the plug-in alone.
  auto plug = MakeInitializedQuorvane();
  plug->SetLatency(0);
  constexpr int kFrames = 512;
  static float l[kFrames], r[kFrames], ol[kFrames], orr[kFrames];
  static double dl[kFrames], dr[kFrames];
  float* ins[] = {l, r};
  float* outs[] = {ol, orr};
  double* dins[] = {dl, dr};
  aaxhost::RenderLayout layout;
  layout.maxFrames = kFrames;
  aaxhost::RenderContext ctx(layout, nullptr);
  ctx.Field(aaxhost::kFieldAudioIn) = ins;
  ctx.Field(aaxhost::kFieldAudioOut) = outs;
  ctx.SetFrames(kFrames);
  plug->ResetFieldData(aaxhost::kFieldPrivate, ctx.PrivateBlock(), 8);
  aaxhost::RenderBatch batch{&ctx};

  const long before = gAllocations.load();
  for (int i = 0; i < 8; ++i)
  {
    HostSet(*plug, i % 2, (i / 2) % 2);
    plug->SetParameterFromGUI((i + 1) % 2, 0.8);
    plug->UpdateParameterNormalizedValue("MasterBypassID", i == 3 ? 1.0 : 0.0, AAX_EUpdateSource(0));
    batch.Run(QuorvaneRender());
    {
      IPlugBase::IMutexLock lock(plug.get()); // disconnected channels
      plug->SetInputChannelConnections(1, 1, false);
      plug->SetOutputChannelConnections(1, 1, false);
      plug->AttachInputBuffers(0, 2, ins, kFrames);
      plug->AttachOutputBuffers(0, 2, outs);
      plug->ProcessBuffers(0.0f, kFrames);
    }
    plug->AttachInputBuffers(0, 2, dins, kFrames);
    plug->AttachOutputBuffers(0, 2, dins);
    plug->ProcessBuffers(0.0, kFrames);
    plug->PassThroughBuffers(0.0, kFrames);
    plug->ProcessBuffersAccumulating(0.0f, kFrames);
    plug->ZeroScratchBuffers();
  }
  EXPECT_EQ(gAllocations.load() - before, 0);
}

TEST(NoAllocation, TheCounterSeesAllocations)
{
  const long before = gAllocations.load();
  std::unique_ptr<int> p(new int(3));
  EXPECT_EQ(gAllocations.load() - before, 1);
}
