// The host's render call (the native render procedure over host-built
// contexts) against a bare single-precision loop doing the same swap/mono
// work on the same buffers, and against the same data path written by hand
// (float to double, the single-precision work between doubles, double to
// float; one plain loop per stage): the floor of this design's data
// movement. Render call over hand-written is the share of the framework's
// own bookkeeping (bridge, locking, attaching, dispatch) per call.
//
// After the usual listing the program prints one table side by side: per
// block and mode the three figures, the render call's ratio to the floor and
// the floor's work over scattered double buffers (below); then the fixed
// part per call, the intercept of a straight line through the figures at
// blocks 1, 32 and 64 (where workstations run).
//
// --simd=baseline|avx2|avx512 runs every loop here (the framework's and the
// floor's) at that instruction-set level; the context lists the processor's
// model and vector flags.

#include "HostedEffect.h"
#include "Quorvane.h"

#include <benchmark/benchmark.h>

#include "simdclones.h"
#include "MachineContext.h"
#include "SummaryReporter.h"

#include <cstdio>
#include <cstring>
#include <string>
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
  // Blocks beyond the wrapper's default of 1024 frames need the plug-in's
  // block size to match, as a host with larger blocks would set it.
  AAX_CIPlugParameters* params = nullptr;
  std::memcpy(&params, fx.Context().PrivateBlock(), sizeof params);
  IPlugAAX* plug = static_cast<IPlugAAX*>(params);
  if (plug->GetBlockSize() < frames) plug->SetBlockSize(frames);
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

// The same instruction-set levels as the framework's loops, so that the
// comparison is fair.
WDL_SIMD_INLINE void BareLoopImpl(const float* __restrict l, const float* __restrict r, float* __restrict ol,
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
WDL_SIMD_FUNCTION(void, BareLoop,
                  (const float* __restrict l, const float* __restrict r, float* __restrict ol,
                   float* __restrict orr, int n, bool mono),
                  (l, r, ol, orr, n, mono), BareLoopImpl)

WDL_SIMD_INLINE void ToDoubleImpl(double* __restrict d, const float* __restrict s, int n)
{
  for (int i = 0; i < n; ++i) d[i] = static_cast<double>(s[i]);
}
WDL_SIMD_FUNCTION(void, ToDouble, (double* __restrict d, const float* __restrict s, int n), (d, s, n),
                  ToDoubleImpl)
WDL_SIMD_INLINE void ToFloatImpl(float* __restrict d, const double* __restrict s, int n)
{
  for (int i = 0; i < n; ++i) d[i] = static_cast<float>(s[i]);
}
WDL_SIMD_FUNCTION(void, ToFloat, (float* __restrict d, const double* __restrict s, int n), (d, s, n),
                  ToFloatImpl)
// The plug-in's processing: doubles in and out, the work in single precision.
WDL_SIMD_INLINE void SingleBetweenDoublesImpl(const double* __restrict l, const double* __restrict r,
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
WDL_SIMD_FUNCTION(void, SingleBetweenDoubles,
                  (const double* __restrict l, const double* __restrict r, double* __restrict ol,
                   double* __restrict orr, int n, bool mono),
                  (l, r, ol, orr, n, mono), SingleBetweenDoublesImpl)

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

// The layout experiment behind the base's scratch block: the floor's work
// with its double stage in four separately allocated vectors of at least
// 1024 doubles, as the base once kept its scratch buffers (malloc puts them
// 16 bytes apart modulo 4 KiB, 16-byte aligned).
void BM_HandWrittenSeparateVectors(benchmark::State& state)
{
  const int frames = static_cast<int>(state.range(0));
  const bool mono = state.range(1) == 1;
  Buffers b(frames);
  const size_t cap = static_cast<size_t>(frames < 1024 ? 1024 : frames);
  std::vector<double> dl(cap), dr(cap), dol(cap), dor(cap);
  for (auto _ : state)
  {
    ToDouble(dl.data(), b.l, frames);
    ToDouble(dr.data(), b.r, frames);
    SingleBetweenDoubles(dl.data(), dr.data(), dol.data(), dor.data(), frames, mono);
    ToFloat(b.ol, dol.data(), frames);
    ToFloat(b.orr, dor.data(), frames);
    benchmark::DoNotOptimize(b.ol);
    benchmark::ClobberMemory();
  }
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

const std::vector<int64_t> kBlocks = {1, 32, 64, 512, 1024, 4096};
BENCHMARK(BM_StaticRenderAudio)->ArgsProduct({kBlocks, {0, 1}})->ArgNames({"block", "mono"});
BENCHMARK(BM_HandWrittenDataPath)->ArgsProduct({kBlocks, {0, 1}})->ArgNames({"block", "mono"});
BENCHMARK(BM_HandWrittenSeparateVectors)
    ->ArgsProduct({kBlocks, {0, 1}})
    ->ArgNames({"block", "mono"});
BENCHMARK(BM_BareSingleLoop)->ArgsProduct({kBlocks, {0, 1}})->ArgNames({"block", "mono"});

namespace
{
// Per block and mode the three figures, the ratio to the floor, and the
// fixed part per call.
class RenderSummary : public qvbench::SummaryReporter
{
public:
  using SummaryReporter::SummaryReporter;

protected:
  void PrintSummary(std::FILE* out) const override
  {
    std::fprintf(out,
                 "\nRender call per block, CPU ns per call, loops at %s: through "
                 "StaticRenderAudio, the same data path written by hand (the floor) and the "
                 "bare loop\n",
                 qvbench::SimdLevelName(WDL_GetSimdLevel()));
    std::fprintf(out, "%6s %5s %10s %10s %8s %9s %9s %10s\n", "block", "mono", "render", "floor",
                 "bare", "x floor", "- floor", "scattered");
    for (int mono = 0; mono <= 1; ++mono)
      for (int64_t block : kBlocks)
      {
        const double render = At("BM_StaticRenderAudio", block, mono);
        const double floor = At("BM_HandWrittenDataPath", block, mono);
        const double bare = At("BM_BareSingleLoop", block, mono);
        const double scattered = At("BM_HandWrittenSeparateVectors", block, mono);
        if (render < 0.0 && floor < 0.0 && bare < 0.0) continue;
        std::fprintf(out, "%6lld %5d %10.1f %10.1f %8.1f %9.2f %9.1f %10.1f\n",
                     static_cast<long long>(block), mono, render, floor, bare,
                     render > 0.0 && floor > 0.0 ? render / floor : 0.0,
                     render > 0.0 && floor > 0.0 ? render - floor : 0.0, scattered);
      }
    for (int mono = 0; mono <= 1; ++mono)
    {
      const double render = Intercept("BM_StaticRenderAudio", mono);
      const double floor = Intercept("BM_HandWrittenDataPath", mono);
      if (render < 0.0 || floor < 0.0) continue;
      std::fprintf(out,
                   "fixed part per call (intercept over blocks 1, 32, 64), %s: render %.1f ns, floor "
                   "%.1f ns, framework's own %.1f ns\n",
                   mono ? "mono" : "swap", render, floor, render - floor);
    }
  }

private:
  double At(const char* family, int64_t block, int mono) const
  {
    return Get(std::string(family) + "/block:" + std::to_string(block) + "/mono:" + std::to_string(mono));
  }

  // Least-squares line through (block, ns) at the small blocks; its value at
  // block 0 is what a call costs before it moves any sample.
  double Intercept(const char* family, int mono) const
  {
    double n = 0, sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (int64_t block : {1, 32, 64})
    {
      const double y = At(family, block, mono);
      if (y < 0.0) return -1.0;
      const double x = static_cast<double>(block);
      n += 1;
      sx += x;
      sy += y;
      sxx += x * x;
      sxy += x * y;
    }
    const double slope = (n * sxy - sx * sy) / (n * sxx - sx * sx);
    return (sy - slope * sx) / n;
  }
};
} // namespace

int main(int argc, char** argv)
{
  if (!qvbench::TakeSimdLevelFlag(argc, argv)) return 2;
  return qvbench::RunWithSummary<RenderSummary>(argc, argv, QV_BENCH_FLAGS);
}
