// What a benchmark's figures depend on beyond the code: the processor's model
// and vector flags, and the instruction-set level the framework's sample
// loops ran at. TakeSimdLevelFlag lets one program be run at every level the
// machine has (--simd=baseline|avx2|avx512), so levels compare on one build.
#pragma once

#include <benchmark/benchmark.h>

#include "simdclones.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

namespace qvbench
{
// The value of the first /proc/cpuinfo line whose key is key, or "".
inline std::string CpuInfoValue(const char* key)
{
  std::ifstream in("/proc/cpuinfo");
  std::string line;
  const size_t keyLen = std::strlen(key);
  while (std::getline(in, line))
  {
    if (line.compare(0, keyLen, key) != 0) continue;
    const size_t colon = line.find(':');
    if (colon == std::string::npos) continue;
    const size_t start = line.find_first_not_of(" \t", colon + 1);
    return start == std::string::npos ? std::string() : line.substr(start);
  }
  return {};
}

// The flags that decide which loops run: SSE and AVX families and FMA.
inline std::string VectorFlags()
{
  std::istringstream all(CpuInfoValue("flags"));
  std::string flag, out;
  while (all >> flag)
    if (flag.compare(0, 3, "sse") == 0 || flag.compare(0, 3, "avx") == 0 || flag == "fma")
      out += (out.empty() ? "" : " ") + flag;
  return out;
}

inline const char* SimdLevelName(WDL_SimdLevel level)
{
  switch (level)
  {
  case WDL_SIMD_BASELINE:
    return "baseline";
  case WDL_SIMD_AVX2:
    return "avx2";
  case WDL_SIMD_AVX512:
    return "avx512";
  }
  return "?";
}

// Takes --simd=LEVEL out of argv and lowers the sample loops to it. False,
// with one line on stderr, for an unknown level or one this processor cannot
// run. Then records the model, the flags and the level in the context.
inline bool TakeSimdLevelFlag(int& argc, char** argv)
{
  static const char kPrefix[] = "--simd=";
  int out = 1;
  bool ok = true;
  for (int i = 1; i < argc; ++i)
  {
    if (std::strncmp(argv[i], kPrefix, sizeof kPrefix - 1) != 0)
    {
      argv[out++] = argv[i];
      continue;
    }
    const char* name = argv[i] + sizeof kPrefix - 1;
    bool known = false;
    for (WDL_SimdLevel level : {WDL_SIMD_BASELINE, WDL_SIMD_AVX2, WDL_SIMD_AVX512})
      if (std::strcmp(name, SimdLevelName(level)) == 0)
      {
        known = true;
        if (!WDL_SetSimdLevel(level))
        {
          std::fprintf(stderr, "--simd=%s: this processor runs at most %s\n", name,
                       SimdLevelName(WDL_BestSimdLevel()));
          ok = false;
        }
      }
    if (!known)
    {
      std::fprintf(stderr, "--simd=%s: unknown level (baseline, avx2 or avx512)\n", name);
      ok = false;
    }
  }
  argc = out;
  argv[argc] = nullptr;
  benchmark::AddCustomContext("cpu model", CpuInfoValue("model name"));
  benchmark::AddCustomContext("cpu vector flags", VectorFlags());
  benchmark::AddCustomContext("sample loops at", SimdLevelName(WDL_GetSimdLevel()));
  return ok;
}
} // namespace qvbench
