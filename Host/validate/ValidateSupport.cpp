// What the checks of every format share.
#include "ValidateSupport.h"

#include "ToolError.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>

namespace aaxtool
{
std::string Num(double v)
{
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.9g", v);
  return buf;
}

Signal Noise(CheckContext& ctx, int channels, int frames)
{
  Signal s(static_cast<size_t>(channels), std::vector<float>(static_cast<size_t>(frames)));
  std::uniform_real_distribution<float> d(-1.0f, 1.0f);
  for (auto& ch : s)
    for (int i = 0; i < frames; ++i)
      ch[static_cast<size_t>(i)] = i % 97 == 0 ? 0.0f : i % 101 == 0 ? 1.0f : d(ctx.rng);
  return s;
}

void ExpectClean(const Signal& out, const std::string& where)
{
  for (size_t c = 0; c < out.size(); ++c)
    for (size_t i = 0; i < out[c].size(); ++i)
    {
      const float v = out[c][i];
      const char* what = std::isnan(v)                        ? "NaN"
                         : std::isinf(v)                      ? "infinity"
                         : std::fpclassify(v) == FP_SUBNORMAL ? "denormal"
                                                              : nullptr;
      if (what)
        Fail(where + ": " + what + " at output " + std::to_string(c) + " frame " +
             std::to_string(i));
    }
}

void ExpectEqual(const Signal& a, const Signal& b, const std::string& where)
{
  for (size_t c = 0; c < a.size(); ++c)
    for (size_t i = 0; i < a[c].size(); ++i)
      if (std::memcmp(&a[c][i], &b[c][i], sizeof(float)) != 0)
        Fail(where + ": output " + std::to_string(c) + " frame " + std::to_string(i) + " is " +
             Num(b[c][i]) + ", expected " + Num(a[c][i]));
}
} // namespace aaxtool
