// The host's render call (the native render procedure over host-built
// contexts) against a bare single-precision loop doing the same swap/mono
// work on the same buffers, and against the same data path written by hand
// (float to double, the single-precision work between doubles, double to
// float; one plain loop per stage): the floor of this design's data
// movement. Render call over hand-written is the share of the framework's
// own bookkeeping (bridge, locking, attaching, dispatch) per call.

#include "HostedEffect.h"
#include "Quorvane.h"

#include <benchmark/benchmark.h>

#include "simdclones.h"

#include <memory>
#include <vector>

namespace
{
struct Buffers
{
  // Each kind of buffer lives in one block with a stride that is no
  // multiple of 4 KiB, so that loads and stores of different buffers do not
  // falsely alias (which made the 1024-frame bare loop look ten times slower
  // than the 512-frame one).
  explicit Buffers(int n)
      : stride(static_cast<size_t>(n) + 40), floats(4 * stride), doubles(4 * stride), l(floats.data()),
        r(l + stride), ol(r + stride), orr(ol + stride), dl(doubles.data()), dr(dl + stride),
        dol(dr + stride), dor(dol + stride)
  {
    for (int i = 0; i < n; ++i)
    {
      l[i] = static_cast<float>(i % 97) / 97.0f - 0.5f;
      r[i] = static_cast<float>(i % 89) / 89.0f - 0.5f;
    }
  }
  size_t stride;
  std::vector<float> floats;
  std::vector<double> doubles; // the hand-written path's double stage
  float *l, *r, *ol, *orr;
  double *dl, *dr, *dol, *dor;
};

// Mode 0: swap, mode 1: mono (the average). One instance on the stand-in
// host, its switch set by a host update, rendered by StaticRenderAudio.
void BM_StaticRenderAudio(benchmark::State& state)
{
  const int frames = static_cast<int>(state.range(0));
  const bool mono = state.range(1) == 1;
  aaxhost::RenderLayout layout;
  layout.maxFrames = frames;
  aaxhost::HostedEffect fx(
      reinterpret_cast<aaxhost::CreationProc>(&IPlugAAX::Create),
      reinterpret_cast<aaxhost::NativeRenderProc>(&AAX_CIPlugParameters::StaticRenderAudio),
      layout);
  if (!fx.Valid())
  {
    state.SkipWithError("instance not initialised");
    return;
  }
  fx.Update(mono ? "2" : "1", 1.0);
  // A workstation answers the render call's stem-format queries without
  // keeping a record of them; the stand-in host's call log would be measured.
  fx.Host().Controller()->Calls().SetEnabled(false);
  Buffers b(frames);
  float* ins[] = {b.l, b.r};
  float* outs[] = {b.ol, b.orr};
  fx.Context().Field(aaxhost::kFieldAudioIn) = ins;
  fx.Context().Field(aaxhost::kFieldAudioOut) = outs;
  fx.Context().SetFrames(frames);
  aaxhost::RenderBatch batch{&fx.Context()};
  for (auto _ : state)
  {
    batch.Run(fx.RenderProc());
    benchmark::DoNotOptimize(b.ol);
    benchmark::ClobberMemory();
  }
  state.counters["frames/s"] =
      benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsIterationInvariantRate);
}

WDL_SIMD_CLONES void BareLoop(const float* __restrict l, const float* __restrict r, float* __restrict ol,
              float* __restrict orr, int n, bool mono)
{
  if (mono)
    for (int i = 0; i < n; ++i) ol[i] = orr[i] = 0.5f * (r[i] + l[i]);
  else
    for (int i = 0; i < n; ++i)
    {
      ol[i] = r[i];
      orr[i] = l[i];
    }
}

WDL_SIMD_CLONES void ToDouble(double* __restrict d, const float* __restrict s, int n)
{
  for (int i = 0; i < n; ++i) d[i] = static_cast<double>(s[i]);
}
WDL_SIMD_CLONES void ToFloat(float* __restrict d, const double* __restrict s, int n)
{
  for (int i = 0; i < n; ++i) d[i] = static_cast<float>(s[i]);
}
// The plug-in's processing: doubles in and out, the work in single precision.
WDL_SIMD_CLONES void SingleBetweenDoubles(const double* __restrict l, const double* __restrict r,
                                          double* __restrict ol, double* __restrict orr, int n, bool mono)
{
  if (mono)
    for (int i = 0; i < n; ++i)
      ol[i] = orr[i] = static_cast<double>(0.5f * (static_cast<float>(r[i]) + static_cast<float>(l[i])));
  else
    for (int i = 0; i < n; ++i)
    {
      ol[i] = static_cast<double>(static_cast<float>(r[i]));
      orr[i] = static_cast<double>(static_cast<float>(l[i]));
    }
}

void BM_HandWrittenDataPath(benchmark::State& state)
{
  const int frames = static_cast<int>(state.range(0));
  const bool mono = state.range(1) == 1;
  Buffers b(frames);
  for (auto _ : state)
  {
    ToDouble(b.dl, b.l, frames);
    ToDouble(b.dr, b.r, frames);
    SingleBetweenDoubles(b.dl, b.dr, b.dol, b.dor, frames, mono);
    ToFloat(b.ol, b.dol, frames);
    ToFloat(b.orr, b.dor, frames);
    benchmark::DoNotOptimize(b.ol);
    benchmark::ClobberMemory();
  }
  state.counters["frames/s"] =
      benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsIterationInvariantRate);
}

void BM_BareSingleLoop(benchmark::State& state)
{
  const int frames = static_cast<int>(state.range(0));
  const bool mono = state.range(1) == 1;
  Buffers b(frames);
  for (auto _ : state)
  {
    BareLoop(b.l, b.r, b.ol, b.orr, frames, mono);
    benchmark::DoNotOptimize(b.ol);
    benchmark::ClobberMemory();
  }
  state.counters["frames/s"] =
      benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsIterationInvariantRate);
}
} // namespace

const std::vector<int64_t> kBlocks = {1, 32, 64, 512, 1024};
BENCHMARK(BM_StaticRenderAudio)->ArgsProduct({kBlocks, {0, 1}})->ArgNames({"block", "mono"});
BENCHMARK(BM_HandWrittenDataPath)->ArgsProduct({kBlocks, {0, 1}})->ArgNames({"block", "mono"});
BENCHMARK(BM_BareSingleLoop)->ArgsProduct({kBlocks, {0, 1}})->ArgNames({"block", "mono"});

int main(int argc, char** argv)
{
  benchmark::AddCustomContext("compiler flags", QV_BENCH_FLAGS);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
