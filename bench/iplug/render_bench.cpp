// The host's render call (the native render procedure over host-built
// contexts) against a bare single-precision loop doing the same swap/mono
// work on the same buffers, so the overhead of the bridge, the conversions,
// attaching and locking shows as a ratio.

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
  explicit Buffers(int n) : l(n), r(n), ol(n), orr(n)
  {
    for (int i = 0; i < n; ++i)
    {
      l[i] = static_cast<float>(i % 97) / 97.0f - 0.5f;
      r[i] = static_cast<float>(i % 89) / 89.0f - 0.5f;
    }
  }
  std::vector<float> l, r, ol, orr;
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
  Buffers b(frames);
  float* ins[] = {b.l.data(), b.r.data()};
  float* outs[] = {b.ol.data(), b.orr.data()};
  fx.Context().Field(aaxhost::kFieldAudioIn) = ins;
  fx.Context().Field(aaxhost::kFieldAudioOut) = outs;
  fx.Context().SetFrames(frames);
  aaxhost::RenderBatch batch{&fx.Context()};
  for (auto _ : state)
  {
    batch.Run(fx.RenderProc());
    benchmark::DoNotOptimize(b.ol.data());
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

void BM_BareSingleLoop(benchmark::State& state)
{
  const int frames = static_cast<int>(state.range(0));
  const bool mono = state.range(1) == 1;
  Buffers b(frames);
  for (auto _ : state)
  {
    BareLoop(b.l.data(), b.r.data(), b.ol.data(), b.orr.data(), frames, mono);
    benchmark::DoNotOptimize(b.ol.data());
    benchmark::ClobberMemory();
  }
  state.counters["frames/s"] =
      benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsIterationInvariantRate);
}
} // namespace

BENCHMARK(BM_StaticRenderAudio)->ArgsProduct({{32, 64, 512, 1024}, {0, 1}})->ArgNames({"block", "mono"});
BENCHMARK(BM_BareSingleLoop)->ArgsProduct({{32, 64, 512, 1024}, {0, 1}})->ArgNames({"block", "mono"});

int main(int argc, char** argv)
{
  benchmark::AddCustomContext("compiler flags", QV_BENCH_FLAGS);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
