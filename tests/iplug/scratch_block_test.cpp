// The scratch buffers' layout: each on its own cache line, at its own offset
// within a 4 KiB page, holding its frames without touching a neighbour.

#include "IScratchBlock.h"
#include "test_plugs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <set>
#include <vector>

namespace
{
uintptr_t Addr(const double* p) { return reinterpret_cast<uintptr_t>(p); }

// Every buffer 64-byte aligned, no two at one page offset (up to 64 of
// them), and the ranges of frames doubles disjoint.
void ExpectLaidOut(const std::vector<double*>& buffers, int frames)
{
  std::set<uintptr_t> pageOffsets;
  for (double* b : buffers)
  {
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(Addr(b) % IScratchBlock::kLineBytes, 0u);
    pageOffsets.insert(Addr(b) % IScratchBlock::kPageBytes);
  }
  EXPECT_EQ(pageOffsets.size(), std::min<size_t>(buffers.size(), 64));
  std::vector<double*> sorted = buffers;
  std::sort(sorted.begin(), sorted.end());
  for (size_t i = 1; i < sorted.size(); ++i)
    EXPECT_GE(sorted[i] - sorted[i - 1], frames);
}
} // namespace

TEST(ScratchBlock, BuffersAreAlignedApartAndZeroed)
{
  for (int n : {1, 2, 3, 4, 7, 64, 65})
    for (int frames : {1, 7, 512, 1024, 4096})
    {
      SCOPED_TRACE(testing::Message() << n << " buffers of " << frames);
      IScratchBlock block;
      block.Resize(n, frames);
      std::vector<double*> buffers;
      for (int i = 0; i < n; ++i)
      {
        double* b = block.Get(i);
        ASSERT_NE(b, nullptr);
        for (int s = 0; s < frames; ++s)
          ASSERT_EQ(b[s], 0.0);
        // Filling each buffer whole: a sanitizer build catches any overrun.
        std::fill(b, b + frames, static_cast<double>(i));
        buffers.push_back(b);
      }
      ExpectLaidOut(buffers, frames);
      EXPECT_EQ(block.Get(n), nullptr);
    }
  IScratchBlock empty;
  empty.Resize(2, 0);
  EXPECT_EQ(empty.Get(0), nullptr);
}

TEST(ScratchBlock, PlugInChannelsUseTheLayout)
{
  // Disconnected channels hand the plug-in their scratch buffers.
  class Probe : public TestPlug
  {
  public:
    using TestPlug::TestPlug;
    void ProcessDoubleReplacing(double** inputs, double** outputs, int) override
    {
      seen.assign(inputs, inputs + NInChannels());
      seen.insert(seen.end(), outputs, outputs + NOutChannels());
    }
    std::vector<double*> seen;
  };
  Probe plug(0, "2-2");
  plug.SetInputChannelConnections(0, 2, false);
  plug.SetOutputChannelConnections(0, 2, false);
  for (int frames : {1024, 4096, 512})
  {
    plug.SetBlockSize(frames);
    plug.ProcessBuffers(0.0, frames);
    ASSERT_EQ(plug.seen.size(), 4u);
    ExpectLaidOut(plug.seen, frames);
  }
}
