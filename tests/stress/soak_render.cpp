// The render thread: the native render procedure called continuously with
// the host's context, every block checked, some blocks checked against the
// state the host reads around them, and checkpoints now and then.
#include "soak.h"

#include <chrono>
#include <cstdio>
#include <thread>

namespace stress
{
namespace
{
int32_t RandomFrames(Rng& rng)
{
  // The announced block size is 1024; hosts also send odd sizes and,
  // rarely, nothing at all.
  static const int32_t kSizes[] = {1, 17, 32, 64, 64, 100, 128, 256, 512, 1024};
  if (rng() % 256 == 0) return 0;
  return kSizes[rng() % (sizeof kSizes / sizeof kSizes[0])];
}
} // namespace

void RunRender(Soak& soak, double seconds)
{
  using Clock = std::chrono::steady_clock;
  Rng rng(soak.Seed() * 0x9E3779B97F4A7C15ull + kRenderThread);
  Outcome& outcome = soak.Result();
  aaxhost::HostAutomationDelegate& automation = *soak.Host().Automation();
  const auto end = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                      std::chrono::duration<double>(seconds));
  auto nextCheckpoint = Clock::now() + std::chrono::milliseconds(300 + rng() % 700);
  for (uint64_t block = 0; !outcome.Stopping(); ++block)
  {
    soak.Heartbeat(kRenderThread).fetch_add(1);
    const auto now = Clock::now();
    if (now >= end) break;
    if (now >= nextCheckpoint)
    {
      soak.Checkpoint(true);
      nextCheckpoint = Clock::now() + std::chrono::milliseconds(300 + rng() % 1200);
      continue;
    }
    // A workstation's render thread waits for its next buffer between
    // calls; without a pause here it would take the plug-in mutex back at
    // once and starve every other thread of it.
    if (block % 4 == 0)
      std::this_thread::sleep_for(std::chrono::microseconds(rng() % 50));
    else
      std::this_thread::yield();
    const int32_t frames = RandomFrames(rng);
    if (block % 16 != 15)
    {
      // The switches may change between blocks but never inside one (the
      // render call holds the plug-in mutex), so a block is wholly one kind.
      const Kind kind = soak.RenderBlock(rng, frames);
      if (frames == 0
              ? kind != Kind::kNotWritten
              : kind == Kind::kMixed || kind == Kind::kNonFinite || kind == Kind::kNotWritten)
        return outcome.Fail("block " + std::to_string(block + 1) + " (" + std::to_string(frames) +
                            " frames): the render call gave " + KindName(kind));
      continue;
    }
    // A block between two reads of the state, with the host's control calls
    // held off: when the editor changed nothing either (no new request), the
    // block must be what the state says.
    std::lock_guard<std::mutex> lock(soak.HostCalls());
    const size_t requests = automation.SetRequestCount();
    State before, after;
    if (!soak.ReadState(before)) return;
    const Kind kind = soak.RenderBlock(rng, frames == 0 ? 64 : frames);
    if (!soak.ReadState(after)) return;
    if (automation.SetRequestCount() != requests || after.chunk != before.chunk) continue;
    if (kind != before.Expected())
      return outcome.Fail("block " + std::to_string(block + 1) + ": with Swap " + Num(before.swap) +
                          ", Mono " + Num(before.mono) + " and bypass " + Num(before.bypass) +
                          " the render call gave " + KindName(kind) + " instead of " +
                          KindName(before.Expected()));
    soak.Count().checkedBlocks.fetch_add(1);
  }
  outcome.Stop();
}
} // namespace stress
