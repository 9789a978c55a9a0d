// The chunk data round trip the effect-parameters base makes for its state:
// build a list of N double entries, write it into a chunk record, load it
// again and read every value back in the order written. The per-entry figure
// (ns_per_entry) must not grow with N: in-order lookups cost one comparison
// each, thanks to the last-found index.
#include "AAX_CChunkDataParser.h"

#include <benchmark/benchmark.h>

#include <ctime>
#include <string>
#include <vector>

namespace
{
double ThreadCpuNanoseconds()
{
  timespec ts{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return ts.tv_sec * 1e9 + ts.tv_nsec;
}

void ChunkRoundTrip(benchmark::State& state)
{
  const int n = static_cast<int>(state.range(0));
  std::vector<std::string> names;
  for (int i = 0; i < n; ++i) names.push_back(std::to_string(i + 1)); // parameter identifiers
  AAX_CChunkDataParser writer;
  AAX_CChunkDataParser reader;
  std::vector<uint8_t> record;
  double sum = 0;
  const double start = ThreadCpuNanoseconds();
  for (auto _ : state)
  {
    writer.Clear();
    for (int i = 0; i < n; ++i) writer.AddDouble(names[i].c_str(), i * 0.25);
    record.assign(kAAX_SPlugInChunkHeaderSize + writer.GetChunkDataSize(), 0);
    auto* chunk = reinterpret_cast<AAX_SPlugInChunk*>(record.data());
    writer.GetChunkData(chunk);
    reader.LoadChunk(chunk, record.size());
    for (int i = 0; i < n; ++i)
    {
      double v = 0;
      reader.FindDouble(names[i].c_str(), &v);
      sum += v;
    }
  }
  benchmark::DoNotOptimize(sum);
  // Thread CPU time, as the Time/CPU columns' CPU figure, per entry handled.
  state.counters["ns_per_entry"] =
      (ThreadCpuNanoseconds() - start) / (static_cast<double>(state.iterations()) * n);
}
BENCHMARK(ChunkRoundTrip)->Arg(16)->Arg(256)->Arg(4096);

// The lookups alone: every value of a loaded chunk read back in order.
void InOrderLookups(benchmark::State& state)
{
  const int n = static_cast<int>(state.range(0));
  std::vector<std::string> names;
  AAX_CChunkDataParser parser;
  for (int i = 0; i < n; ++i)
  {
    names.push_back(std::to_string(i + 1));
    parser.AddDouble(names.back().c_str(), i * 0.25);
  }
  double sum = 0;
  const double start = ThreadCpuNanoseconds();
  for (auto _ : state)
  {
    for (int i = 0; i < n; ++i)
    {
      double v = 0;
      parser.FindDouble(names[i].c_str(), &v);
      sum += v;
    }
  }
  benchmark::DoNotOptimize(sum);
  state.counters["ns_per_entry"] =
      (ThreadCpuNanoseconds() - start) / (static_cast<double>(state.iterations()) * n);
}
BENCHMARK(InOrderLookups)->Arg(16)->Arg(256)->Arg(4096);
} // namespace

int main(int argc, char** argv)
{
  benchmark::AddCustomContext("compiler flags", QV_BENCH_FLAGS);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
