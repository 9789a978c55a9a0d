#include "Diff.h"

#include "AudioFile.h"

#include <algorithm>
#include <cmath>

namespace aaxtool
{
DiffResult DiffFiles(const std::string& pathA, const std::string& pathB)
{
  AudioReader a(pathA), b(pathB);
  DiffResult r;
  r.channelsA = a.Format().channels;
  r.channelsB = b.Format().channels;
  r.rateA = a.Format().sampleRate;
  r.rateB = b.Format().sampleRate;
  if (r.channelsA != r.channelsB)
    r.mismatches.push_back("channel counts differ (" + std::to_string(r.channelsA) + " and " +
                           std::to_string(r.channelsB) + ")");
  if (r.rateA != r.rateB)
    r.mismatches.push_back("sample rates differ (" + std::to_string(r.rateA) + " Hz and " +
                           std::to_string(r.rateB) + " Hz)");

  const int common = std::min(r.channelsA, r.channelsB);
  constexpr int64_t kBlock = 16384;
  std::vector<float> bufA(static_cast<size_t>(kBlock * r.channelsA));
  std::vector<float> bufB(static_cast<size_t>(kBlock * r.channelsB));
  double sumSq = 0.0;
  for (;;)
  {
    const int64_t na = a.Read(bufA.data(), kBlock);
    const int64_t nb = b.Read(bufB.data(), kBlock);
    const int64_t n = std::min(na, nb);
    for (int64_t f = 0; f < n; ++f)
      for (int c = 0; c < common; ++c)
      {
        const double d = std::fabs(double(bufA[size_t(f * r.channelsA + c)]) -
                                   double(bufB[size_t(f * r.channelsB + c)]));
        sumSq += d * d;
        if (d > 0 && r.firstDiffer < 0) r.firstDiffer = r.framesCompared + f;
        if (d > r.maxAbs)
        {
          r.maxAbs = d;
          r.maxFrame = r.framesCompared + f;
          r.maxChannel = c;
        }
      }
    r.framesCompared += n;
    r.framesA += na;
    r.framesB += nb;
    if (na < kBlock || nb < kBlock)
    {
      // Count what remains of the longer file.
      for (int64_t k = na == kBlock ? kBlock : 0; k > 0; r.framesA += k)
        k = a.Read(bufA.data(), kBlock);
      for (int64_t k = nb == kBlock ? kBlock : 0; k > 0; r.framesB += k)
        k = b.Read(bufB.data(), kBlock);
      break;
    }
  }
  if (r.framesA != r.framesB)
    r.mismatches.push_back("lengths differ (" + std::to_string(r.framesA) + " and " +
                           std::to_string(r.framesB) + " frames)");
  const double count = double(r.framesCompared) * common;
  r.rms = count > 0 ? std::sqrt(sumSq / count) : 0.0;
  return r;
}
} // namespace aaxtool
