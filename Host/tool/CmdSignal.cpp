// aaxhost testsignal: the built-in stereo test signal, so a first run needs
// no audio file of the user's: left a 441 Hz sine at 0.5, right an 882 Hz
// sine at 0.25 (distinct in pitch and level, so an exchange shows).

#include "AudioFile.h"
#include "Commands.h"
#include "Paths.h"
#include "ToolError.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace aaxtool
{
int RunSignal(const SignalOptions& o)
{
  if (!(o.seconds > 0 && o.seconds <= 3600))
    Usage("--seconds " + std::to_string(o.seconds) + ": more than 0 and at most 3600");
  RequireOutputName(o.output, "testsignal");
  AudioFormat fmt;
  fmt.channels = 2;
  fmt.sampleRate = o.rate;
  const int major = FormatFromExtension(o.output);
  fmt.format = (major ? major : SF_FORMAT_WAV) | SF_FORMAT_FLOAT;
  AudioWriter out(o.output, fmt);
  const int64_t frames = std::llround(o.seconds * o.rate);
  constexpr double kPi = 3.14159265358979323846;
  std::vector<float> buf(2 * 4096);
  for (int64_t pos = 0; pos < frames;)
  {
    const int64_t n = std::min<int64_t>(4096, frames - pos);
    for (int64_t f = 0; f < n; ++f)
    {
      const double t = double(pos + f) / o.rate;
      const float left = static_cast<float>(0.5 * std::sin(2.0 * kPi * 441.0 * t));
      const float right = static_cast<float>(0.25 * std::sin(2.0 * kPi * 882.0 * t));
      buf[size_t(2 * f)] = o.swapped ? right : left;
      buf[size_t(2 * f + 1)] = o.swapped ? left : right;
    }
    out.Write(buf.data(), n);
    pos += n;
  }
  out.Commit();
  std::printf("%s: %lld frames at %d Hz, left %s, right %s\n", o.output.c_str(),
              static_cast<long long>(frames), o.rate,
              o.swapped ? "882 Hz at 0.25" : "441 Hz at 0.5",
              o.swapped ? "441 Hz at 0.5" : "882 Hz at 0.25");
  return kExitOK;
}
} // namespace aaxtool
