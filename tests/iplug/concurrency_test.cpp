#include "hosted_quorvane.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

// One thread renders while the editor path and the host path change the
// switches. Every block must come out under one consistent pair of switch
// states: each frame of a block shows the same one of the three results.
TEST(QuorvaneThreads, EveryBlockSeesOneConsistentSwitchState)
{
  HostedQuorvane fx;
  ASSERT_TRUE(fx.Valid());
  Quorvane* plug = &fx.Plug();
  constexpr int kFrames = 64;
  constexpr int kBlocks = 3000;
  std::atomic<bool> done{false};

  std::thread gui([&] {
    for (unsigned i = 0; !done.load(); ++i)
      plug->SetParameterFromGUI(static_cast<int>(i % 2), (i / 2) % 2 ? 0.9 : 0.1);
  });
  std::thread host([&] {
    for (unsigned i = 0; !done.load(); ++i)
      fx.Set(static_cast<int>((i + 1) % 2), (i / 3) % 2 ? 1.0 : 0.0);
  });

  int inconsistent = 0, seen[3] = {0, 0, 0};
  float l[kFrames], r[kFrames], ol[kFrames], orr[kFrames];
  float* ins[] = {l, r};
  float* outs[] = {ol, orr};
  for (int b = 0; b < kBlocks; ++b)
  {
    for (int s = 0; s < kFrames; ++s)
    {
      l[s] = 1.0f;
      r[s] = 2.0f;
    }
    fx.Render(ins, outs, kFrames);
    int kind = -1;
    if (ol[0] == 1.0f && orr[0] == 2.0f) kind = 0;
    else if (ol[0] == 2.0f && orr[0] == 1.0f) kind = 1;
    else if (ol[0] == 1.5f && orr[0] == 1.5f) kind = 2;
    if (kind < 0) ++inconsistent;
    else ++seen[kind];
    for (int s = 1; s < kFrames; ++s)
      if (ol[s] != ol[0] || orr[s] != orr[0]) ++inconsistent;
  }
  done = true;
  gui.join();
  host.join();
  EXPECT_EQ(inconsistent, 0);
  EXPECT_EQ(seen[0] + seen[1] + seen[2], kBlocks);
}

// The host compares its saved chunk with the live state while the editor
// changes a switch; under ThreadSanitizer an unlocked read of the values
// shows up as a race.
TEST(QuorvaneThreads, CompareStateWhileTheEditorChangesASwitch)
{
  HostedQuorvane fx;
  ASSERT_TRUE(fx.Valid());
  Quorvane* plug = &fx.Plug();
  std::atomic<bool> done{false};
  std::thread gui([&] {
    for (unsigned i = 0; !done.load(); ++i)
      plug->SetParameterFromGUI(Quorvane::kSwap, i % 2 ? 1.0 : 0.0);
  });
  for (int i = 0; i < 2000; ++i)
  {
    ByteChunk saved;
    ASSERT_TRUE(plug->SerializeState(&saved));
    plug->CompareState(saved.GetBytes(), 0);
  }
  done = true;
  gui.join();
  ByteChunk now;
  ASSERT_TRUE(plug->SerializeState(&now));
  EXPECT_TRUE(plug->CompareState(now.GetBytes(), 0));
}
