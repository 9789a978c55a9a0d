// What the checks of every format share: the block size announced to a
// plug-in, test signals, comparing outputs, and which probes a render is
// counted with. Nothing here knows a plug-in format.
#pragma once

#include "Validate.h"

#include <string>
#include <vector>

namespace aaxtool
{
inline constexpr int kAnnounced = 1024; // the block size announced to the plug-in

std::string Num(double v); // "%.9g"

using Signal = std::vector<std::vector<float>>; // per channel

// Finite, full-scale noise with a few exact zeros and full-scale samples.
Signal Noise(CheckContext& ctx, int channels, int frames);

// What the render calls of a check count, on the rendering thread (Probes.h).
enum Probe : unsigned
{
  kProbeNone = 0,
  kProbeAllocations = 1,
  kProbeLocks = 2,
  kProbeSystemCalls = 4,
};

// Fail naming the first NaN, infinity or denormal, or the first difference.
void ExpectClean(const Signal& out, const std::string& where);
void ExpectEqual(const Signal& a, const Signal& b, const std::string& where);
} // namespace aaxtool
