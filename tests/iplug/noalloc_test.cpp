// The processing entry points must not allocate: this program counts every
// global allocation and checks that none happens inside the render calls.

#include "Quorvane.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <new>

namespace
{
std::atomic<long> gAllocations{0};
}

// The replacements below pair malloc with free throughout; GCC cannot see
// that across inlining in instrumented builds.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t n)
{
  gAllocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(n ? n : 1)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t n) { return operator new(n); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

TEST(NoAllocation, RenderPathsAndParameterChangesAllocateNothing)
{
  std::unique_ptr<Quorvane> plug(static_cast<Quorvane*>(MakePlug()));
  plug->SetLatency(0);
  constexpr int kFrames = 512;
  static float l[kFrames], r[kFrames], ol[kFrames], orr[kFrames];
  static double dl[kFrames], dr[kFrames];
  float* ins[] = {l, r};
  float* outs[] = {ol, orr};
  double* dins[] = {dl, dr};

  const long before = gAllocations.load();
  for (int i = 0; i < 8; ++i)
  {
    plug->SetParameterFromHost(i % 2, (i / 2) % 2);
    plug->SetParameterFromGUI((i + 1) % 2, 0.8);
    plug->RenderFloatBlock(ins, 2, outs, 2, kFrames, i == 3);
    plug->RenderFloatBlock(ins, 1, outs, 1, kFrames, false); // disconnected channels
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
