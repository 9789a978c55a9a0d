// Comparing two audio files sample by sample (as float, whatever the files'
// sample types), as a render check needs it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace aaxtool
{
struct DiffResult
{
  int64_t framesA = 0, framesB = 0, framesCompared = 0;
  int channelsA = 0, channelsB = 0;
  int rateA = 0, rateB = 0;
  double maxAbs = 0.0;   // largest absolute difference
  int64_t maxFrame = -1; // where (-1: no difference)
  int maxChannel = -1;
  double rms = 0.0;         // of the difference over every compared sample
  int64_t firstDiffer = -1; // first frame whose samples differ at all (-1: none)
  // Lengths, rates and channel counts are differences of their own.
  std::vector<std::string> mismatches;

  // Same shape and no sample further apart than tolerance.
  bool Within(double tolerance) const { return mismatches.empty() && maxAbs <= tolerance; }
};

// Reads both files to the end. Fails naming a file that cannot be read. [any]
DiffResult DiffFiles(const std::string& a, const std::string& b);
} // namespace aaxtool
