#include "test_plugs.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
// Records what the plug-in saw and writes a marker into every output.
class ProbePlug : public TestPlug
{
public:
  using TestPlug::TestPlug;
  void ProcessDoubleReplacing(double** inputs, double** outputs, int nFrames) override
  {
    seenIn.assign(inputs, inputs + NInChannels());
    seenOut.assign(outputs, outputs + NOutChannels());
    for (int ch = 0; ch < NOutChannels(); ++ch)
      for (int s = 0; s < nFrames; ++s)
        outputs[ch][s] = (ch < NInChannels() ? inputs[ch][s] : 0.0) + 10.0 * (ch + 1);
    lastFrames = nFrames;
  }
  std::vector<double*> seenIn, seenOut;
  int lastFrames = -1;
};
} // namespace

TEST(Buffers, DisconnectedChannelsUseScratchMemory)
{
  ProbePlug plug(0, "2-2");
  plug.SetBlockSize(4);
  plug.SetInputChannelConnections(0, 1, true);
  plug.SetInputChannelConnections(1, 1, false);
  plug.SetOutputChannelConnections(0, 1, true);
  plug.SetOutputChannelConnections(1, 1, false);

  double in0[4] = {1, 2, 3, 4};
  double out0[4] = {};
  double* ins[] = {in0};
  double* outs[] = {out0};
  plug.AttachInputBuffers(0, 2, ins, 4);
  plug.AttachOutputBuffers(0, 2, outs);
  plug.ProcessBuffers(0.0, 4);

  EXPECT_EQ(plug.seenIn[0], in0);
  EXPECT_EQ(plug.seenOut[0], out0);
  ASSERT_NE(plug.seenIn[1], nullptr);
  ASSERT_NE(plug.seenOut[1], nullptr);
  EXPECT_NE(plug.seenIn[1], plug.seenOut[1]);
  // The plug-in read silence from the disconnected input...
  EXPECT_EQ(out0[3], 4.0 + 10.0);
  // ...and its write to the disconnected output went to scratch memory.
  EXPECT_EQ(plug.seenOut[1][0], 0.0 + 20.0);
}

TEST(Buffers, FloatAttachConsumesOnePointerPerConnectedChannel)
{
  ProbePlug plug(0, "2-2");
  plug.SetBlockSize(3);
  plug.SetInputChannelConnections(0, 1, false);
  plug.SetInputChannelConnections(1, 1, true);
  plug.SetOutputChannelConnections(0, 2, true);

  float host[3] = {0.5f, -0.25f, 1.0f};
  float* ins[] = {host}; // only one pointer: for channel 1
  float outL[3] = {9, 9, 9}, outR[3] = {9, 9, 9};
  float* outs[] = {outL, outR};
  plug.AttachInputBuffers(0, 2, ins, 3);
  plug.AttachOutputBuffers(0, 2, outs);
  plug.ProcessBuffers(0.0f, 3);

  // Channel 1 got the host data converted to double, channel 0 silence.
  EXPECT_EQ(plug.seenIn[1][1], -0.25);
  EXPECT_EQ(outR[0], 0.5f + 20.0f);
  EXPECT_EQ(outR[2], 1.0f + 20.0f);
  EXPECT_EQ(outL[0], 10.0f);
  // The base renders into its scratch buffers, not the host's floats.
  EXPECT_NE(static_cast<void*>(plug.seenOut[0]), static_cast<void*>(outL));
}

TEST(Buffers, AccumulatingAddsToWhatTheHostBufferHeld)
{
  ProbePlug plug(0, "1-1");
  plug.SetBlockSize(2);
  plug.SetInputChannelConnections(0, 1, true);
  plug.SetOutputChannelConnections(0, 1, true);
  float in[2] = {1.0f, 2.0f};
  float out[2] = {0.125f, -100.0f};
  float* ins[] = {in};
  float* outs[] = {out};
  plug.AttachInputBuffers(0, 1, ins, 2);
  plug.AttachOutputBuffers(0, 1, outs);
  plug.ProcessBuffersAccumulating(0.0f, 2);
  EXPECT_EQ(out[0], 11.0f + 0.125f);
  EXPECT_EQ(out[1], 12.0f - 100.0f);
}

TEST(Buffers, PassThroughWithoutLatencyCopiesAndZeroesExtraOutputs)
{
  ProbePlug plug(0, "1-2");
  plug.SetBlockSize(2);
  plug.SetInputChannelConnections(0, 1, true);
  plug.SetOutputChannelConnections(0, 2, true);
  double in[2] = {0.3, -0.7};
  double o0[2] = {5, 5}, o1[2] = {5, 5};
  double* ins[] = {in};
  double* outs[] = {o0, o1};
  plug.AttachInputBuffers(0, 1, ins, 2);
  plug.AttachOutputBuffers(0, 2, outs);
  plug.PassThroughBuffers(0.0, 2);
  EXPECT_EQ(plug.lastFrames, -1); // the plug-in's own processing never ran
  EXPECT_EQ(o0[0], 0.3);
  EXPECT_EQ(o0[1], -0.7);
  EXPECT_EQ(o1[0], 0.0);
  EXPECT_EQ(o1[1], 0.0);
}

TEST(Buffers, PassThroughWithLatencyDelaysAcrossBlocks)
{
  ProbePlug plug(0, "2-2", 3);
  plug.MakeDelayLine();
  plug.SetBlockSize(4);
  plug.SetInputChannelConnections(0, 2, true);
  plug.SetOutputChannelConnections(0, 2, true);

  std::vector<float> outL, outR;
  for (int block = 0; block < 3; ++block)
  {
    float l[4], r[4], ol[4], orr[4];
    for (int s = 0; s < 4; ++s)
    {
      l[s] = static_cast<float>(1 + block * 4 + s);
      r[s] = -l[s];
    }
    float* ins[] = {l, r};
    float* outs[] = {ol, orr};
    plug.AttachInputBuffers(0, 2, ins, 4);
    plug.AttachOutputBuffers(0, 2, outs);
    plug.PassThroughBuffers(0.0f, 4);
    outL.insert(outL.end(), ol, ol + 4);
    outR.insert(outR.end(), orr, orr + 4);
  }
  const std::vector<float> wantL = {0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
  EXPECT_EQ(outL, wantL);
  EXPECT_EQ(outR[3], -1.0f);
  EXPECT_EQ(outR[11], -9.0f);
}

TEST(Buffers, SetBlockSizeClearsScratchOnlyOnChange)
{
  ProbePlug plug(0, "1-1");
  plug.SetBlockSize(4);
  plug.SetInputChannelConnections(0, 1, true);
  plug.SetOutputChannelConnections(0, 1, true);
  float in[4] = {1, 2, 3, 4}, out[4];
  float* ins[] = {in};
  float* outs[] = {out};
  plug.AttachInputBuffers(0, 1, ins, 4);
  plug.AttachOutputBuffers(0, 1, outs);
  plug.ProcessBuffers(0.0f, 4);
  double* scratchIn = plug.seenIn[0];
  EXPECT_EQ(scratchIn[3], 4.0);

  plug.SetBlockSize(4); // same size: kept
  EXPECT_EQ(scratchIn[3], 4.0);

  plug.SetBlockSize(8); // new size: cleared, and the slots follow the move
  plug.SetInputChannelConnections(0, 1, false);
  plug.ProcessBuffers(0.0, 8);
  for (int s = 0; s < 8; ++s) EXPECT_EQ(plug.seenIn[0][s], 0.0);
}

TEST(Buffers, ZeroScratchBuffersClearsOneBlock)
{
  ProbePlug plug(0, "1-1");
  plug.SetBlockSize(2);
  plug.SetInputChannelConnections(0, 1, true);
  plug.SetOutputChannelConnections(0, 1, true);
  float in[2] = {1, 2}, out[2];
  float* ins[] = {in};
  float* outs[] = {out};
  plug.AttachInputBuffers(0, 1, ins, 2);
  plug.AttachOutputBuffers(0, 1, outs);
  plug.ProcessBuffers(0.0f, 2);
  plug.ZeroScratchBuffers();
  EXPECT_EQ(plug.seenIn[0][0], 0.0);
  EXPECT_EQ(plug.seenIn[0][1], 0.0);
  EXPECT_EQ(plug.seenOut[0][1], 0.0);
}

TEST(Buffers, FrameCountsAboveTheBlockSizeAreCutToIt)
{
  // A host that sends more frames than announced must not make the base
  // write past its scratch buffers.
  ProbePlug plug(0, "1-1");
  plug.SetBlockSize(4);
  plug.SetInputChannelConnections(0, 1, true);
  plug.SetOutputChannelConnections(0, 1, true);
  std::vector<float> in(64, 1.0f), out(64, -1.0f);
  float* ins[] = {in.data()};
  float* outs[] = {out.data()};
  plug.AttachInputBuffers(0, 1, ins, 64);
  plug.AttachOutputBuffers(0, 1, outs);
  plug.ProcessBuffers(0.0f, 64);
  EXPECT_EQ(plug.lastFrames, 4);
  EXPECT_EQ(out[3], 11.0f);
  EXPECT_EQ(out[4], -1.0f);
}

TEST(DelayLine, ProcessesOnlyChannelsBelowBothCounts)
{
  NChanDelayLine d(2, 1);
  d.SetDelayTime(2);
  double a[3] = {1, 2, 3}, b[3] = {4, 5, 6};
  double oa[3] = {}, ob[3] = {7, 7, 7};
  double* ins[] = {a, b};
  double* outs[] = {oa, ob};
  d.ProcessBlock(ins, outs, 3);
  EXPECT_EQ(oa[0], 0.0);
  EXPECT_EQ(oa[1], 0.0);
  EXPECT_EQ(oa[2], 1.0);
  EXPECT_EQ(ob[0], 7.0);
  d.SetDelayTime(0); // zero delay writes nothing and never divides by zero
  d.ProcessBlock(ins, outs, 3);
  EXPECT_EQ(oa[2], 1.0);
}
