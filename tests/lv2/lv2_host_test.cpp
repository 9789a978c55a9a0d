// The LV2 binaries in a small host of our own: real-time safety of run() at
// every block size (counted as aaxhost validate counts), in-place buffers,
// runs longer than the announced maximum, the latency port, control ports,
// and the state interface (round trip into a fresh instance; refusals).

#include "Lv2Host.h"
#include "Probes.h"

#include <lv2/atom/atom.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstring>
#include <thread>

using namespace lv2test;

namespace
{
const char* const kQuorvane = "urn:orvantine:quorvane";
const char* const kQvTest = "urn:orvantine:qvtest";

using Signal = std::vector<std::vector<float>>;

Signal Noise(int frames, unsigned seed)
{
  Signal s(2, std::vector<float>(static_cast<size_t>(frames)));
  for (auto& ch : s)
    for (float& v : ch)
    {
      seed = seed * 1664525u + 1013904223u;
      v = static_cast<float>(static_cast<int32_t>(seed)) / 2147483648.0f;
    }
  return s;
}

// Renders input through inst in runs of block frames; in place when asked.
Signal Render(Instance& inst, const Signal& input, int block, bool inPlace = false)
{
  Signal out = input;
  Signal in = input;
  const int frames = static_cast<int>(input[0].size());
  for (int at = 0; at < frames; at += block)
  {
    const int n = std::min(block, frames - at);
    std::vector<float*> ins = {&in[0][at], &in[1][at]};
    std::vector<float*> outs = inPlace ? ins : std::vector<float*>{&out[0][at], &out[1][at]};
    inst.ConnectAudio(ins, outs);
    inst.Run(static_cast<uint32_t>(n));
  }
  return inPlace ? in : out;
}

Signal Swapped(const Signal& s) { return {s[1], s[0]}; }

float Db(double db) { return static_cast<float>(std::exp(0.1151292546497 * db)); }

class Lv2Host : public ::testing::Test
{
protected:
  World quorvane{QV_QUORVANE_LV2, kQuorvane};
  World qvtest{QV_QVTEST_LV2, kQvTest};
};

TEST_F(Lv2Host, RunAllocatesLocksAndCallsNothingAtAnyBlockSize)
{
  if (!aaxtool::AllocationsCountable() || !aaxtool::LocksCountable() ||
      !aaxtool::SystemCallsCountable())
    GTEST_SKIP() << "the counters are off in sanitizer builds";
  Instance inst(quorvane, 2, 4096);
  const Signal input = Noise(10000, 7);
  Signal out = input;
  std::vector<float*> ins = {const_cast<float*>(input[0].data()),
                             const_cast<float*>(input[1].data())};
  inst.ConnectAudio(ins, {out[0].data(), out[1].data()});
  unsigned long allocations = 0, calls = 0;
  std::string firstCall;
  aaxtool::ResetAllocations();
  aaxtool::ResetSystemCalls();
  aaxtool::RunTrappingSystemCalls(
      [&]
      {
        aaxtool::WatchLocks(aaxtool::LockWatch::kRender);
        aaxtool::CountAllocations(true);
        aaxtool::CountSystemCalls(true);
        float swap = 0.0f;
        for (int frames : {0, 1, 7, 64, 512, 4096, 10000})
        {
          swap = 1.0f - swap; // a moved port: OnParamChange runs inside run()
          inst.Control("swap") = swap;
          inst.Run(static_cast<uint32_t>(frames));
        }
        aaxtool::CountSystemCalls(false);
        aaxtool::CountAllocations(false);
        aaxtool::WatchLocks(aaxtool::LockWatch::kOff);
      });
  allocations = aaxtool::Allocations();
  calls = aaxtool::SystemCalls();
  if (calls) firstCall = aaxtool::FirstSystemCall();
  EXPECT_EQ(allocations, 0u) << aaxtool::FirstAllocationSite();
  EXPECT_EQ(calls, 0u) << firstCall;
  // Not even the plug-in's own mutex: LV2's hard real-time run takes none.
  const aaxtool::LockReport locks = aaxtool::Locks();
  EXPECT_EQ(locks.waits, 0u);
  EXPECT_TRUE(locks.render.empty()) << locks.render.size() << " lock(s), the first by "
                                    << (locks.render.empty() ? "" : locks.render[0].op);
}

TEST_F(Lv2Host, InPlaceSplitAndFeaturelessRunsGiveTheSameSamples)
{
  const Signal input = Noise(10000, 11);
  for (const char* mode : {"", "swap", "mono"})
  {
    Instance withOptions(quorvane, 2, 512), bare(quorvane, 0), inPlace(quorvane, 1);
    for (Instance* i : {&withOptions, &bare, &inPlace})
      if (*mode) i->Control(mode) = 1.0f;
    // 10000 frames in one run: split into 512s (announced) or 4096s (default).
    const Signal a = Render(withOptions, input, 10000);
    EXPECT_EQ(Render(bare, input, 1), a) << mode; // lv2apply's one frame per run
    EXPECT_EQ(Render(inPlace, input, 10000, true), a) << mode;
    if (!*mode)
    {
      EXPECT_EQ(a, input);
    }
    else if (std::string(mode) == "swap")
    {
      EXPECT_EQ(a, Swapped(input));
    }
  }
}

TEST_F(Lv2Host, LatencyPortIsWrittenByEveryRunEvenOfZeroFrames)
{
  Instance t(qvtest, 2), q(quorvane, 0);
  t.Run(0);
  q.Run(0);
  EXPECT_EQ(t.Latency(), 64.0f);
  EXPECT_EQ(q.Latency(), 0.0f);
}

TEST_F(Lv2Host, ControlPortsApplyWhenMovedClampedAndIgnoreNan)
{
  Instance t(qvtest, 1);
  const Signal input = Noise(64, 3);
  t.Control("gain") = -12.0f;
  EXPECT_FLOAT_EQ(Render(t, input, 64)[0][5], input[0][5] * Db(-12.0));
  t.Control("gain") = 100.0f; // clamped to 12 dB
  EXPECT_FLOAT_EQ(Render(t, input, 64)[0][5], input[0][5] * Db(12.0));
  t.Control("gain") = NAN;
  EXPECT_FLOAT_EQ(Render(t, input, 64)[0][5], input[0][5] * Db(12.0));
  t.Control("mode") = 7.0f; // enum clamped to its last entry, Right
  const Signal right = Render(t, input, 64);
  EXPECT_FLOAT_EQ(right[0][9], input[1][9] * Db(12.0));
}

TEST_F(Lv2Host, StateRestoredIntoAFreshInstanceGivesIdenticalOutput)
{
  const Signal input = Noise(3000, 5);
  Instance a(qvtest, 2);
  a.Control("gain") = -6.5f;
  a.Control("mode") = 2.0f;
  a.Control("steps") = 5.0f;
  const Signal expected = Render(a, input, 256);
  Saved s;
  ASSERT_EQ(a.Save(&s), LV2_STATE_SUCCESS);
  EXPECT_EQ(s.type, qvtest.Map(LV2_ATOM__Chunk));
  EXPECT_EQ(s.flags, static_cast<uint32_t>(LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE));
  // As a host restores a session: the ports' saved values and the state.
  Instance b(qvtest, 2);
  b.Control("gain") = -6.5f;
  b.Control("mode") = 2.0f;
  b.Control("steps") = 5.0f;
  ASSERT_EQ(b.Restore(s), LV2_STATE_SUCCESS);
  EXPECT_EQ(Render(b, input, 256), expected);
  Saved again;
  b.Save(&again);
  EXPECT_EQ(again.bytes, s.bytes);
}

TEST_F(Lv2Host, RefusedStateLeavesThePlugInAsItWas)
{
  Instance t(qvtest, 1);
  t.Control("gain") = 3.0f;
  t.Control("mute") = 1.0f;
  t.Run(0);
  Saved before;
  ASSERT_EQ(t.Save(&before), LV2_STATE_SUCCESS);
  auto withValue = [&](int idx, double v)
  {
    Saved s = before;
    std::memcpy(&s.bytes[static_cast<size_t>(idx) * 8], &v, 8);
    return s;
  };
  std::vector<Saved> bad;
  Saved wrongType = before;
  wrongType.type = qvtest.Map(LV2_ATOM__String);
  bad.push_back(wrongType);
  for (size_t size : {size_t(0), before.bytes.size() - 1, before.bytes.size() + 1, size_t(8)})
  {
    Saved s = before;
    s.bytes.resize(size, 0);
    bad.push_back(s);
  }
  bad.push_back(withValue(0, NAN));
  bad.push_back(withValue(0, 20.0)); // above the gain's 12 dB
  bad.push_back(withValue(1, 3.0));  // no such mode
  bad.push_back(withValue(2, INFINITY));
  for (const Saved& s : bad)
  {
    EXPECT_NE(t.Restore(s), LV2_STATE_SUCCESS) << s.bytes.size() << " bytes";
    Saved now;
    t.Save(&now);
    EXPECT_EQ(now.bytes, before.bytes) << s.bytes.size() << " bytes";
  }
  const Signal input = Noise(32, 9);
  EXPECT_EQ(Render(t, input, 32)[0][3], 0.0f); // still muted
}
// The ports are what the host shows and saves: a restored state whose
// values differ from them never decides the audio, whether it comes before
// the first run or between runs, and save() then holds the ports' values.
TEST_F(Lv2Host, ControlPortsOverrideARestoredState)
{
  Saved on;
  {
    Instance source(quorvane, 1);
    source.Control("swap") = 1.0f;
    source.Run(0);
    ASSERT_EQ(source.Save(&on), LV2_STATE_SUCCESS);
  }
  const Signal input = Noise(256, 17);
  Instance fresh(quorvane, 1);
  fresh.Control("swap") = 0.0f;
  ASSERT_EQ(fresh.Restore(on), LV2_STATE_SUCCESS);
  EXPECT_EQ(Render(fresh, input, 64), input) << "restored before the first run";
  ASSERT_EQ(fresh.Restore(on), LV2_STATE_SUCCESS);
  EXPECT_EQ(Render(fresh, input, 64), input) << "restored between runs";
  Saved now;
  ASSERT_EQ(fresh.Save(&now), LV2_STATE_SUCCESS);
  Instance off(quorvane, 1);
  off.Run(0);
  Saved offState;
  ASSERT_EQ(off.Save(&offState), LV2_STATE_SUCCESS);
  EXPECT_EQ(now.bytes, offState.bytes);
  fresh.Control("swap") = 1.0f;
  EXPECT_EQ(Render(fresh, input, 64), Swapped(input));
}

// save() beside run(): the audio thread flips both switches together on
// every run; every saved state holds both on or both off, never one of
// each, and run() never waits for it (run under ThreadSanitizer too).
TEST_F(Lv2Host, SaveBesideRunSavesOneInstant)
{
  Instance inst(quorvane, 1, 64);
  const Signal input = Noise(64, 21);
  Saved both[2];
  for (int on = 0; on < 2; ++on)
  {
    Instance ref(quorvane, 1);
    ref.Control("swap") = ref.Control("mono") = static_cast<float>(on);
    ref.Run(0);
    ASSERT_EQ(ref.Save(&both[on]), LV2_STATE_SUCCESS);
  }
  std::atomic<bool> stop{false};
  std::atomic<int> saves{0}, mixed{0};
  std::thread saver(
      [&]
      {
        while (!stop.load())
        {
          Saved s;
          if (inst.Save(&s) != LV2_STATE_SUCCESS || (s.bytes != both[0].bytes &&
                                                     s.bytes != both[1].bytes))
            ++mixed;
          ++saves;
        }
      });
  for (int b = 0; b < 20000 || saves.load() < 200; ++b)
  {
    inst.Control("swap") = inst.Control("mono") = static_cast<float>(b % 2);
    Render(inst, input, 64);
  }
  stop = true;
  saver.join();
  EXPECT_EQ(mixed.load(), 0);
}

// A host that breaks LV2's threading rules by restoring beside run(): no
// crash, and every block is either the ports' rendering or silence.
TEST_F(Lv2Host, RestoreBesideRunNeverCrashesOrMixes)
{
  Instance inst(quorvane, 2, 64);
  Saved on;
  {
    Instance swapped(quorvane, 1);
    swapped.Control("swap") = swapped.Control("mono") = 1.0f;
    swapped.Run(0);
    ASSERT_EQ(swapped.Save(&on), LV2_STATE_SUCCESS);
  }
  const Signal input = Noise(64, 13);
  const Signal silence(2, std::vector<float>(64, 0.0f));
  std::atomic<bool> stop{false};
  std::thread host(
      [&]
      {
        while (!stop.load())
          inst.Restore(on);
      });
  int other = 0;
  for (int b = 0; b < 2000; ++b)
  {
    const Signal out = Render(inst, input, 64);
    other += out != input && out != silence;
  }
  stop = true;
  host.join();
  EXPECT_EQ(other, 0);
}
} // namespace
