// The console listing as usual, then a program's own side-by-side table once
// every run is in. A program derives from SummaryReporter, prints its table
// in PrintSummary from the figures collected here, and hands its type to
// RunWithSummary from main.
//
// With repetitions the median stands for a case (the minimum of the
// repetitions when only single runs are reported). Figures are CPU time: on
// a shared machine that leaves out the time the thread waits for a core.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <unistd.h>
#include <vector>

namespace qvbench
{
class SummaryReporter : public benchmark::ConsoleReporter
{
public:
  using ConsoleReporter::ConsoleReporter;

  void ReportRuns(const std::vector<Run>& runs) override
  {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs)
    {
      if (run.error_occurred) continue;
      Figure& f = mFigures[run.run_name.str()];
      const double ns = run.GetAdjustedCPUTime();
      if (run.run_type == Run::RT_Aggregate)
      {
        if (run.aggregate_name == "median") f.median = ns;
      }
      else if (f.minimum < 0.0 || ns < f.minimum)
        f.minimum = ns;
    }
  }

  void Finalize() override
  {
    ConsoleReporter::Finalize();
    PrintSummary(stdout);
  }

protected:
  virtual void PrintSummary(std::FILE* out) const = 0;

  // CPU ns per iteration of the benchmark with this full name (as listed,
  // without an aggregate suffix); -1 when it did not run.
  double Get(const std::string& name) const
  {
    auto it = mFigures.find(name);
    if (it == mFigures.end()) return -1.0;
    return it->second.median >= 0.0 ? it->second.median : it->second.minimum;
  }

private:
  struct Figure
  {
    double median = -1.0, minimum = -1.0;
  };
  std::map<std::string, Figure> mFigures;
};

inline bool HasFlag(int argc, char** argv, const char* flag)
{
  for (int i = 1; i < argc; ++i)
    if (std::strcmp(argv[i], flag) == 0) return true;
  return false;
}

inline bool HasPrefix(int argc, char** argv, const char* prefix)
{
  for (int i = 1; i < argc; ++i)
    if (std::strncmp(argv[i], prefix, std::strlen(prefix)) == 0) return true;
  return false;
}

// The whole of a benchmark program's main: the compile flags in the context,
// the console listing with the summary table, or the library's own reporter
// (and no table) when another output format is asked for.
template <class Reporter>
int RunWithSummary(int argc, char** argv, const char* compileFlags)
{
  // Read before Initialize, which takes the library's flags out of argv.
  const bool tabular = HasFlag(argc, argv, "--benchmark_counters_tabular=true") ||
                       HasFlag(argc, argv, "--benchmark_counters_tabular");
  const bool console = !HasPrefix(argc, argv, "--benchmark_format=") ||
                       HasFlag(argc, argv, "--benchmark_format=console");
  const bool color = isatty(fileno(stdout)) && !HasFlag(argc, argv, "--benchmark_color=false");
  benchmark::AddCustomContext("compiler flags", compileFlags);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  if (console)
  {
    int options = benchmark::ConsoleReporter::OO_None;
    if (tabular) options |= benchmark::ConsoleReporter::OO_Tabular;
    if (color) options |= benchmark::ConsoleReporter::OO_Color;
    Reporter reporter(static_cast<benchmark::ConsoleReporter::OutputOptions>(options));
    benchmark::RunSpecifiedBenchmarks(&reporter);
  }
  else
    benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
} // namespace qvbench
